# Install rules, in three components (debian/*.install split them into the
# four Debian packages):
#   runtime      libqx_sysevent.so.1 (the file server processes load)
#   development  its headers, the libqx_sysevent.so link, CMake package, pkg-config
#   standin      the stand-in platform with its headers, for users' own tests
# find_package(qx_sysevent CONFIG) gives qx_sysevent::qx_sysevent, and
# qx_sysevent::platform_standin when the stand-in is installed beside it.
# Neither the target nor qx_sysevent.pc brings a platform: the process links
# one, the real platform or, in tests, the stand-in.
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
install(FILES ${QX_GENERATED_INCLUDE_DIR}/qx_sysevent/version.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qx_sysevent
    COMPONENT development)
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
# the prefix really installed to (`cmake --install --prefix`, DESTDIR).
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
