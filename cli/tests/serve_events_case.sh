#!/usr/bin/env bash
# The event history of 'serve' across a SIGKILL and a damaged database:
# 'simulate --script' serves a printer that is ready, then jammed, then
# ready again; 'serve' is killed with SIGKILL while the printer is jammed
# and started again on the same --state-dir.  The history must hold the
# jam's began and cleared once each, and no health change twice.  Then the
# database is replaced by garbage: a third 'serve' must say so on its
# output, answer 503 for the history and show the store down in /metrics,
# and go on polling.  Everything stops by itself: the printer after 60 s,
# each service after at most 40 s.
#
#   serve_events_case.sh PROGRAM WORK_DIR
set -uo pipefail
source "$(dirname "$0")/case_helpers.sh"
program=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
if [[ ! -x /usr/sbin/snmpd ]]; then
    echo "snmpd is not installed: skipped"
    exit 77
fi

pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null' EXIT
status_of() {  # status_of PORT PATH: the HTTP status code
    exec 3<>"/dev/tcp/127.0.0.1/$1" || return 1
    printf 'GET %s HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' "$2" >&3
    head -1 <&3 | cut -d' ' -f2
    exec 3<&-
}
serve() {  # serve OUTPUT: starts serve on the printer; sets port and serve_pid
    "$program" serve --printer "p1=socket://127.0.0.1:$pjl" --snmp-port "$snmp" --interval 1 --timeout 1 \
        --listen 127.0.0.1:0 --state-dir state --run-for 40 > "$1" 2>&1 &
    serve_pid=$!
    pids+=($serve_pid)
    wait_for "$1" "serving 1 printers" || exit 1
    port=$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$1" | head -1 | cut -d: -f3)
}
wait_for_event() {  # wait_for_event TEXT: until /events.json holds it, at most 20 s
    for _ in $(seq 200); do get "$port" /events.json | grep -q "$1" && return 0; sleep 0.1; done
    echo "no '$1' in the events:"; get "$port" /events.json; return 1
}

for try in 1 2 3; do
    pjl=$((20000 + RANDOM % 30000))
    snmp=$((pjl + 1))
    "$program" simulate --listen "127.0.0.1:$pjl" --snmp-port "$snmp" \
        --script all-well:3,jam-tray2-lct:12,all-well --run-for 60 > simulate.out 2>&1 &
    pids+=($!)
    wait_for simulate.out "serving" && break
done

serve serve-1.out
wait_for_event '"kind":"code_began"' || exit 1
kill -KILL "$serve_pid"
wait "$serve_pid" 2>/dev/null
serve serve-2.out
wait_for serve-2.out "printers remembered" || exit 1
wait_for_event '"kind":"code_cleared"' || exit 1
sleep 2
get "$port" '/events.json?limit=1000' > events.json
python3 - events.json <<'PY' || exit 1
import json, sys
events = json.load(open(sys.argv[1]))["events"][::-1]
kinds = [(e["kind"], e["code"]) for e in events]
print("events:", " ".join(f'{e["id"]}:{e["kind"]}:{e["health"]}' for e in events))
assert kinds.count(("code_began", 42000)) == 1, kinds
assert kinds.count(("code_cleared", 42000)) == 1, kinds
ids = [e["id"] for e in events]
assert ids == sorted(set(ids)), ids
healths = [e["health"] for e in events if e["kind"] == "health"]
assert all(a != b for a, b in zip(healths, healths[1:])), healths
assert healths[-1] == "ready" and "error" in healths, healths
PY
kill -TERM "$serve_pid"
wait "$serve_pid" 2>/dev/null

# A database of garbage: said once, polling goes on.
head -c 20000 /dev/urandom > state/events.db
rm -f state/events.db-wal state/events.db-shm
serve serve-3.out
wait_for serve-3.out "cannot write state/events.db: the file is damaged or not a database" || exit 1
polls=0
for _ in $(seq 100); do
    polls=$(get "$port" /metrics | awk '/^tb58_poll_duration_seconds_count/ {print $2 + 0}')
    ((${polls:-0} >= 3)) && break
    sleep 0.1
done
((${polls:-0} >= 3)) || { echo "polling stopped: $polls polls"; get "$port" /metrics; exit 1; }
get "$port" /metrics | grep -q '^tb58_event_store_up 0' || { echo "the store is not shown down"; exit 1; }
[[ $(status_of "$port" /events.json) == 503 ]] || { echo "the history is not 503"; exit 1; }
[[ $(get "$port" /healthz) == ok ]] || { echo "/healthz is not ok"; exit 1; }
grep -c "cannot write" serve-3.out | grep -qx 1 || { echo "the problem was said more than once"; cat serve-3.out; exit 1; }
echo "ok"
