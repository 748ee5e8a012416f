#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those that are missing, so
# that scripts/test.sh passes on the smallest Debian 12 installation.
#   scripts/install-deps.sh            build, test suite and format check
#   scripts/install-deps.sh fuzz       and clang with its libFuzzer runtime (fuzz/run-short.sh)
#   scripts/install-deps.sh bench      and what the benches in bench/ run (Xvfb, valgrind, ...)
# Any other argument is installed as a package of that name.
set -euo pipefail
# Besides the build: poppler-utils (pdftotext), python3 and python3-icalendar (the exports read
# back), knxd, iproute2 (ip and ss in the network namespace of the knxd proof), util-linux
# (unshare), desktop-file-utils, appstream and libxml2-utils (the packaging validators), lintian
# (scripts/package.sh), clang-format and git (scripts/check-format.sh lists the tracked files).
packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libgtest-dev libgmock-dev googletest
          libbenchmark-dev fonts-dejavu-core poppler-utils qt6-translations-l10n desktop-file-utils
          appstream libxml2-utils python3 python3-icalendar knxd iproute2 util-linux lintian
          clang-format git)
for arg in "$@"; do
  case "$arg" in
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    # Xvfb and xdpyinfo for a display of its own, valgrind (callgrind), pkg-config with the xcb
    # headers for the first-window probe, dbus-daemon (dbus-run-session) for a session bus of its own
    bench) packages+=(xvfb x11-utils valgrind pkg-config libxcb1-dev dbus-daemon python3) ;;
    *) packages+=("$arg") ;;
  esac
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
