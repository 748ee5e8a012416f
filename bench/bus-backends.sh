#!/usr/bin/env bash
# Programs the same full bus device (324 records on channels 1..8, 20 changeover entries) once
# through each back-end with the device's own timings: the coupling unit of devsim bus on a
# pseudo-terminal paced at 9600 baud, and the IP interface of devsim ip on loopback. Prints both
# times and the floor: the waits the time switch itself needs (the 5 s start of each application,
# the 300 ms after each of the 28 blocks of both installs, the 1 s erase, the 100 ms before each
# of the 346 mailbox answers is polled), which no link can save.
# Usage: bench/bus-backends.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
src=$(pwd)
build=$(realpath "${1:-build}")
cli="$build/src/cli/zentrix-cli"
devsim="$build/tools/devsim/devsim"
[ -x "$cli" ] && [ -x "$devsim" ] || { echo "build zentrix-cli and devsim first (cmake --build $build)" >&2; exit 1; }
unset ZENTRIX_FAST_LINK

work=$(mktemp -d)
sim=""
trap '[ -n "$sim" ] && kill "$sim" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
cp "$src/data/remote.s19" .
python3 - prog.json <<'PY'
import json, sys
records = []
for i in range(324):
    m, ch = i * 4, i % 8
    records.append({"bytes": [(m >> 4) + 128, (m & 15) * 16 + 8 * (ch >> 2), 0, 31 + (i % 3) * 32, i % 256, ch & 3]})
json.dump({"deviceType": 517, "device": {"channels": 8, "busDevice": 1, "changeoverRule": 4},
           "changeover": {"firstYear": 30, "entries": [[i * 8, 20, i * 8 + 1, 30] for i in range(20)]},
           "records": records}, open(sys.argv[1], "w"))
PY
"$cli" build prog.json prog.zxp >/dev/null

measure() { # back-end, then the way to it
  local kind=$1; shift
  rm -f sim.out
  "$devsim" "$kind" --device 1.1.5 > sim.out 2> sim.err &
  sim=$!
  for _ in $(seq 50); do [ -s sim.out ] && break; sleep 0.1; done
  local where start end
  where=$(head -n1 sim.out)
  start=$(date +%s.%N)
  "$cli" bus program prog.zxp "$@" "$where" --address 1.1.5 > /dev/null 2> err.txt \
    || { echo "$kind: program failed: $(tail -n2 err.txt)" >&2; exit 1; }
  end=$(date +%s.%N)
  kill "$sim"; wait "$sim" 2>/dev/null || true; sim=""
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }'
}
serial=$(measure bus --port)
ip=$(measure ip --ip)
floor=$(awk 'BEGIN { printf "%.1f", 2 * 5 + 2 * 28 * 0.3 + 1 + 346 * 0.1 }')
printf '%-28s %8s\n' "back-end" "program"
printf '%-28s %7ss\n' "coupling unit, FT1.2 9600" "$serial" "IP interface, loopback" "$ip" "floor (device waits)" "$floor"
