#!/usr/bin/env bash
# Builds the source package and the Debian packages from debian/ with
# dpkg-buildpackage (the unit tests run in the build), in a copy of the source
# tree, and checks them without installing them on this machine: fields and
# contents, each string ABI's flavour in its own packages, no stand-in in the
# library's Depends, lintian on the source and every package without errors or
# warnings. autopkgtest tests the packages as
# installed (scripts/autopkgtest.sh).
#
# Usage: scripts/make-packages.sh <output folder>
# The packages go to <output folder>; the copy and its build to
# <output folder>/work. JOBS (default 2) sets the build's parallelism.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 <output folder>" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)

step() { echo "== make-packages: $*"; }
fail() {
    echo "make-packages: FAILED: $*" >&2
    exit 1
}

version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
# The project's version is written twice, in CMakeLists.txt (the libraries'
# file names, version.h) and in debian/changelog (the packages'): they must
# agree, or a package would carry a library of another version.
project_version=$(sed -n 's/^project(qx_sysevent VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ "$version" = "$project_version" ] ||
    fail "debian/changelog says $version, CMakeLists.txt says ${project_version:-nothing}"
arch=$(dpkg --print-architecture)
# CUserSecurityMgr::GetAllUser(const std::vector<int>&, std::map<int, std::string>&) in
# the old string ABI.
old_abi_get_all_user=_ZN16CUserSecurityMgr10GetAllUserERKSt6vectorIiSaIiEERSt3mapIiSsSt4lessIi
old_abi_get_all_user+=ESaISt4pairIKiSsEEE
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
libdir=usr/lib/$multiarch

# dpkg-buildpackage builds in the tree it is given and writes to its parent:
# a copy of the working tree (what git tracks or would track) keeps both
# out of the repository.
step "source copy in $out/work"
rm -rf "$out/work" "$out"/*.deb "$out"/*.ddeb "$out"/*.dsc "$out"/*.tar.* "$out"/*.changes \
    "$out"/*.buildinfo
src=$out/work/qx-sysevent-$version
mkdir -p "$src"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ ! -e "$f" ] || printf '%s\0' "$f"; done |
    tar --null -T - -cf -) | tar -C "$src" -xf -

step "dpkg-buildpackage"
(cd "$src" && DEB_BUILD_OPTIONS="parallel=${JOBS:-2} ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage -us -uc)
find "$out/work" -maxdepth 1 -type f -exec cp -t "$out" {} +
for file in "qx-sysevent_$version.dsc" "qx-sysevent_$version.tar.xz" \
    "qx-sysevent_${version}_$arch.changes"; do
    [ -f "$out/$file" ] || fail "no $file"
done

# check_package <name> [--arch all] <Depends must contain...> -- <files that must be inside...>
check_package() {
    local name=$1 package_arch=$arch
    shift
    if [ "$1" = --arch ]; then
        package_arch=$2
        shift 2
    fi
    local deb=$out/${name}_${version}_${package_arch}.deb
    [ -f "$deb" ] || fail "$name: no $(basename "$deb")"
    [ "$(dpkg-deb -f "$deb" Package)" = "$name" ] || fail "$name: wrong Package field"
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    while [ "$1" != -- ]; do
        [[ ", $depends," == *", $1"[\ ,]* ]] || fail "$name: Depends lacks $1: $depends"
        shift
    done
    shift
    local contents
    contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
    for file in "$@"; do
        grep -qx "./$file" <<<"$contents" || fail "$name: $file missing"
    done
    echo "$name $version: $(grep -vc '/$' <<<"$contents") files, Depends: $depends"
}

step "fields and contents"
# Each string ABI's flavour: the packages of the new one, then the -oldabi ones.
for flavour in "" -oldabi; do
    check_package "libqx-sysevent1$flavour" libace-7.0.8 libc6 libgcc-s1 libstdc++6 -- \
        "$libdir/libqx_sysevent.so.${version%%.*}" "$libdir/libqx_sysevent.so.$version"
    check_package "libqx-sysevent$flavour-dev" "libqx-sysevent1$flavour" -- \
        "$libdir/libqx_sysevent.so" \
        usr/include/qx_sysevent/{export,mdp_reload,qx_sysevent,svr_event,sys_event_mgr}.h \
        usr/include/qx_sysevent/{result_codes,user_id_mgr,user_security_mgr,version}.h \
        "$libdir/cmake/qx_sysevent/qx_sysevent-config.cmake" \
        "$libdir/cmake/qx_sysevent/qx_sysevent-config-version.cmake" \
        "$libdir/cmake/qx_sysevent/qx_sysevent-targets.cmake" \
        "$libdir/pkgconfig/qx_sysevent.pc"
    check_package "libqx-platform-standin1$flavour" libace-7.0.8 -- \
        "$libdir/libqx_platform_standin.so.${version%%.*}" \
        "$libdir/libqx_platform_standin.so.$version"
    check_package "libqx-platform-standin$flavour-dev" "libqx-platform-standin1$flavour" \
        libace-dev pkg-config -- \
        "$libdir/libqx_platform_standin.so" \
        usr/include/qx_standin/{standin,app_mgr}.h usr/include/qx_platform/platform/qx_trace.h \
        "$libdir/cmake/qx_sysevent/qx_sysevent-platform-standin-targets.cmake" \
        "$libdir/pkgconfig/qx_platform_standin.pc"
done
check_package qx-sysevent-check binutils -- \
    usr/bin/qx-sysevent-check usr/share/man/man1/qx-sysevent-check.1.gz
# The old flavour's library exports the old ABI's names and none of the new's,
# and each flavour's qx_sysevent.pc passes its ABI on.
step "the string ABI of each flavour"
for flavour in "" -oldabi; do
    contents=$out/work/contents$flavour
    for deb in "libqx-sysevent1$flavour" "libqx-sysevent$flavour-dev"; do
        dpkg-deb -x "$out/${deb}_${version}_$arch.deb" "$contents"
    done
    names=$(nm -D "$contents/$libdir/libqx_sysevent.so.$version")
    new_abi_names=$(grep -c __cxx11 <<<"$names" || true)
    definition=-D_GLIBCXX_USE_CXX11_ABI=1
    if [ -n "$flavour" ]; then
        definition=-D_GLIBCXX_USE_CXX11_ABI=0
        [ "$new_abi_names" = 0 ] || fail "libqx-sysevent1$flavour: names of the new string ABI"
        grep -q " T $old_abi_get_all_user\$" <<<"$names" ||
            fail "libqx-sysevent1$flavour: no $old_abi_get_all_user"
    elif [ "$new_abi_names" = 0 ]; then
        fail "libqx-sysevent1: no name of the new string ABI"
    fi
    grep -q -- "^Cflags:.* $definition\$" "$contents/$libdir/pkgconfig/qx_sysevent.pc" ||
        fail "libqx-sysevent$flavour-dev: qx_sysevent.pc lacks $definition"
    echo "libqx-sysevent1$flavour: $new_abi_names symbols naming std::__cxx11;" \
        "qx_sysevent.pc: $definition"
done
for runtime in "$out"/libqx-sysevent1{,-oldabi}_"${version}_$arch.deb"; do
    if dpkg-deb -f "$runtime" Depends | grep -q standin; then
        fail "$runtime depends on the stand-in"
    fi
done
for deb in "$out"/libqx-{sysevent1,platform-standin1}{,-oldabi}_"${version}_$arch.deb"; do
    dpkg-deb --contents "$deb" | grep -q 'include/\|\.so$' && fail "$deb carries development files"
    dpkg-deb -I "$deb" shlibs >/dev/null || fail "$deb has no shlibs file"
    dpkg-deb -I "$deb" triggers | grep -qx 'activate-noawait ldconfig' ||
        fail "$deb does not trigger ldconfig"
done

step "lintian"
lintian --fail-on error,warning "$out/qx-sysevent_${version}_$arch.changes" ||
    fail "lintian reports errors or warnings"

step "passed: $(cd "$out" && echo *.deb *.dsc)"
