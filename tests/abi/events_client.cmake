# The event subsystem seen by a caller built from pinned/ only, over a
# platform that the client defines itself.
add_executable(events_client
    ${CMAKE_CURRENT_SOURCE_DIR}/events_client/client_platform.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/events_client/events_client_test.cpp)
target_include_directories(events_client PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/pinned ${CMAKE_CURRENT_SOURCE_DIR}/events_client)
target_link_libraries(events_client PRIVATE qx_sysevent qx::ace GTest::gtest Threads::Threads)
gtest_discover_tests(events_client DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 300)
