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

# The header, for the one file of the library that includes it.
add_library(qx_tao INTERFACE)
add_library(qx::tao ALIAS qx_tao)
# The libraries, each before those it needs. The library's link interface
# carries them (sysevent/CMakeLists.txt), and QX_TAO_PKGCONFIG_LIBS gives
# them to qx_sysevent.pc: a process linking the library must find them, as it
# loads them with it.
set(QX_TAO_LIBRARIES)
set(QX_TAO_PKGCONFIG_LIBS)
if(QX_WITH_TAO)
    if(NOT QX_TAO_FOUND)
        message(FATAL_ERROR "QX_WITH_TAO is ON but TAO's PortableServer was not found")
    endif()
    # Seen by the stand-in as well, which then leaves init() to TAO.
    add_compile_definitions(QX_WITH_TAO)
    target_include_directories(qx_tao SYSTEM INTERFACE ${QX_TAO_INCLUDE_DIR})
    set(QX_TAO_LIBRARIES
        ${QX_TAO_PORTABLESERVER_LIBRARY} ${QX_TAO_ANYTYPECODE_LIBRARY} ${QX_TAO_LIBRARY})
    set(directories)
    set(names)
    foreach(library IN LISTS QX_TAO_LIBRARIES)
        cmake_path(GET library PARENT_PATH directory)
        cmake_path(GET library STEM LAST_ONLY name)
        string(REGEX REPLACE "^lib" "" name ${name})
        list(APPEND directories -L${directory})
        list(APPEND names -l${name})
    endforeach()
    list(REMOVE_DUPLICATES directories)
    list(JOIN directories " " directories)
    list(JOIN names " " names)
    set(QX_TAO_PKGCONFIG_LIBS " ${directories} ${names}")
    message(STATUS "TAO PortableServer: ${QX_TAO_PORTABLESERVER_LIBRARY}")
else()
    message(STATUS "TAO PortableServer: not used, the stand-in registers the POA")
endif()
