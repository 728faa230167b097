#!/usr/bin/env bash
# The fleet service under load: 'simulate --fleet N' serves N printers on
# 127.0.0.1 (PJL only: one SNMP agent per printer would measure snmpd), and
# 'serve' polls each every INTERVAL seconds with a deadline of INTERVAL
# seconds.  After a warm-up it reports the service's CPU use over a
# measuring window, the p50/p99 time of a whole poll cycle (from every
# printer's latest cycle), the age of the answering printers' last contact
# (sampled every INTERVAL seconds through the window), and the memory per
# printer (resident size against a service of one printer).
#
#   bench/fleet_bench.sh PROGRAM [PRINTERS=1000] [INTERVAL=5] [SECONDS=30]
#
# SILENT=S makes the last S printers of the fleet take every query and never
# answer; CLIENTS=C runs C HTTP clients (wrk) that load the page and
# /printers.json in a loop through the measuring window; PLAIN=1 switches
# the fleet's fault switches off; SNMP=1 makes the fleet printers that
# answer SNMP only (bench/snmp_fleet_agent.cpp, tb58mon_snmp_fleet beside
# the program's build folder) and 'serve' watch them over snmp://.
set -euo pipefail
program=$1
printers=${2:-1000}
interval=${3:-5}
window=${4:-30}
silent=${SILENT:-0}
clients=${CLIENTS:-0}
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

wait_for() {
    for _ in $(seq 600); do grep -q "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
    echo "no '$2' in $1" >&2; cat "$1" >&2; exit 1
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kib() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }
get() {  # get PORT PATH: the body of an HTTP GET on 127.0.0.1
    exec 3<>"/dev/tcp/127.0.0.1/$1"
    printf 'GET %s HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' "$2" >&3
    sed '1,/^\r$/d' <&3
    exec 3<&-
}

if [[ -n ${SNMP:-} ]]; then
    "$(dirname "$program")/../bench/tb58mon_snmp_fleet" "$printers" "$work/fleet.toml" $((window * 3 + 120)) \
        > "$work/simulate.out" 2>&1 &
else
    "$program" simulate --fleet "$printers" ${PLAIN:+--plain} --silent "$silent" --listen 127.0.0.1:0 \
        --write-config "$work/fleet.toml" --run-for $((window * 3 + 120)) > "$work/simulate.out" 2>&1 &
fi
pids+=($!)
wait_for "$work/simulate.out" "serving a fleet"
awk '/^\[\[printer\]\]/ && n++ {exit} {print}' "$work/fleet.toml" > "$work/one.toml"

# A service of one printer: the memory every service has.
"$program" serve --config "$work/one.toml" --listen 127.0.0.1:0 --interval "$interval" --state-dir "$work/state-one" \
    --run-for 20 > "$work/one.out" 2>&1 &
one=$!
pids+=($one)
wait_for "$work/one.out" "serving"
sleep 5
base_rss=$(rss_kib "$one")
kill "$one"

sed -i "s/^uri = /interval = $interval\ntimeout = $interval\nuri = /" "$work/fleet.toml"
# The clients all come from 127.0.0.1: room for each of them.
"$program" serve --config "$work/fleet.toml" --listen 127.0.0.1:0 --state-dir "$work/state" --max-connections-per-client $((clients + 32)) \
    --run-for $((window * 3 + 60)) > "$work/serve.out" 2>&1 &
serve=$!
pids+=($serve)
wait_for "$work/serve.out" "serving"
port=$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$work/serve.out" | head -1 | cut -d: -f3)
sleep $((window / 2 + 10))  # every printer polled at least twice
if ((clients > 0)); then
    command -v wrk >/dev/null || { echo "CLIENTS needs wrk (apt-get install wrk)" >&2; exit 1; }
    cat > "$work/paths.lua" <<'LUA'
local n = 0
request = function()
  n = n + 1
  return wrk.format("GET", n % 2 == 0 and "/" or "/printers.json", {["Host"] = "127.0.0.1"})
end
LUA
    wrk -t 2 -c "$clients" -d "$((window + 5))s" -s "$work/paths.lua" "http://127.0.0.1:$port" > "$work/wrk.out" 2>&1 &
    load=$!
    pids+=($load)
    sleep 2
fi
hz=$(getconf CLK_TCK)
rss=$(rss_kib "$serve")  # polling only: before the samples below build the fleet's JSON
t0=$(cpu_ticks "$serve"); s0=$(date +%s.%N)
samples=0
for ((at = 0; at < window; at += interval)); do
    get "$port" /printers.json > "$work/sample-$samples.json"
    date +%s.%N > "$work/sample-$samples.time"
    samples=$((samples + 1))
    sleep "$interval"
done
t1=$(cpu_ticks "$serve"); s1=$(date +%s.%N)
rss_served=$(rss_kib "$serve")
get "$port" /metrics > "$work/metrics.txt"
if ((clients > 0)); then wait "$load" || true; fi

python3 - "$work" "$samples" "$printers" "$silent" "$interval" "$t0" "$t1" "$s0" "$s1" "$hz" "$rss" "$base_rss" \
    "$rss_served" <<'PY'
import datetime, json, re, sys
work, samples, n, silent, interval, t0, t1, s0, s1, hz, rss, base, rss_served = sys.argv[1:]
n, silent, interval = int(n), int(silent), float(interval)
def quantile(values, p):
    return sorted(values)[min(len(values) - 1, int(p * len(values)))] if values else float("nan")
ages, durations, never = [], [], 0
for i in range(int(samples)):
    fleet = json.load(open(f"{work}/sample-{i}.json"))["printers"]
    taken = float(open(f"{work}/sample-{i}.time").read())
    for p in fleet:
        if p["name"].endswith("-silent") or p["name"].endswith("-no-response"):
            continue
        if p["last_contact"] is None:
            never += 1
            continue
        contact = datetime.datetime.fromisoformat(p["last_contact"].replace("Z", "+00:00")).timestamp()
        ages.append(taken - contact)
        if i == int(samples) - 1 and p["poll_seconds"] > 0:
            durations.append(p["poll_seconds"] * 1000)
cycles = 0
for line in open(f"{work}/metrics.txt"):
    if line.startswith("tb58_poll_duration_seconds_count"): cycles = float(line.split()[-1])
cpu = (int(t1) - int(t0)) / int(hz) / (float(s1) - float(s0)) * 100
per_printer = (int(rss) - int(base)) / n
print(f"fleet of {n} printers ({silent} silent) polled every {interval:g} s with a {interval:g} s deadline, "
      f"{cycles:.0f} cycles so far")
print(f"serve CPU: {cpu:.1f} % of one core over {float(s1) - float(s0):.0f} s")
print(f"cycle time of the answering printers: p50 {quantile(durations, 0.5):.2f} ms, "
      f"p99 {quantile(durations, 0.99):.2f} ms over {len(durations)} printers")
print(f"last contact of the answering printers: p50 {quantile(ages, 0.5):.1f} s, p99 {quantile(ages, 0.99):.1f} s, "
      f"max {max(ages) if ages else float('nan'):.1f} s over {len(ages)} samples; never heard: {never}")
print(f"memory: {int(rss) / 1024:.1f} MiB resident, {per_printer:.1f} KiB per printer "
      f"(one-printer service {int(base) / 1024:.1f} MiB); {int(rss_served) / 1024:.1f} MiB after serving "
      f"the fleet's JSON {samples} times")
try:
    wrk = open(f"{work}/wrk.out").read()
    m = re.search(r"Requests/sec:\s*([0-9.]+)", wrk)
    print(f"HTTP load: {m.group(1) if m else '?'} requests/s from the clients")
except FileNotFoundError:
    pass
PY
