# A process that registers for reload, built from the pinned declarations only
# and defining the application manager itself: it links the library's file,
# not the target, so none of the repository's include directories reach it.
add_executable(abi_reload_client
    ${CMAKE_CURRENT_LIST_DIR}/reload_client/reload_client.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reload_client/app_mgr_double.cpp)
target_include_directories(abi_reload_client PRIVATE ${CMAKE_CURRENT_LIST_DIR}/pinned)
target_link_libraries(abi_reload_client PRIVATE $<TARGET_FILE:qx_sysevent>)
add_dependencies(abi_reload_client qx_sysevent)
# Exports the client's ZorvAppMgr, so the library binds to it rather than to
# the stand-in it was linked against.
set_target_properties(abi_reload_client PROPERTIES ENABLE_EXPORTS ON)
add_test(NAME abi_reload_client COMMAND abi_reload_client)
