#!/usr/bin/env bash
# 'serve' under a small open-file limit, crowded by idle connections: with
# 'ulimit -n 256' and --max-in-flight 8 the HTTP front gets what is left
# after the reserve for polling (and says so), 253 idle connections from one client do not keep
# /healthz from answering within a second, and the three simulated
# printers go on being polled and answered: none turns "no response".  Everything listens on 127.0.0.1 and stops by itself: the
# printers after 60 s, the service after 40 s.
#
#   serve_limits_case.sh PROGRAM WORK_DIR
set -uo pipefail
source "$(dirname "$0")/case_helpers.sh"
program=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null' EXIT

"$program" simulate --fleet 3 --plain --listen 127.0.0.1:0 --write-config fleet.toml --run-for 60 > simulate.out 2>&1 &
pids+=($!)
wait_for simulate.out "serving a fleet" || exit 1
{ printf '[defaults]\ninterval = 0.5\ntimeout = 2\n\n'; cat fleet.toml; } > fast.toml
(ulimit -n 256 && exec "$program" serve --config fast.toml --listen 127.0.0.1:0 \
    --max-in-flight 8 --max-connections-per-client 1000 --run-for 40) > serve.out 2>&1 &
pids+=($!)
wait_for serve.out "serving 3 printers" || exit 1
port=$(grep -o 'http://127\.0\.0\.1:[0-9]*' serve.out | head -1 | cut -d: -f3)

status=0
grep -q "warning: 144 HTTP connections at most, not 256: the open-file limit is 256" serve.out ||
    { echo "no warning about the smaller cap"; status=1; }
for _ in $(seq 100); do  # every printer polled (at most 10 s)
    body=$(get "$port" /printers.json)
    [[ -n "$body" && "$body" != *'"waiting"'* ]] && break
    sleep 0.1
done

polls() { get "$port" /printers.json | grep -o '"last_poll":"[^"]*"'; }
before=$(polls)
crowd=()
for _ in $(seq 253); do
    exec {fd}<>"/dev/tcp/127.0.0.1/$port" || break
    crowd+=("$fd")
done
echo "${#crowd[@]} idle connections open"
[[ ${#crowd[@]} -eq 253 ]] || { echo "could not open 253 connections"; status=1; }
for round in 1 2 3 4 5; do
    started=$(date +%s%N)
    answer=$(timeout 1 bash -c "$(declare -f get); get $port /healthz")
    took=$((($(date +%s%N) - started) / 1000000))
    echo "healthz round $round: '${answer//$'\n'/}' in $took ms"
    [[ "$answer" == "ok" ]] || { echo "/healthz did not answer within 1 s"; status=1; }
    sleep 0.5
done
body=$(get "$port" /printers.json)
answered=$(grep -o '"response":true' <<< "$body" | wc -l)
[[ $answered -eq 3 ]] || { echo "expected 3 printers that answer:"; echo "$body"; status=1; }
if [[ -n "$(comm -12 <(sort <<< "$before") <(polls | sort))" ]]; then
    echo "a printer was not polled while the connections were open:"; echo "$before"; polls; status=1
fi
for fd in "${crowd[@]}"; do exec {fd}<&-; done
((status == 0)) || { echo "--- serve:"; cat serve.out; }
exit $status
