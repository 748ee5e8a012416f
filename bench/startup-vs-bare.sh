#!/usr/bin/env bash
# Wall time from the start of the process to its first window on the display: the desktop
# program's start screen against a bare Qt window, in alternating runs on one Xvfb display, with
# the median of each and their ratio.
# Usage: bench/startup-vs-bare.sh [BUILD_DIR] [RUNS] [OTHER_BUILD_DIR...]   (defaults: build, 16)
# Each OTHER_BUILD_DIR (say, an earlier version built in a worktree of its own) joins the
# alternating runs with its own desktop program, so that versions compare on one display.
set -euo pipefail
# A desktop session has a D-Bus session bus. Without one, the first window that shows text starts
# Qt's accessibility bridge, whose connect tries to launch a bus: a cost no user meets. Both
# programs run inside a session bus of their own, unless ZX_BENCH_NO_SESSION_BUS is set.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ -z "${ZX_BENCH_NO_SESSION_BUS:-}" ] &&
    command -v dbus-run-session >/dev/null; then
    exec dbus-run-session -- "$0" "$@"
fi
cd "$(dirname "$0")/.."
source=$(pwd)
build=$(realpath "${1:-build}")
runs=${2:-16}
app="$build/src/app/zentrix"
[ -x "$app" ] || { echo "build the desktop program first (cmake --build $build --target zentrix)" >&2; exit 1; }
others=()
for other in "${@:3}"; do
    [ -x "$other/src/app/zentrix" ] || { echo "$other: no desktop program built there" >&2; exit 1; }
    others+=("$(realpath "$other")")
done

source bench/firstshow/setup.sh
cc -O2 -o "$work/first_show_probe" bench/firstshow/first_show_probe.c $(pkg-config --cflags --libs xcb)

probe() { "$work/first_show_probe" 10000 "$@"; }
# One unmeasured run of each fills the disk cache.
probe "$work/bare_window" >/dev/null
probe "$app" --workdir "$work/workdir" >/dev/null
: >"$work/bare.txt"
: >"$work/label.txt"
: >"$work/start.txt"
for i in "${!others[@]}"; do
    probe "${others[$i]}/src/app/zentrix" --workdir "$work/workdir" >/dev/null
    : >"$work/other$i.txt"
done
for _ in $(seq "$runs"); do
    probe "$work/bare_window" >>"$work/bare.txt"
    probe "$work/bare_window" --label >>"$work/label.txt"
    probe "$app" --workdir "$work/workdir" >>"$work/start.txt"
    for i in "${!others[@]}"; do
        probe "${others[$i]}/src/app/zentrix" --workdir "$work/workdir" >>"$work/other$i.txt"
    done
done

median() { sort -n "$1" | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
bare=$(median "$work/bare.txt")
label=$(median "$work/label.txt")
start=$(median "$work/start.txt")
echo "runs: $runs alternating, display $display, session bus: ${DBUS_SESSION_BUS_ADDRESS:-none}"
echo "bare Qt window:     median $bare ms   ($(sort -n "$work/bare.txt" | tr '\n' ' '))"
echo "window, one label:  median $label ms   ($(sort -n "$work/label.txt" | tr '\n' ' '))"
echo "start screen:       median $start ms   ($(sort -n "$work/start.txt" | tr '\n' ' '))"
awk -v a="$start" -v b="$bare" -v l="$label" \
    'BEGIN {printf "ratio: %.2fx the bare window, %.1f ms more (%.2fx the window with one label)\n", a / b, a - b, a / l}'
for i in "${!others[@]}"; do
    m=$(median "$work/other$i.txt")
    awk -v m="$m" -v b="$bare" -v n="${others[$i]}" \
        'BEGIN {printf "%s: median %s ms, %.2fx the bare window, %.1f ms more\n", n, m, m / b, m - b}'
done
