#!/usr/bin/env bash
# The fleet page in a real browser: 'simulate --fleet' serves eight printers
# on 127.0.0.1 (a jam and a service call among them), 'serve' polls them,
# and headless Chromium loads the page in English and Japanese, and from a
# second 'serve --lang DE' without ?lang= in German.  The rendered DOM must
# hold every printer's card with the library's short text and a loaded
# picture; the screenshots stay in the work folder to be looked at.  Everything stops by itself: the printers after 90 s, the service
# after 80 s, each browser run after 60 s.
#
#   serve_page_case.sh PROGRAM WORK_DIR
set -uo pipefail
program=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
browser=$(command -v chromium || command -v chromium-browser || true)
if [[ -z "$browser" || ! -x /usr/sbin/snmpd ]]; then
    echo "chromium or snmpd is not installed: skipped"
    exit 77
fi

pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null' EXIT
wait_for() {  # wait_for FILE TEXT: at most 15 s
    for _ in $(seq 150); do grep -q "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
    echo "no '$2' in $1:"; cat "$1"; return 1
}
get() {  # get PORT PATH: the body of an HTTP GET on 127.0.0.1
    exec 3<>"/dev/tcp/127.0.0.1/$1" || return 1
    printf 'GET %s HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' "$2" >&3
    sed '1,/^\r$/d' <&3
    exec 3<&-
}

for try in 1 2 3; do
    snmp_base=$((20000 + RANDOM % 30000))
    "$program" simulate --fleet 8 --listen 127.0.0.1:0 --snmp-port "$snmp_base" --write-config fleet.toml \
        --run-for 90 > simulate.out 2>&1 &
    pids+=($!)
    wait_for simulate.out "serving a fleet" && break
done
# The first printer is watched without SNMP: its status cannot be read, and
# its card must say "unknown", never "ready".
sed -i '0,/^snmp_port = .*/s//snmp = false/' fleet.toml
"$program" serve --config fleet.toml --listen 127.0.0.1:0 --interval 1 --run-for 80 > serve.out 2>&1 &
pids+=($!)
wait_for serve.out "serving 8 printers" || exit 1
port=$(grep -o 'http://127\.0\.0\.1:[0-9]*' serve.out | head -1 | cut -d: -f3)
"$program" serve --config fleet.toml --listen 127.0.0.1:0 --interval 1 --lang de --state-dir state-de --run-for 80 > serve-de.out 2>&1 &
pids+=($!)
wait_for serve-de.out "serving 8 printers" || exit 1
port_de=$(grep -o 'http://127\.0\.0\.1:[0-9]*' serve-de.out | head -1 | cut -d: -f3)

# Until every printer has been polled by both (at most 20 s each).
for p in "$port" "$port_de"; do
    for _ in $(seq 200); do
        body=$(get "$p" /printers.json)
        [[ -n "$body" && "$body" != *'"waiting"'* ]] && break
        sleep 0.1
    done
done

status=0
for lang in EN JP DE; do
    url="http://127.0.0.1:$port/?lang=$lang"
    [[ $lang == DE ]] && url="http://127.0.0.1:$port_de/"  # the service's own language
    jam=$("$program" status --codes 42000 --lang "$lang" | tr -d '\r')
    service=$("$program" status --codes 40800 --lang "$lang" | tr -d '\r')
    flags=(--headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking
           --disable-component-update --disable-sync --hide-scrollbars --user-data-dir="$PWD/browser-$lang")
    timeout 60 "$browser" "${flags[@]}" --dump-dom "$url" > "dom-$lang.html" 2>/dev/null
    timeout 60 "$browser" "${flags[@]}" --window-size=1280,1000 --screenshot="$PWD/page-$lang.png" \
        "$url" > /dev/null 2>&1
    cards=$(grep -o '<article class="card' "dom-$lang.html" | wc -l)
    loaded=$(grep -o 'data-loaded="1"' "dom-$lang.html" | wc -l)
    echo "$lang: $cards cards, $loaded pictures loaded; jam '$jam', service call '$service'"
    [[ $cards -eq 8 ]] || { echo "expected 8 cards"; status=1; }
    [[ $loaded -eq 8 ]] || { echo "expected 8 loaded pictures"; status=1; }
    grep -qF ">$jam<" "dom-$lang.html" || { echo "the jam's text is not on the page"; status=1; }
    grep -qF ">$service<" "dom-$lang.html" || { echo "the service call's text is not on the page"; status=1; }
    [[ -s "page-$lang.png" ]] || { echo "no screenshot"; status=1; }
    unknown=$(grep -o '<article class="card unknown"' "dom-$lang.html" | wc -l)
    [[ $unknown -eq 1 ]] || { echo "expected 1 card of unknown status, not $unknown"; status=1; }
    grep -qF "status codes not read: SNMP is off" "dom-$lang.html" || { echo "the unknown card gives no reason"; status=1; }
    if [[ $lang == DE ]]; then
        grep -q '<html lang="de"' "dom-$lang.html" || { echo "the page is not in German"; status=1; }
    fi
done
((status == 0)) || { echo "--- serve:"; cat serve.out serve-de.out; }
exit $status
