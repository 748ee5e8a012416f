#!/usr/bin/env bash
# Measures one write and one read of a whole device image over the serial link at the real
# timings, against devsim paced at 9600 baud (8N1: 960 bytes/s), and sets the times beside
# the line's own limit: a write moves 2,688 bytes (128 requests of 19, 128 answers of 2),
# a read 2,944 (128 requests of 4, 128 answers of 19).
# Usage: bench/serial-transfer.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
cli="$build/src/cli/zentrix-cli"
devsim="$build/tools/devsim/devsim"
[ -x "$cli" ] && [ -x "$devsim" ] || { echo "build zentrix-cli and devsim first (cmake --build $build)" >&2; exit 1; }

work=$(mktemp -d)
trap 'kill "$sim" 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"

# A program file: 2048 values with a zero checksum, the annual device's code 72 in byte 1 and
# empty record chains, so that "read" accepts what comes back.
python3 - <<'PY'
v = [0] * 2048
v[1], v[3], v[103] = 72, 1, 1
for i in range(8, 100):
    v[i] = 255
for i in range(104, 2048):
    v[i] = (i * 37) % 256
v[0] = (256 - sum(v) % 256) % 256
with open("prog.zxp", "w", newline="") as f:
    f.write("".join(f" {x} " + ("\r\n" if i % 6 == 5 else "") for i, x in enumerate(v)))
    f.write("\r\nbench\r\n")
PY

"$devsim" --memory device.img > devsim.out 2> devsim.err &
sim=$!
for _ in $(seq 50); do [ -s devsim.out ] && break; sleep 0.1; done
pty=$(head -n1 devsim.out)

measure() {   # prints the seconds one command took
  local start end
  start=$(date +%s.%N)
  "$cli" "$@" --port "$pty" 2>/dev/null
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
write_s=$(measure write prog.zxp)
read_s=$(measure read back.zxp)
cmp -s <(python3 -c 'import re,sys; print(re.findall(r"\d+", open("prog.zxp").read())[:2048])') \
       <(python3 -c 'import re,sys; print(re.findall(r"\d+", open("back.zxp").read())[:2048])') \
  && same=yes || same=NO

printf '%-6s %8s %14s %14s %16s\n' "" "measured" "line limit" "+ quiet times" "+ 2 s start wait"
for row in "write $write_s 2688" "read $read_s 2944"; do
  set -- $row
  awk -v name="$1" -v t="$2" -v bytes="$3" 'BEGIN {
    line = bytes / 960; quiet = line + 128 * 0.1
    printf "%-6s %7.2fs %13.2fs %13.2fs %15.2fs\n", name, t, line, quiet, quiet + 2 }'
done
echo "image read back equals the image written: $same"
