#!/usr/bin/env bash
# Soak of the bus transfers: program/read cycles of a full device (324 records on channels 1..8,
# 20 changeover entries) against devsim bus, each cycle with a random fault, fault count and
# fault position, and a verdict for every cycle:
#   - success only when the program read back equals the program sent;
#   - a failure only with a message the fault can cause, after which the device, once the
#     coupling unit works again, gets its own application back through Reinstall.
# Prints one line per cycle and the figures at the end; exit status 1 when any verdict failed.
# Usage: bench/bus-soak.sh [BUILD_DIR] [CYCLES] [SEED]   (defaults: build 50 $RANDOM)
set -euo pipefail
cd "$(dirname "$0")/.."
src=$(pwd)
build=$(realpath "${1:-build}")
cycles=${2:-50}
seed=${3:-$RANDOM}
RANDOM=$seed
cli="$build/src/cli/zentrix-cli"
devsim="$build/tools/devsim/devsim"
[ -x "$cli" ] && [ -x "$devsim" ] || { echo "build zentrix-cli and devsim first (cmake --build $build)" >&2; exit 1; }
export ZENTRIX_FAST_LINK=1

work=$(mktemp -d)
sim=""
trap '[ -n "$sim" ] && kill "$sim" 2>/dev/null; rm -rf "$work"' EXIT

# The program: 324 weekly bus times, four minutes apart, on channels 1..8, and 20 changeover entries.
python3 - "$work/prog.json" <<'PY'
import json, sys
records = []
for i in range(324):
    m, ch = i * 4, i % 8
    records.append({"bytes": [(m >> 4) + 128, (m & 15) * 16 + 8 * (ch >> 2), 0, 31 + (i % 3) * 32,
                              i % 256, ch & 3]})
doc = {"deviceType": 517,
       "device": {"channels": 8, "busDevice": 1, "changeoverRule": 4},
       "changeover": {"firstYear": 30, "entries": [[i * 8, 20, i * 8 + 1, 30] for i in range(20)]},
       "records": records}
json.dump(doc, open(sys.argv[1], "w"))
PY
"$cli" build "$work/prog.json" "$work/prog.zxp" >/dev/null

# What a program file holds, order aside: the records and the changeover table.
content() {
  "$cli" dump "$1" --json | python3 -c '
import json, sys
d = json.load(sys.stdin)
print(sorted(tuple(r["bytes"]) for r in d["records"]), d.get("changeover"))'
}
want=$(content "$work/prog.zxp")

faults=(none no-bcu lost-ack no-device babble busy bad-checksum)
# The messages each fault may end with (extended regular expressions on the first line).
declare -A allowed=(
  [no-bcu]='no bus access via|no connection to the EIB|no connection to the bus device'
  [lost-ack]='no bus access via|no connection to the EIB|no connection to the bus device'
  [no-device]='no mask response received|no answer from the time switch|no connection to the bus device'
  [babble]='no connection to the EIB|no connection to the bus device|no answer from the time switch|no mask response received'
  [busy]='time switch busy'
  [bad-checksum]='no connection to the EIB|no connection to the bus device|no answer from the time switch|no mask response received'
)

start_sim() { # fault, after, count
  "$devsim" bus --no-pace --dump "$cyc/device.txt" --fault "$1" --fault-after "$2" --fault-count "$3" \
    > "$cyc/devsim.out" 2> "$cyc/devsim.err" &
  sim=$!
  for _ in $(seq 50); do [ -s "$cyc/devsim.out" ] && break; sleep 0.1; done
  port=$(head -n1 "$cyc/devsim.out")
}
stop_sim() {
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
  sim=""
}
# Runs one bus command in the cycle's folder; sets rc, msg and secs.
bus() {
  local t0 t1
  t0=$(date +%s.%N)
  set +e
  (cd "$cyc" && "$cli" bus "$@" --port "$port" > out.txt 2> err.txt)
  rc=$?
  set -e
  t1=$(date +%s.%N)
  secs=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", b - a }')
  # The message: the line before "not successful" that is not the Reinstall hint.
  msg=$(grep -B2 '^not successful' "$cyc/err.txt" | grep -v 'not successful\|still holds' | tail -n1 || true)
}

# A clean cycle first: how many frames a program and a read take, where a fault can strike.
cyc="$work/clean"; mkdir -p "$cyc"; cp "$src/data/remote.s19" "$cyc/"
start_sim none 0 0
bus program "$work/prog.zxp" --address 1.1.5
[ "$rc" = 0 ] || { echo "a clean program failed: $msg" >&2; exit 1; }
clean_program=$secs
bus read "$cyc/back.zxp" --address 1.1.5
clean_read=$secs
stop_sim
frames=$(grep -o '[0-9]* frames' "$cyc/devsim.err" | grep -o '[0-9]*')
[ "$(content "$cyc/back.zxp")" = "$want" ] || { echo "a clean read-back differs" >&2; exit 1; }

ok=0 failed_right=0 bad=0 total_fail_secs=0 max_fail_secs=0 reinstalls=0
for n in $(seq 1 "$cycles"); do
  fault=${faults[RANDOM % ${#faults[@]}]}
  after=$((RANDOM % frames))
  count=$((RANDOM % 4)) # 0: the fault lasts
  cyc="$work/c$n"; mkdir -p "$cyc"; cp "$src/data/remote.s19" "$cyc/"
  start_sim "$fault" "$after" "$count"
  own=$(cat "$cyc/device.txt")
  verdict=""
  bus program "$work/prog.zxp" --address 1.1.5
  step=program
  if [ "$rc" = 0 ]; then
    bus read "$cyc/back.zxp" --address 1.1.5
    step=read
  fi
  if [ "$rc" = 0 ]; then
    if [ "$(content "$cyc/back.zxp")" = "$want" ] && [ "$(cat "$cyc/device.txt")" = "$own" ]; then
      verdict=ok; ok=$((ok + 1))
    else
      verdict="BAD: success, but the read-back differs"
    fi
  else
    total_fail_secs=$(awk -v a="$total_fail_secs" -v b="$secs" 'BEGIN { print a + b }')
    max_fail_secs=$(awk -v a="$max_fail_secs" -v b="$secs" 'BEGIN { print (b > a ? b : a) }')
    if [ "$fault" = none ] || ! grep -Eq "${allowed[$fault]}" <<<"$msg"; then
      verdict="BAD: $step failed with \"$msg\""
    else
      # The coupling unit works again; the device must get its own application back.
      kill -USR1 "$sim"
      sleep 0.1
      if [ "$(cat "$cyc/device.txt")" != "$own" ]; then
        bus reinstall --address 1.1.5
        reinstalls=$((reinstalls + 1))
      fi
      if [ "$(cat "$cyc/device.txt")" = "$own" ]; then
        verdict="failed rightly"; failed_right=$((failed_right + 1))
      else
        verdict="BAD: the device keeps a foreign application after Reinstall ($msg)"
      fi
    fi
  fi
  case $verdict in BAD*) bad=$((bad + 1));; esac
  stop_sim
  printf '%2d %-12s after %4d count %d  %-7s %5ss  %s%s\n' "$n" "$fault" "$after" "$count" "$step" "$secs" \
    "$verdict" "$( [ "$rc" = 0 ] || printf ': %s' "$msg")"
done

echo
echo "seed $seed; $frames frames in a clean program + read; clean program ${clean_program}s, read ${clean_read}s (ZENTRIX_FAST_LINK=1)"
echo "cycles $cycles: $ok succeeded with an equal read-back, $failed_right failed with the right message" \
     "(device restored, $reinstalls by Reinstall), $bad wrong verdicts"
[ "$failed_right" -gt 0 ] && awk -v t="$total_fail_secs" -v n="$failed_right" -v m="$max_fail_secs" \
  'BEGIN { printf "failing command: %.1fs on average, %.1fs at most\n", t / n, m }'
[ "$bad" = 0 ]
