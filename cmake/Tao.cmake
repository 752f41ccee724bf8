# TAO's portable server, when installed: loading the library registers the
# POA through it. Without TAO (Debian 12 does not package it) the stand-in
# platform defines TAO_POA_Initializer::init() instead.
find_path(QX_TAO_INCLUDE_DIR tao/PortableServer/PortableServer.h)
find_library(QX_TAO_PORTABLESERVER_LIBRARY TAO_PortableServer)
find_library(QX_TAO_ANYTYPECODE_LIBRARY TAO_AnyTypeCode)
find_library(QX_TAO_LIBRARY TAO)

if(QX_TAO_INCLUDE_DIR AND QX_TAO_PORTABLESERVER_LIBRARY AND QX_TAO_ANYTYPECODE_LIBRARY
   AND QX_TAO_LIBRARY)
    set(QX_TAO_FOUND ON)
else()
    set(QX_TAO_FOUND OFF)
endif()
option(QX_WITH_TAO "Register TAO's POA at load through the installed TAO" ${QX_TAO_FOUND})

add_library(qx_tao INTERFACE)
add_library(qx::tao ALIAS qx_tao)
if(QX_WITH_TAO)
    if(NOT QX_TAO_FOUND)
        message(FATAL_ERROR "QX_WITH_TAO is ON but TAO's PortableServer was not found")
    endif()
    # Seen by the stand-in as well, which then leaves init() to TAO.
    add_compile_definitions(QX_WITH_TAO)
    target_include_directories(qx_tao SYSTEM INTERFACE ${QX_TAO_INCLUDE_DIR})
    target_link_libraries(qx_tao INTERFACE
        ${QX_TAO_PORTABLESERVER_LIBRARY} ${QX_TAO_ANYTYPECODE_LIBRARY} ${QX_TAO_LIBRARY}
        qx::ace)
    message(STATUS "TAO PortableServer: ${QX_TAO_PORTABLESERVER_LIBRARY}")
else()
    message(STATUS "TAO PortableServer: not used, the stand-in registers the POA")
endif()
