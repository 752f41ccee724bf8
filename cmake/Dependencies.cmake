# ACE from the system (Debian's libace-dev), TAO when it is there.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ACE REQUIRED IMPORTED_TARGET ACE)
# ACE's .pc adds -ldl -lrt, which resolve to glibc's empty static stubs
# (libdl.a, librt.a) now that libc holds their functions: the libraries
# link ACE's shared library only.
set_property(TARGET PkgConfig::ACE PROPERTY INTERFACE_LINK_LIBRARIES ${pkgcfg_lib_ACE_ACE})
add_library(qx::ace ALIAS PkgConfig::ACE)

find_package(Threads REQUIRED)
include(${CMAKE_CURRENT_LIST_DIR}/Tao.cmake)
