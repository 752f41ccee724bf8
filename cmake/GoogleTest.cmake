# GoogleTest for the tests and the README's example: Debian's libgtest for the
# new string ABI; for the old one, GoogleTest's own sources (package
# googletest), built here with the library's flavour, since Debian builds its
# libraries with the new ABI only.
if(QX_SYSEVENT_CXX11_ABI)
    find_package(GTest REQUIRED)
    return()
endif()
set(QX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources (package googletest)")
if(NOT EXISTS ${QX_GTEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "the old string ABI's tests need GoogleTest's sources in "
        "${QX_GTEST_SOURCE_DIR} (package googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QX_GTEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL SYSTEM)
target_compile_definitions(gtest PUBLIC ${QX_STRING_ABI_DEFINITION})
