#!/usr/bin/env bash
# Notices end to end, on 127.0.0.1 only: two scripted printers, one jammed
# for 1 s (shorter than the hold: nobody is told) and one for 14 s; 'serve'
# tells a webhook and a mailbox in German.  The webhook receiver is down at
# first: the mail arrives, the webhook's notice waits in the outbox; then
# 'serve' is killed with SIGKILL, the receiver comes up, 'serve' starts
# again on the same state folder and the receiver gets the jam and its end,
# each once.  Everything stops by itself (the printers after 60 s, the
# services and receivers after 60 s).
#
#   serve_notify_case.sh PROGRAM WORK_DIR
set -uo pipefail
source "$(dirname "$0")/case_helpers.sh"
program=$1
work=$2
receivers=$(cd "$(dirname "$0")" && pwd)/notice_receivers.py
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
if [[ ! -x /usr/sbin/snmpd ]] || ! command -v python3 > /dev/null; then
    echo "snmpd or python3 is not installed: skipped"
    exit 77
fi

pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null' EXIT
fail() { echo "FAILED: $*"; for f in serve*.out hooks.jsonl mails.jsonl; do echo "--- $f"; cat "$f" 2>/dev/null; done; exit 1; }
wait_lines() {  # wait_lines FILE COUNT TENTHS
    for _ in $(seq "$3"); do [[ $(cat "$1" 2>/dev/null | wc -l) -ge $2 ]] && return 0; sleep 0.1; done
    return 1
}

python3 "$receivers" smtp 0 mails.jsonl --run-for 60 & pids+=($!)
python3 "$receivers" webhook 0 hooks.jsonl --run-for 60 & hook_pid=$!
wait_for mails.jsonl.port . && wait_for hooks.jsonl.port . || fail "the receivers did not start"
smtp_port=$(cat mails.jsonl.port)
hook_port=$(cat hooks.jsonl.port)
kill "$hook_pid"; wait "$hook_pid" 2>/dev/null  # down until serve is killed

start_printer() {  # start_printer NAME SCRIPT
    for try in 1 2 3; do
        "$program" simulate --listen 127.0.0.1:0 --snmp-port $((20000 + RANDOM % 30000)) --script "$2" --run-for 60 \
            > "$1.out" 2>&1 &
        pids+=($!)
        wait_for "$1.out" "serving scenario" 50 && return 0
    done
    return 1
}
start_printer long "all-well:3,jam-tray2-lct:14,all-well" || fail "no printer"
start_printer short "all-well:3,jam-tray2-lct:1,all-well" || fail "no printer"
printer_entry() {  # printer_entry NAME
    local line; line=$(grep -m1 "serving scenario" "$1.out")
    echo "[[printer]]"
    echo "name = \"$1\""
    echo "uri = \"socket://$(echo "$line" | grep -o '127\.0\.0\.1:[0-9]*' | head -1)\""
    echo "snmp_port = $(echo "$line" | grep -o 'udp 127\.0\.0\.1:[0-9]*' | cut -d: -f2)"
    echo "interval = 0.5"
    echo "timeout = 1"
}
{
    printer_entry long
    printer_entry short
    cat <<TOML
[[notify]]
name = "hook"
type = "webhook"
url = "http://127.0.0.1:$hook_port/printers"
on = ["error", "recovered"]
hold = "3s"
lang = "DE"

[[notify]]
name = "mail"
type = "email"
url = "smtp://127.0.0.1:$smtp_port"
starttls = false
from = "printers@example.org"
to = ["desk@example.org"]
on = ["error", "recovered"]
hold = "3s"
lang = "DE"
TOML
} > fleet.toml

"$program" serve --config fleet.toml --listen 127.0.0.1:0 --state-dir state --run-for 60 > serve1.out 2>&1 &
serve_pid=$!
pids+=($serve_pid)
wait_for serve1.out "serving 2 printers" || fail "serve did not start"
port=$(grep -o 'http://127\.0\.0\.1:[0-9]*' serve1.out | head -1 | cut -d: -f3)

# The jam of "long" is told by mail after its hold; the webhook's notice waits.
wait_lines mails.jsonl 1 200 || fail "no mail"
for _ in $(seq 50); do
    get "$port" /metrics | grep -q '^tb58_outbox_length [1-9]' && break
    sleep 0.1
done
get "$port" /metrics | grep -q '^tb58_outbox_length [1-9]' || fail "nothing pending in the outbox"
get "$port" /metrics | grep -q 'tb58_notifications_total{notifier="hook",outcome="failed"} [1-9]' ||
    fail "no failed try counted"
# The mail's answer reaches the database within a batch (200 ms); a kill
# before that sends it again after the restart, with the same Message-ID
# (at least once).  Here the kill comes after it.
sleep 1
kill -KILL "$serve_pid"; wait "$serve_pid" 2>/dev/null

python3 "$receivers" webhook "$hook_port" hooks.jsonl --run-for 50 & pids+=($!)
"$program" serve --config fleet.toml --listen 127.0.0.1:0 --state-dir state --run-for 50 > serve2.out 2>&1 &
pids+=($!)
wait_for serve2.out "serving 2 printers" || fail "serve did not start again"

# The jam and its end, each once, at both receivers; nothing of "short".
wait_lines hooks.jsonl 2 300 || fail "the webhook did not get the jam and its end"
wait_lines mails.jsonl 2 300 || fail "the mailbox did not get the jam and its end"
sleep 4
python3 - <<'PY' || fail "the notices are not as expected"
import base64, email, json, re, sys
hooks = [json.loads(line) for line in open("hooks.jsonl")]
mails = [json.loads(line) for line in open("mails.jsonl")]
bodies = [json.loads(h["body"]) for h in hooks]
problems = [b for b in bodies if b["notice"] == "problem"]
assert len(hooks) == 2, hooks
assert len({h["key"] for h in hooks}) == 2, hooks
assert all(h["key"] == b["notification_id"] for h, b in zip(hooks, bodies))
assert [b["notice"] for b in bodies] == ["problem", "recovered"], bodies
assert all(b["printer"] == "long" and b["language"] == "DE" for b in bodies), bodies
assert problems[0]["short"] == "Papierstau" and 42000 in problems[0]["codes"], problems
assert len(mails) == 2, [m["mail"][:400] for m in mails]
ids = [email.message_from_string(m["mail"])["Message-ID"] for m in mails]
assert len(set(ids)) == 2, ids
for mail in mails:
    message = email.message_from_string(mail["mail"])
    subject = str(email.header.make_header(email.header.decode_header(message["Subject"])))
    assert subject.startswith("[tb58mon] long") and "short" not in subject, subject
assert "Papierstau" in str(email.header.make_header(email.header.decode_header(
    email.message_from_string(mails[0]["mail"])["Subject"]))), mails[0]
parts = [p.get_content_type() for p in email.message_from_string(mails[0]["mail"]).walk()]
assert "text/plain" in parts and "image/png" in parts, parts
print("notices as expected:", [b["notice"] for b in bodies])
PY
echo "passed"
