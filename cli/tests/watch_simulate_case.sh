#!/usr/bin/env bash
# The built tb58mon as two people run it in two terminals: 'simulate' serves
# a printer on 127.0.0.1 whose script shows a jam appear and clear, 'watch'
# follows it and rewrites the picture, and Ctrl-C (SIGINT) ends the watch
# cleanly.  Everything is bounded: the printer stops by itself after 40 s,
# the watch is waited for at most 30 s.
#
#   watch_simulate_case.sh PROGRAM WORK_DIR
set -uo pipefail
program=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

if [[ ! -x /usr/sbin/snmpd ]]; then
    echo "snmpd is not installed: skipped"
    exit 77
fi
# A free UDP port for the agent, tried a few times.
for try in 1 2 3 4 5; do
    snmp_port=$((20000 + RANDOM % 30000))
    "$program" simulate --listen 127.0.0.1:0 --snmp-port "$snmp_port" \
        --script all-well:2,jam-tray2-lct:3,all-well --run-for 40 > simulate.out 2>&1 &
    simulator=$!
    for _ in $(seq 100); do
        grep -q "serving" simulate.out && break
        kill -0 "$simulator" 2>/dev/null || break
        sleep 0.1
    done
    grep -q "serving" simulate.out && break
    wait "$simulator" 2>/dev/null
done
trap 'kill "$simulator" 2>/dev/null; wait "$simulator" 2>/dev/null' EXIT
port=$(grep -o 'on 127\.0\.0\.1:[0-9]*' simulate.out | head -1 | cut -d: -f2)
[[ -n "$port" ]] || { echo "simulate did not start:"; cat simulate.out; exit 1; }

"$program" watch "socket://127.0.0.1:$port" --snmp-port "$snmp_port" --interval 0.5 --timeout 2 \
    --out status.png > watch.out 2> watch.err &
watcher=$!
# Until the jam has come and gone (at most 30 s).
for _ in $(seq 300); do
    if grep -q "Paper Misfeed" watch.out && [[ $(grep -c "status: Operational | Ready" watch.out) -ge 2 ]]; then
        break
    fi
    sleep 0.1
done
kill -INT "$watcher"
for _ in $(seq 100); do
    kill -0 "$watcher" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$watcher" 2>/dev/null; then
    kill -KILL "$watcher"
    echo "watch did not end on Ctrl-C"
    exit 1
fi
wait "$watcher"
code=$?

echo "--- simulate:"; cat simulate.out
echo "--- watch:"; cat watch.out watch.err
[[ $code -eq 0 ]] || { echo "watch ended with $code after Ctrl-C"; exit 1; }
ready=$(grep -n "status: Operational | Ready" watch.out | head -1 | cut -d: -f1)
jam=$(grep -n "status: Paper Misfeed" watch.out | head -1 | cut -d: -f1)
cleared=$(grep -n "status: Operational | Ready" watch.out | sed -n 2p | cut -d: -f1)
if [[ -z "$ready" || -z "$jam" || -z "$cleared" ]] || ((ready > jam || jam > cleared)); then
    echo "expected ready, then the jam, then ready again"
    exit 1
fi
[[ -s status.png ]] || { echo "no picture written"; exit 1; }
echo "ready, jam and cleared in order; picture written"
