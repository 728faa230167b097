#!/usr/bin/env bash
# The fleet page in a real browser: 'simulate --fleet' serves eight printers
# on 127.0.0.1 (a jam and a service call among them), 'serve' polls them
# (the last one over snmp://, the others over socket://),
# and headless Chromium loads the page in English and Japanese, and from a
# second 'serve --lang DE' without ?lang= in German.  The rendered DOM must
# hold every printer's card with the library's short text and a loaded
# picture, and in Japanese and German no English word of the page's own
# (page_words_check.py compares it with the English page's words).
#
# The same pages are loaded once more through page_stub_server.py, which
# gives the printers fixed events of every kind and answers /history.json
# with fixed spans: the cards must show the events and the strip its bars,
# in the page's language, and a text with markup must arrive as text.
# The stub's page is then read in each of the other display languages the
# language menu offers, with the same checks, without screenshots.
# Where the service has its own /history.json, the real pages must show
# the jam's events and the strip too.  The screenshots stay in the work
# folder to be looked at.  Everything stops by itself: the printers after
# 130 s, the services after 120 s, the stub after 115 s, each browser run
# after 60 s.
#
#   serve_page_case.sh PROGRAM WORK_DIR
set -uo pipefail
source "$(dirname "$0")/case_helpers.sh"
program=$1
work=$2
tests=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
browser=$(command -v chromium || command -v chromium-browser || true)
if [[ -z "$browser" || ! -x /usr/sbin/snmpd ]] || ! command -v python3 > /dev/null; then
    echo "chromium, snmpd or python3 is not installed: skipped"
    exit 77
fi

pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null' EXIT

for try in 1 2 3; do
    snmp_base=$((20000 + RANDOM % 30000))
    "$program" simulate --fleet 8 --listen 127.0.0.1:0 --snmp-port "$snmp_base" --write-config fleet.toml \
        --run-for 130 > simulate.out 2>&1 &
    pids+=($!)
    wait_for simulate.out "serving a fleet" && break
done
# The first printer is watched without SNMP: its status cannot be read, and
# its card must say "unknown", never "ready".
sed -i '0,/^snmp_port = .*/s//snmp = false/' fleet.toml
# The last printer is watched over SNMP alone (snmp://, its MIB through the
# library's printer-management path): its card must show its supplies.
python3 - fleet.toml <<'PY'
import re, sys
text = open(sys.argv[1]).read()
head, last = text.rsplit("[[printer]]", 1)
port = re.search(r"^snmp_port = (\d+)$", last, re.M).group(1)
last = re.sub(r'^uri = "socket://[^"]*"$', f'uri = "snmp://127.0.0.1:{port}"', last, flags=re.M)
last = re.sub(r"^snmp_port = .*\n", "", last, flags=re.M)
open(sys.argv[1], "w").write(head + "[[printer]]" + last)
PY
"$program" serve --config fleet.toml --state-dir state --listen 127.0.0.1:0 --interval 1 --run-for 120 > serve.out 2>&1 &
pids+=($!)
wait_for serve.out "serving 8 printers" || exit 1
port=$(grep -o 'http://127\.0\.0\.1:[0-9]*' serve.out | head -1 | cut -d: -f3)
"$program" serve --config fleet.toml --state-dir state-de --listen 127.0.0.1:0 --interval 1 --lang de \
    --run-for 120 > serve-de.out 2>&1 &
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

python3 "$tests/page_stub_server.py" "$port" 115 > stub.out 2>&1 &
pids+=($!)
wait_for stub.out "stub on" || exit 1
stub_port=$(grep -o '127\.0\.0\.1:[0-9]*' stub.out | head -1 | cut -d: -f2)
real_history=$(get "$port" "/history.json?hours=24")

flags=(--headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking
       --disable-component-update --disable-sync --hide-scrollbars --virtual-time-budget=8000)
load() {  # load NAME URL: the DOM to NAME.html, the screenshot to NAME.png
    timeout 60 "$browser" "${flags[@]}" --user-data-dir="$PWD/browser-$1" --dump-dom "$2" > "$1.html" 2>/dev/null
    timeout 60 "$browser" "${flags[@]}" --user-data-dir="$PWD/browser-$1" --window-size=1280,2400 \
        --screenshot="$PWD/$1.png" "$2" > /dev/null 2>&1
    [[ -s "$1.png" ]] || { echo "no screenshot of $1"; status=1; }
}

status=0
for lang in EN JP DE; do
    url="http://127.0.0.1:$port/?lang=$lang"
    [[ $lang == DE ]] && url="http://127.0.0.1:$port_de/"  # the service's own language
    jam=$("$program" status --codes 42000 --lang "$lang" | tr -d '\r')
    service=$("$program" status --codes 40800 --lang "$lang" | tr -d '\r')
    load "dom-$lang" "$url"
    load "stub-$lang" "http://127.0.0.1:$stub_port/?lang=$lang"
    cp "dom-$lang.png" "page-$lang.png"
    cards=$(grep -o '<article class="card' "dom-$lang.html" | wc -l)
    loaded=$(grep -o 'data-loaded="1"' "dom-$lang.html" | wc -l)
    echo "$lang: $cards cards, $loaded pictures loaded; jam '$jam', service call '$service'"
    [[ $cards -eq 8 ]] || { echo "expected 8 cards"; status=1; }
    [[ $loaded -eq 8 ]] || { echo "expected 8 loaded pictures"; status=1; }
    grep -qF ">$jam<" "dom-$lang.html" || { echo "the jam's text is not on the page"; status=1; }
    grep -qF ">$service<" "dom-$lang.html" || { echo "the service call's text is not on the page"; status=1; }
    unknown=$(grep -o '<article class="card unknown"' "dom-$lang.html" | wc -l)
    [[ $unknown -eq 1 ]] || { echo "expected 1 card of unknown status, not $unknown"; status=1; }
    grep -qF "status codes not read: SNMP is off" "dom-$lang.html" || { echo "the unknown card gives no reason"; status=1; }
    tables=$(grep -o '<table class="supplies"' "dom-$lang.html" | wc -l)
    bars=$(grep -o '<div class="supply"' "dom-$lang.html" | wc -l)
    echo "$lang: $tables supply tables, $bars supply bars"
    [[ $tables -eq 1 && $bars -ge 6 ]] || { echo "expected the snmp:// printer's supplies (1 table, 6 bars or more)"; status=1; }
    tag=$(tr '[:upper:]' '[:lower:]' <<< "$lang"); [[ $lang == JP ]] && tag=ja
    grep -q "<html lang=\"$tag\"" "dom-$lang.html" || { echo "the page is not marked as $tag"; status=1; }
    grep -q "<html lang=\"$tag\"" "stub-$lang.html" || { echo "the stub's page is not marked as $tag"; status=1; }

    # The stub's events and strip: 5 + 5 + 2 events; four printers in the
    # strip with 4 spans that are times within the 24 hours, and the 300
    # longest of the flapping printer's 1,000.
    python3 "$tests/page_words_check.py" stub-EN.html "stub-$lang.html" --events 12 --history-rows 4 --spans 304 \
        --hostile || status=1
    own_events=()
    [[ $real_history == *'"printers"'* ]] && own_events=(--with-events)
    if [[ $lang != EN ]]; then
        python3 "$tests/page_words_check.py" dom-EN.html "dom-$lang.html" "${own_events[@]}" || status=1
    fi
    if [[ $real_history == *'"printers"'* ]]; then
        # The service's own events: the jam began on a printer first seen jammed.
        events=$(grep -o '<li class="event' "dom-$lang.html" | wc -l)
        rows=$(grep -o '<div class="history-row"' "dom-$lang.html" | wc -l)
        echo "$lang: the service's own events: $events in the cards, $rows printers in the strip"
        ((events >= 1)) || { echo "no events in the cards"; status=1; }
        ((rows >= 1)) || { echo "no printer in the strip"; status=1; }
    fi
done
# The metrics of the mixed fleet: the snmp:// printer's supplies and
# inventory, in a text a Prometheus server takes.
get "$port" /metrics > metrics.txt
supplies=$(grep -c '^tb58_printer_supply_level_ratio{' metrics.txt)
echo "metrics: $supplies supply levels"
((supplies >= 4)) || { echo "expected the toners' levels in the metrics"; status=1; }
grep -q '^tb58_printer_info{' metrics.txt || { echo "no tb58_printer_info in the metrics"; status=1; }
if command -v promtool > /dev/null; then
    promtool check metrics < metrics.txt || { echo "promtool does not take the metrics"; status=1; }
fi
# Every other language of the menu, through the stub.
others=$(python3 -c 'import json, re, sys
words = re.search(r"<script id=\"words\" type=\"application/json\">(.*?)</script>", open(sys.argv[1]).read(), re.S)
print(" ".join(l["code"] for l in json.loads(words.group(1))["languages"] if l["code"] not in ("EN", "JP", "DE")))' \
    stub-EN.html)
[[ $(wc -w <<< "$others") -ge 10 ]] || { echo "the language menu offers too few languages: $others"; status=1; }
for lang in $others; do
    timeout 60 "$browser" "${flags[@]}" --user-data-dir="$PWD/browser-stub-$lang" --dump-dom \
        "http://127.0.0.1:$stub_port/?lang=$lang" > "stub-$lang.html" 2>/dev/null
    python3 "$tests/page_words_check.py" stub-EN.html "stub-$lang.html" --events 12 --history-rows 4 --spans 304 \
        || status=1
done
[[ $real_history == *'"printers"'* ]] || echo "the service has no /history.json yet: its own events not checked"
((status == 0)) || { echo "--- serve:"; cat serve.out serve-de.out stub.out; }
exit $status
