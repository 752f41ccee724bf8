# ACE from the system (Debian's libace-dev), TAO when it is there.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ACE REQUIRED IMPORTED_TARGET ACE)
add_library(qx::ace ALIAS PkgConfig::ACE)

find_package(Threads REQUIRED)
include(${CMAKE_CURRENT_LIST_DIR}/Tao.cmake)
