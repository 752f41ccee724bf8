# The administrator registry seen by a client built only from the pinned
# declarations, with a platform of its own.
add_executable(admin_client_test
    ${CMAKE_CURRENT_SOURCE_DIR}/admin_client/own_platform.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/admin_client/admin_client_test.cpp)
target_include_directories(admin_client_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/pinned)
target_link_libraries(admin_client_test PRIVATE qx_sysevent GTest::gtest_main)
gtest_discover_tests(admin_client_test DISCOVERY_MODE PRE_TEST)
