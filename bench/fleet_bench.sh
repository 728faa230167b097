#!/usr/bin/env bash
# The fleet service under load: 'simulate --fleet N' serves N printers on
# 127.0.0.1 (PJL only: one SNMP agent per printer would measure snmpd), and
# 'serve' polls each every INTERVAL seconds.  After a warm-up it reports the
# service's CPU use over a measuring window, the p50/p99 time of a whole
# poll cycle (from every printer's latest cycle), and its memory per
# printer (resident size against a service of one printer).
#
#   bench/fleet_bench.sh PROGRAM [PRINTERS=1000] [INTERVAL=5] [SECONDS=30]
set -euo pipefail
program=$1
printers=${2:-1000}
interval=${3:-5}
window=${4:-30}
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

wait_for() {
    for _ in $(seq 600); do grep -q "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
    echo "no '$2' in $1" >&2; cat "$1" >&2; exit 1
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kib() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }

"$program" simulate --fleet "$printers" ${PLAIN:+--plain} --listen 127.0.0.1:0 --write-config "$work/fleet.toml" \
    --run-for $((window * 3 + 120)) > "$work/simulate.out" 2>&1 &
pids+=($!)
wait_for "$work/simulate.out" "serving a fleet"
head -6 "$work/fleet.toml" > "$work/one.toml"

# A service of one printer: the memory every service has.
"$program" serve --config "$work/one.toml" --listen 127.0.0.1:0 --interval "$interval" \
    --run-for 20 > "$work/one.out" 2>&1 &
one=$!
pids+=($one)
wait_for "$work/one.out" "serving"
sleep 5
base_rss=$(rss_kib "$one")
kill "$one"

sed -i "s/^uri = /interval = $interval\nuri = /" "$work/fleet.toml"
"$program" serve --config "$work/fleet.toml" --listen 127.0.0.1:0 --max-in-flight 16 \
    --run-for $((window * 3 + 60)) > "$work/serve.out" 2>&1 &
serve=$!
pids+=($serve)
wait_for "$work/serve.out" "serving"
port=$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$work/serve.out" | head -1 | cut -d: -f3)
sleep $((window / 2 + 10))  # every printer polled at least twice
hz=$(getconf CLK_TCK)
t0=$(cpu_ticks "$serve"); s0=$(date +%s.%N)
sleep "$window"
t1=$(cpu_ticks "$serve"); s1=$(date +%s.%N)
rss=$(rss_kib "$serve")
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET /printers.json HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' >&3
sed '1,/^\r$/d' <&3 > "$work/printers.json"
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET /metrics HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' >&3
sed '1,/^\r$/d' <&3 > "$work/metrics.txt"

python3 - "$work/printers.json" "$work/metrics.txt" "$printers" "$interval" "$t0" "$t1" "$s0" "$s1" "$hz" \
    "$rss" "$base_rss" <<'PY'
import json, sys
printers_file, metrics_file, n, interval, t0, t1, s0, s1, hz, rss, base = sys.argv[1:]
fleet = json.load(open(printers_file))["printers"]
answered = sorted(p["poll_seconds"] for p in fleet if p["state"] != "no response" and p["poll_seconds"] > 0)
def q(p): return answered[min(len(answered) - 1, int(p * len(answered)))] * 1000
cycles = 0
for line in open(metrics_file):
    if line.startswith("tb58_poll_duration_seconds_count"): cycles = float(line.split()[-1])
cpu = (int(t1) - int(t0)) / int(hz) / (float(s1) - float(s0)) * 100
per_printer = (int(rss) - int(base)) / int(n)
print(f"fleet of {n} printers polled every {interval} s ({int(n) / float(interval):.0f} cycles/s planned), "
      f"{cycles:.0f} cycles so far")
print(f"serve CPU: {cpu:.1f} % of one core over {float(s1) - float(s0):.0f} s (goal < 25 %)")
print(f"cycle time: p50 {q(0.5):.2f} ms, p99 {q(0.99):.2f} ms over {len(answered)} answering printers")
print(f"memory: {int(rss) / 1024:.1f} MiB resident, {per_printer:.1f} KiB per printer (goal < 20 KiB; "
      f"one-printer service {int(base) / 1024:.1f} MiB)")
PY
