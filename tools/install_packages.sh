#!/usr/bin/env bash
# The Debian packages Tb58Wk31 needs, in one place: make demo, make test and
# CI call this before they build.  It installs what is missing when it runs
# as root, uses sudo where it can, and otherwise stops with the one command
# to run.  TB58_NO_INSTALL=1 skips it.
#
#   tools/install_packages.sh build   the library, tb58mon and the Linux tests
#   tools/install_packages.sh test    and the Windows DLL's tests under Wine,
#                                     snmpd and mawk for the monitor's SNMP
#                                     tests and the simulated agent, cups
#                                     (its snmp backend finds that agent),
#                                     Chromium (and a Japanese font, and
#                                     python3 for its stub) for the fleet
#                                     page, promtool for its metrics and
#                                     alert rules, python3 and openssl for
#                                     the notices' receivers
#   tools/install_packages.sh ci      and clang for the fuzzers, the benchmarks (and wrk
#                                     for the fleet benchmark's HTTP load), and
#                                     what checks the Debian packages: dpkg-dev
#                                     (dpkg-shlibdeps, dpkg-buildflags), file,
#                                     lintian, man-db, systemd, curl)
set -euo pipefail
[[ "${TB58_NO_INSTALL:-0}" == 1 ]] && exit 0

build=(cmake make g++ binutils pkg-config libgtest-dev libgmock-dev libcli11-dev nlohmann-json3-dev
       libpng-dev libasio-dev libsnmp-dev libmicrohttpd-dev libtomlplusplus-dev prometheus-cpp-dev libsqlite3-dev
       libcurl4-openssl-dev libsystemd-dev)
test=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 snmpd mawk cups chromium fonts-ipafont-gothic prometheus
      python3 openssl)
ci=(clang libclang-rt-14-dev libbenchmark-dev wrk dpkg-dev file lintian man-db systemd curl)

case "${1:-build}" in
    build) wanted=("${build[@]}") ;;
    test) wanted=("${build[@]}" "${test[@]}") ;;
    ci) wanted=("${build[@]}" "${test[@]}" "${ci[@]}") ;;
    *) echo "usage: $0 [build|test|ci]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

if ! command -v apt-get >/dev/null; then
    echo "Missing packages: ${missing[*]} (this script knows Debian's apt-get only; install them by hand)" >&2
    exit 1
fi
if ((EUID == 0)); then
    as_root=()
elif command -v sudo >/dev/null && { sudo -n true 2>/dev/null || [[ -t 0 ]]; }; then
    as_root=(sudo)  # asks for the password at a terminal
else
    echo "Missing packages. Run once:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
