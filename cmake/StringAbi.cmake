# Which of libstdc++'s two string ABIs the library and the stand-in use.
# Processes built by GCC before 5, or by a toolchain that kept the system's old
# libstdc++ (Red Hat's developer toolsets), pass std::string and std::list in
# the old one: other layouts and other mangled names. The definition goes into
# the interface of every target and .pc a consumer uses, so that a process is
# built with the flavour of the library it links, and its baselines are the
# flavour's own (abi/*-oldabi.* for the old one).
option(QX_SYSEVENT_CXX11_ABI "Use libstdc++'s new (C++11) string ABI; OFF: the old one" ON)
if(QX_SYSEVENT_CXX11_ABI)
    set(QX_STRING_ABI_DEFINITION _GLIBCXX_USE_CXX11_ABI=1)
    set(QX_OTHER_STRING_ABI_DEFINITION _GLIBCXX_USE_CXX11_ABI=0)
    set(QX_ABI_BASELINE_SUFFIX "")
else()
    set(QX_STRING_ABI_DEFINITION _GLIBCXX_USE_CXX11_ABI=0)
    set(QX_OTHER_STRING_ABI_DEFINITION _GLIBCXX_USE_CXX11_ABI=1)
    set(QX_ABI_BASELINE_SUFFIX -oldabi)
    # Debian builds these with the new ABI only: finding one fails here, so a
    # target that needs one goes inside if(QX_SYSEVENT_CXX11_ABI). GoogleTest
    # comes from its sources instead (cmake/GoogleTest.cmake).
    foreach(package GTest rapidcheck benchmark)
        set(CMAKE_DISABLE_FIND_PACKAGE_${package} TRUE)
    endforeach()
endif()
message(STATUS "String ABI: -D${QX_STRING_ABI_DEFINITION}")
