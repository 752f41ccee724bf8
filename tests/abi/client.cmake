# One caller built only from the pinned declarations, over a platform that it
# defines itself. It links the library by file, so none of the repository's
# include directories reach it, and exports its definitions, to which the
# library's platform symbols bind.
add_executable(abi_client_test client/own_platform.cpp client/admin_test.cpp
    client/security_test.cpp client/events_test.cpp client/reload_test.cpp)
target_include_directories(abi_client_test PRIVATE pinned client)
add_dependencies(abi_client_test qx_sysevent)
target_link_libraries(abi_client_test PRIVATE $<TARGET_FILE:qx_sysevent> qx::ace GTest::gtest_main)
set_target_properties(abi_client_test PROPERTIES ENABLE_EXPORTS ON
    BUILD_RPATH $<TARGET_FILE_DIR:qx_sysevent>)
gtest_discover_tests(abi_client_test TEST_PREFIX abi. DISCOVERY_MODE PRE_TEST)
