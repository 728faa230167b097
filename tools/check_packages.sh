#!/usr/bin/env bash
# Builds the Debian packages (make package), installs them on this machine
# and checks them the way an administrator would meet them; then purges them
# and checks that nothing of them is left.  Run as root (dpkg -i) on a machine
# where the packages are not in use: CI runs it after the tests (make
# package-check).
#
#   tools/check_packages.sh [BUILD_DIR]     default build-package
#
# The checks: lintian (no errors), systemd-analyze verify and security
# (exposure under 2.0), 'serve --check-config' on the installed example, the
# unit's ExecStart run as 'nobody' against 'simulate --fleet' serving the
# page, a caller built with pkg-config and with find_package(Tb58Wk31), the
# man page, and 'dpkg --purge' leaving the file system as it found it.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$PWD
build=$(realpath -m "${1:-build-package}")
max_exposure=2.0
packages=(tb58mon libtb58wk31-dev libtb58wk31-1)
unit=/lib/systemd/system/tb58mon.service

step() { echo "== $*"; }
fail() { echo "FAILED: $*" >&2; exit 1; }
((EUID == 0)) || fail "run as root: the packages are installed with dpkg -i"

work=$(mktemp -d /tmp/tb58-package-check.XXXXXX)
children=()
cleanup() {
    for pid in "${children[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    dpkg --purge "${packages[@]}" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

step "building the packages in $build"
if [[ ! -f $build/CMakeCache.txt ]]; then
    # Debian's hardening flags, as a package build has them.
    CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
        cmake -S "$tree" -B "$build" -DCMAKE_INSTALL_PREFIX=/usr -DTB58_BUILD_TESTS=OFF \
            -DTB58_BUILD_BENCHMARKS=OFF ${CMAKE_FLAGS:-}
fi
rm -rf "$build/packages"
cmake --build "$build" --target package -j "${JOBS:-2}"
debs=("$build"/packages/*.deb)
((${#debs[@]} == 3)) || fail "expected three packages, got: ${debs[*]}"

# What the file system holds outside the package manager's own records.
snapshot() {
    find /etc /usr /lib /var/lib /opt -xdev \
        \( -path /var/lib/dpkg -o -path /var/lib/apt -o -path /var/lib/ucf -o -path /var/lib/systemd \
           -o -path /var/lib/man-db -o -path /usr/lib/python3 -o -path /etc/ld.so.cache \) -prune -o -print \
        2>/dev/null | sort
}
dpkg --purge "${packages[@]}" >/dev/null 2>&1 || true
snapshot >"$work/before"

step "lintian"
lintian --fail-on error "${debs[@]}" | tee "$work/lintian" || fail "lintian reports errors"

step "dpkg -i"
dpkg -i "${debs[@]}"

step "systemd-analyze verify"
systemd-analyze verify "$unit"

step "systemd-analyze security (exposure under $max_exposure)"
score=$(systemd-analyze security --offline=yes "$unit" | sed -n 's/.*Overall exposure level for [^:]*: \([0-9.]*\).*/\1/p')
echo "exposure: $score"
awk -v s="$score" -v m="$max_exposure" 'BEGIN { exit !(s != "" && s < m) }' || fail "exposure $score"

# A command line of the unit, expanded as systemd does it (${VAR} is one
# word, $VAR is split at blanks) with TB58MON_CONFIG and TB58MON_OPTIONS;
# the state directory systemd would make is a scratch folder here.
unit_command() {
    local word options
    command=()
    for word in $(sed -n "s/^$1=//p" "$unit"); do
        case $word in
            '${TB58MON_CONFIG}') command+=("$TB58MON_CONFIG") ;;
            '$TB58MON_OPTIONS') read -ra options <<<"$TB58MON_OPTIONS"; command+=("${options[@]}") ;;
            /var/lib/tb58mon) command+=("$work/state") ;;
            *) command+=("$word") ;;
        esac
    done
    echo "${command[*]}"
}
as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups --no-new-privs -- "$@"; }
chmod 755 "$work"
mkdir -m 700 "$work/state" && chown nobody "$work/state"

step "the unit's ExecStartPre (serve --check-config) on the installed example"
TB58MON_CONFIG= TB58MON_OPTIONS=
source <(grep -E '^TB58MON_(CONFIG|OPTIONS)=' /etc/default/tb58mon)
[[ $TB58MON_CONFIG == /etc/tb58mon/fleet.toml ]] || fail "/etc/default/tb58mon names $TB58MON_CONFIG"
unit_command ExecStartPre
as_nobody "${command[@]}"
printf '[[printer]]\nname = "bad name"\nuri = "sim:all-well"\n' >"$work/bad.toml"
chmod 644 "$work/bad.toml"
if TB58MON_CONFIG=$work/bad.toml unit_command ExecStartPre >/dev/null && as_nobody "${command[@]}"; then
    fail "--check-config took a bad fleet file"
fi

step "the unit's ExecStart as nobody, over simulate --fleet"
port_base=$((20000 + RANDOM % 20000))
tb58mon simulate --fleet 3 --plain --listen "127.0.0.1:$port_base" --write-config "$work/fleet.toml" \
    --run-for 60 >"$work/simulate.log" 2>&1 &
children+=($!)
for _ in $(seq 100); do grep -q "serving a fleet" "$work/simulate.log" && break; sleep 0.1; done
grep -q "serving a fleet" "$work/simulate.log" || fail "simulate wrote no fleet file: $(cat "$work/simulate.log")"
chmod 644 "$work/fleet.toml"
http_port=$((port_base + 100))
TB58MON_CONFIG=$work/fleet.toml
TB58MON_OPTIONS="--listen 127.0.0.1:$http_port"
unit_command ExecStart
as_nobody "${command[@]}" --run-for 60 >"$work/serve.log" 2>&1 &
children+=($!)
page=""
for _ in $(seq 100); do
    page=$(curl -fsS "http://127.0.0.1:$http_port/printers.json" 2>/dev/null || true)
    [[ $page == *'"response":true'* ]] && break
    sleep 0.2
done
[[ $page == *'"response":true'* ]] || fail "no printer answered: $page $(cat "$work/serve.log")"
curl -fsS "http://127.0.0.1:$http_port/" | grep -q "<html" || fail "no page served"
[[ -f $work/state/events.db ]] || fail "no event database in the state directory"

step "a caller built with pkg-config and with find_package"
pkg-config --cflags --libs tb58wk31
cc -o "$work/caller" "$tree/tests/consumer/main.c" $(pkg-config --cflags --libs tb58wk31)
"$work/caller"
cmake -S "$tree/tests/consumer" -B "$work/consumer" >/dev/null
cmake --build "$work/consumer" >/dev/null
"$work/consumer/consumer"

step "man tb58mon"
LC_ALL=C MANWIDTH=80 man -P cat tb58mon 2>"$work/man.err" | grep -q "tb58mon serve --check-config" || fail "man page"
[[ ! -s $work/man.err ]] || fail "man page: $(cat "$work/man.err")"

step "dpkg --purge leaves nothing behind"
for pid in "${children[@]}"; do kill "$pid" 2>/dev/null || true; done
wait 2>/dev/null || true
children=()
dpkg --purge "${packages[@]}"
snapshot >"$work/after"
diff "$work/before" "$work/after" || fail "files left behind or removed"
echo "packages checked: ${debs[*]##*/}"
