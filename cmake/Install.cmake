# Install rules and Debian packages, in three components:
#   runtime      libqx_sysevent.so.1 (the file server processes load)
#   development  its headers, the libqx_sysevent.so link, CMake package, pkg-config
#   standin      the stand-in platform with its headers, for users' own tests
# find_package(qx_sysevent CONFIG) gives qx_sysevent::qx_sysevent, and
# qx_sysevent::platform_standin when the stand-in is installed beside it.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QX_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/qx_sysevent)
set(QX_PKGCONFIG_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
# The platform declarations get a directory of their own, so that
# "platform/..." does not land directly in a shared include directory.
set(QX_PLATFORM_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/qx_platform)

# ---- Library --------------------------------------------------------------
install(TARGETS qx_sysevent
    EXPORT qx_sysevent_targets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        COMPONENT runtime
        NAMELINK_COMPONENT development)
install(DIRECTORY include/qx_sysevent
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    COMPONENT development
    FILES_MATCHING PATTERN "*.h")
install(EXPORT qx_sysevent_targets
    NAMESPACE qx_sysevent::
    FILE qx_sysevent-targets.cmake
    DESTINATION ${QX_CMAKE_INSTALL_DIR}
    COMPONENT development)

# ---- Stand-in platform ----------------------------------------------------
set_target_properties(qx_platform_standin PROPERTIES EXPORT_NAME platform_standin)
set_target_properties(qx_platform_headers PROPERTIES EXPORT_NAME platform_headers)
install(TARGETS qx_platform_standin qx_platform_headers
    EXPORT qx_sysevent_standin_targets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT standin
    INCLUDES DESTINATION ${QX_PLATFORM_INCLUDE_DIR})
install(DIRECTORY platform/include/platform
    DESTINATION ${QX_PLATFORM_INCLUDE_DIR}
    COMPONENT standin
    FILES_MATCHING PATTERN "*.h")
install(DIRECTORY platform/standin/include/qx_standin
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    COMPONENT standin
    FILES_MATCHING PATTERN "*.h")
# A file of its own: users who link only the library need none of this.
install(EXPORT qx_sysevent_standin_targets
    NAMESPACE qx_sysevent::
    FILE qx_sysevent-platform-standin-targets.cmake
    DESTINATION ${QX_CMAKE_INSTALL_DIR}
    COMPONENT standin)

# ---- CMake package --------------------------------------------------------
configure_package_config_file(
    ${CMAKE_CURRENT_LIST_DIR}/qx_sysevent-config.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/qx_sysevent-config.cmake
    INSTALL_DESTINATION ${QX_CMAKE_INSTALL_DIR}
    NO_SET_AND_CHECK_MACRO)
write_basic_package_version_file(
    ${CMAKE_CURRENT_BINARY_DIR}/qx_sysevent-config-version.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/qx_sysevent-config.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/qx_sysevent-config-version.cmake
    DESTINATION ${QX_CMAKE_INSTALL_DIR}
    COMPONENT development)

# ---- pkg-config -----------------------------------------------------------
# The files name absolute paths, so they are completed at install time with
# the prefix really installed to (`cmake --install --prefix`, CPack).
set(QX_INSTALL_PREFIX "@QX_INSTALL_PREFIX@")
function(qx_install_pkgconfig name component)
    set(template ${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/${name}.pc.in)
    set(file ${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/${name}.pc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/${name}.pc.in ${template} @ONLY)
    install(CODE "
        set(QX_INSTALL_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
        configure_file(\"${template}\" \"${file}\" @ONLY)"
        COMPONENT ${component})
    install(FILES ${file} DESTINATION ${QX_PKGCONFIG_INSTALL_DIR} COMPONENT ${component})
endfunction()
qx_install_pkgconfig(qx_sysevent development)
qx_install_pkgconfig(qx_platform_standin standin)

# ---- Debian packages (cpack -G DEB) ---------------------------------------
# libqx-sysevent1 (runtime), libqx-sysevent-dev (development) and
# libqx-platform-standin (standin). The library is linked against
# libqx_platform_standin.so.1 and does not load without it, so the runtime
# package depends on the stand-in's.
set(CPACK_PACKAGE_NAME qx-sysevent)
set(CPACK_PACKAGE_VENDOR "qx_sysevent maintainers")
set(CPACK_PACKAGE_CONTACT
    "qx_sysevent maintainers <maintainers@users.noreply.c-seed-10f1480e.example>")
set(CPACK_GENERATOR DEB)
set(CPACK_COMPONENTS_ALL runtime development standin)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The stand-in is built here and belongs to no installed package yet: let
# dpkg-shlibdeps find it, and state the dependency on its package below.
get_target_property(QX_STANDIN_BUILD_DIR qx_platform_standin BINARY_DIR)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${QX_STANDIN_BUILD_DIR})
set(QX_DEB_VERSION "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
# Each description's first line is its package's synopsis. No package-wide
# summary is set: CPack would put it first in all three.

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libqx-sysevent${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libqx-platform-standin (= ${QX_DEB_VERSION})")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "System events, user security scope and reload registration for NMS servers
The shared library libqx_sysevent.so.1 that server processes load: system event
handler registration, user security scope (administrator, managed NEs) and
process reload registration with the message dispatcher.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libqx-sysevent-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "${CPACK_DEBIAN_RUNTIME_PACKAGE_NAME} (= ${QX_DEB_VERSION})")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
    "Development files of libqx_sysevent
Public headers, the libqx_sysevent.so link, the CMake package
(find_package(qx_sysevent CONFIG), target qx_sysevent::qx_sysevent) and the
pkg-config file qx_sysevent.pc.")

set(CPACK_DEBIAN_STANDIN_PACKAGE_NAME libqx-platform-standin)
# Its headers include ACE's, and its pkg-config file requires ACE's.
set(CPACK_DEBIAN_STANDIN_PACKAGE_RECOMMENDS libace-dev)
set(CPACK_DEBIAN_STANDIN_PACKAGE_SUGGESTS libqx-sysevent-dev)
set(CPACK_COMPONENT_STANDIN_DESCRIPTION
    "Stand-in platform for testing processes that use libqx_sysevent
libqx_platform_standin.so defines the platform calls libqx_sysevent makes
(trace library, management database, event consumer, application manager)
and lets tests script their answers, inject faults and read back every trace
record and platform call. Headers qx_standin/*.h and qx_platform/platform/*.h,
target qx_sysevent::platform_standin, pkg-config file qx_platform_standin.pc.")

include(CPack)
