#!/usr/bin/env bash
# Installs what one layer of work needs, as debian/control's build
# dependencies list it (the one list), and records what it installed so that
# `make remove-deps` takes exactly that back:
#
#   demo   Build-Depends under the nocheck profile: building the library,
#          the stand-in and the demo
#   test   the same with what the tests add (<!nocheck>)
#   check  all of Build-Depends and Build-Depends-Indep under the profile
#          pkg.qx-sysevent.gates, with build-essential: every gate
#
# Touches apt only when something is missing; uses sudo when not run as root.
#
# Usage: scripts/install-deps.sh demo|test|check [log file]
# apt's own output goes to the log file (default: standard output).
set -euo pipefail
cd "$(dirname "$0")/.."
record=.installed-packages

layer=${1:-}
log=${2:-/dev/stdout}
case "$layer" in
demo) fields=Build-Depends profiles=nocheck extra=g++ ;;
test) fields=Build-Depends profiles= extra=g++ ;;
check) fields="Build-Depends Build-Depends-Indep" profiles=pkg.qx-sysevent.gates extra=build-essential ;;
*)
    echo "usage: $0 demo|test|check [log file]" >&2
    exit 2
    ;;
esac

# The named fields of the source paragraph, their entries joined by ", ",
# without comments; demo and test leave out debhelper, which only the
# packages need.
relations() {
    awk -v want=" $fields " '
        /^$/ { exit }
        /^#/ { next }
        /^[^ \t]/ { name = $0; sub(/:.*/, "", name); on = index(want, " " name " ") > 0; sub(/^[^:]*:/, "") }
        on { print }
    ' debian/control | tr '\n' ' ' | tr ',' '\n' | sed -e 's/^ *//' -e 's/ *$//' |
        grep -v -e '^$' -e "$skip" | paste -sd, | sed 's/,/, /g'
}
skip='^$'
[ "$layer" = check ] || skip='^debhelper-compat '
wanted="$(relations), $extra"

apt=(apt-get -o "APT::Build-Profiles=$profiles")
# A simulation needs no root; it fails without package lists, as on a new
# machine, and then the lists are fetched.
if plan=$("${apt[@]}" satisfy -s "$wanted" 2>/dev/null) && ! grep -q '^Inst ' <<<"$plan"; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    apt=(sudo "${apt[@]}")
fi
installed() { dpkg-query -W -f '${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 == "ii" { print $2 }' | sort; }
before=$(installed)
echo "make: installing the packages that the $layer layer needs (apt's output: $log)"
{
    DEBIAN_FRONTEND=noninteractive "${apt[@]}" update -q
    DEBIAN_FRONTEND=noninteractive "${apt[@]}" satisfy -y -q --no-install-recommends "$wanted"
} >>"$log" 2>&1 || {
    [ "$log" = /dev/stdout ] || tail -n 20 "$log" >&2
    echo "make: installing the $layer layer's packages failed" >&2
    exit 1
}
added=$(comm -13 <(echo "$before") <(installed))
if [ -n "$added" ]; then
    { cat "$record" 2>/dev/null || true; echo "$added"; } | sort -u >"$record.new"
    mv "$record.new" "$record"
fi
echo "make: installed $(grep -c . <<<"$added") packages; \`make remove-deps\` removes them"
