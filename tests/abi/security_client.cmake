# A caller of CUserSecurityMgr compiled from the pinned declarations only,
# with the trace library, database utility and node query defined by itself.
# It links the library by file, so no include directory of the repository
# reaches it; its own platform definitions take the place of the stand-in's.
add_executable(security_abi_client
    ${CMAKE_CURRENT_LIST_DIR}/security_client/fake_platform.cpp
    ${CMAKE_CURRENT_LIST_DIR}/security_client/security_client_test.cpp)
add_dependencies(security_abi_client qx_sysevent)
target_link_libraries(security_abi_client PRIVATE $<TARGET_FILE:qx_sysevent> GTest::gtest_main)
target_link_options(security_abi_client PRIVATE
    -Wl,-rpath-link,$<TARGET_FILE_DIR:qx_platform_standin>)
set_target_properties(security_abi_client PROPERTIES
    BUILD_RPATH "$<TARGET_FILE_DIR:qx_sysevent>;$<TARGET_FILE_DIR:qx_platform_standin>")
gtest_discover_tests(security_abi_client DISCOVERY_MODE PRE_TEST)
