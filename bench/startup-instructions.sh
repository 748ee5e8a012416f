#!/usr/bin/env bash
# Instructions from the start of the process to the request that maps its first window: the
# desktop program's start screen against a bare Qt window and one with a single label. Unlike the
# wall time of startup-vs-bare.sh this count is the same from run to run, also on a busy machine.
#
# Method: each program runs under callgrind on an Xvfb display of its own (inside a D-Bus session,
# as on a desktop). Callgrind dumps its counters just before the first call of xcb_map_window,
# which is where Qt asks the X server to map a top-level window; the program is then ended. The
# count covers everything from the dynamic loader on: libraries, Qt's set-up, fonts, our own
# construction, the layout and polish of the window. What is painted after the map is not in it.
# With --profile DIR each dump is kept there (bare, label, start .callgrind), to read with
# callgrind_annotate --inclusive=yes.
#
# Usage: bench/startup-instructions.sh [--profile DIR] [BUILD_DIR]   (default: build)
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-run-session >/dev/null; then
    exec dbus-run-session -- "$0" "$@"
fi
profile=""
if [ "${1:-}" = "--profile" ]; then
    mkdir -p "$2"
    profile=$(realpath "$2")
    shift 2
fi
cd "$(dirname "$0")/.."
source=$(pwd)
build=$(realpath "${1:-build}")
app="$build/src/app/zentrix"
[ -x "$app" ] || { echo "build the desktop program first (cmake --build $build --target zentrix)" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "valgrind is needed" >&2; exit 1; }

source bench/firstshow/setup.sh

# Runs one program until its first map request; prints the instructions counted up to there.
count() {
    local name=$1
    shift
    valgrind --tool=callgrind --dump-before=xcb_map_window --callgrind-out-file="$work/$name.out" \
        "$@" >/dev/null 2>"$work/$name.log" &
    finish "$name" "$name.out.1" $!
    awk '/^summary:/ {print $2; exit}' "$work/$name.out.1"
}

# Waits for the dump of the map, then ends the program. finish NAME FILE PID
finish() {
    for _ in $(seq 1200); do
        [ -s "$work/$2" ] && break
        kill -0 "$3" 2>/dev/null || break
        sleep 0.1
    done
    kill "$3" 2>/dev/null || true
    wait "$3" 2>/dev/null || true
    [ -s "$work/$2" ] || { echo "$1: no window was mapped (see valgrind's log)" >&2; cat "$work/$1.log" >&2; exit 1; }
    [ -z "$profile" ] || cp "$work/$2" "$profile/$1.callgrind"
}

# Dividing by a million here keeps the shell's arithmetic out of it.
mega() { awk -v n="$1" 'BEGIN {printf "%.1f M", n / 1e6}'; }
bare=$(count bare "$work/bare_window")
label=$(count label "$work/bare_window" --label)
start=$(count start "$app" --workdir "$work/workdir")
echo "instructions up to the first map request (display $display)"
echo "bare Qt window:    $(mega "$bare")"
echo "window, one label: $(mega "$label")"
echo "start screen:      $(mega "$start")"
awk -v a="$start" -v b="$bare" -v l="$label" \
    'BEGIN {printf "ratio: %.2fx the bare window (%.2fx the window with one label)\n", a / b, a / l}'
