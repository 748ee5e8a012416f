#!/usr/bin/env bash
# Builds the desktop program and starts it in its working directory.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$(pwd)
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZX_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target zentrix zentrix-cli
workdir="${ZENTRIX_WORKDIR:-$HOME/zentrix}"
mkdir -p "$workdir"
# First start: copy the default files; never overwrite what the user has there.
cp -rn "$src"/data/. "$workdir"/
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "zentrix needs a graphical display: no DISPLAY is set (start it from a desktop session)." >&2
  exit 1
fi
exec "$src"/build/src/app/zentrix --workdir "$workdir" "$@"
