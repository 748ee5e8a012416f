# Shared by the start-up benches (sourced, not run): a temporary folder $work removed on exit,
# the bare-window yardstick built in it, an Xvfb display of its own (so that no other window takes
# part) exported as DISPLAY, and a working directory as on every start after the first, filled
# from the default files. Needs $source, the project's top folder.
work=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT

g++ -O2 -fPIC -o "$work/bare_window" "$source/bench/firstshow/bare_window.cpp" $(pkg-config --cflags --libs Qt6Widgets)

display=""
for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

mkdir -p "$work/workdir"
cp -r "$source/data/." "$work/workdir/"
export QT_QPA_PLATFORM=xcb
unset QT_QPA_PLATFORMTHEME
