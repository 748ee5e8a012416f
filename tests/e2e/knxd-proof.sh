#!/usr/bin/env bash
# Search, program and read back through knxd, an independently written bus stack: knxd is the
# client of devsim's IP interface (its ipt: driver) and the tunnelling server zentrix-cli talks
# to, so every frame either side sends passes knxd. Run inside a private network namespace
# (unshare -n) that this script sets up: loopback, and a veth pair with a multicast route,
# because knxd's server wants one multicast-capable interface besides loopback. No datagram
# leaves the namespace; the client and the simulator only talk to 127.0.0.1.
# Usage (as root): unshare -n bash knxd-proof.sh ZENTRIX_CLI DEVSIM WORKDIR
set -euo pipefail
cli=$1 devsim=$2 work=$3
cd "$work"
ip link set lo up
ip link add zxknx0 type veth peer name zxknx1
ip addr add 10.77.0.1/24 dev zxknx0
ip link set zxknx0 up
ip link set zxknx1 up
ip route add 224.0.0.0/4 dev zxknx0

sim="" knxd=""
trap '[ -n "$knxd" ] && kill "$knxd" 2>/dev/null; [ -n "$sim" ] && kill "$sim" 2>/dev/null; wait 2>/dev/null || true' EXIT
"$devsim" ip --device 1.1.5 --device 1.1.7 > ip.out 2> ip.err &
sim=$!
for _ in $(seq 50); do [ -s ip.out ] && break; sleep 0.1; done
port=$(head -n1 ip.out | cut -d: -f2)
knxd -e 0.0.1 -E 0.0.2:8 -D -T -S -b "ipt:127.0.0.1:$port" > knxd.log 2>&1 &
knxd=$!
for _ in $(seq 50); do ss -uln | grep -q ':3671 ' && break; sleep 0.1; done
ss -uln | grep -q ':3671 ' || { echo "knxd did not start its server:"; cat knxd.log; exit 1; }

export ZENTRIX_FAST_LINK=1
found=$("$cli" bus search --ip 127.0.0.1 --area 1 --line 1 --from 4 --to 8 2> search.err)
[ "$found" = $'1.1.5\n1.1.7' ] || { echo "search through knxd found: '$found'"; cat search.err; exit 1; }
"$cli" bus program prog.zxp --ip 127.0.0.1 --address 1.1.7 2> program.err || { tail -n3 program.err; exit 1; }
"$cli" bus read back.zxp --ip 127.0.0.1 --address 1.1.7 2> read.err || { tail -n3 read.err; exit 1; }
content() {
  "$cli" dump "$1" --json | python3 -c '
import json, sys
d = json.load(sys.stdin)
print(sorted(tuple(r["bytes"]) for r in d["records"]), d.get("changeover"))'
}
[ "$(content prog.zxp)" = "$(content back.zxp)" ] || { echo "the program read back through knxd differs"; exit 1; }
echo "search, program and read back through knxd: ok"
