#!/usr/bin/env python3
"""A stand-in in front of 'tb58mon serve' for the page test: it passes every
request on to the service on 127.0.0.1:BACKEND, but gives each printer of
the page's fleet data and of /printers.json a fixed list of events (every
kind, one with markup and places in its text, one of a kind the page does
not know), and answers /history.json with fixed spans around now (one
ongoing, one that began before the 24 hours, one with times that are no
times, and a printer that flapped all day).  So the page's events and its strip are drawn the same way in every
run, whatever the printers did.

    page_stub_server.py BACKEND_PORT SECONDS

Prints "stub on 127.0.0.1:PORT" and stops by itself after SECONDS."""
import datetime
import http.client
import http.server
import json
import re
import sys
import threading

BACKEND = int(sys.argv[1])
RUN_FOR = float(sys.argv[2])
FLEET_DATA = re.compile(r'(<script id="fleet-data" type="application/json">)(.*?)(</script>)', re.S)


def iso(minutes_ago):
    t = datetime.datetime.now(datetime.timezone.utc) - datetime.timedelta(minutes=minutes_ago)
    return t.strftime("%Y-%m-%dT%H:%M:%SZ")


def event(printer, number, minutes_ago, kind, **fields):
    e = {"id": number, "printer": printer["name"], "uri": printer["uri"], "time": iso(minutes_ago), "kind": kind,
         "health": "error", "previous_health": None, "code": None, "codes": [], "tray": None, "tray_name": None,
         "level": None, "toner": None, "previous_toner": None, "value": None, "day": None, "short": None,
         "long": None}
    e.update(fields)
    return e


def events_of(index, printer):
    """Five events, newest first; the first three printers share every kind
    between them."""
    tray = printer["trays"][0] if printer["trays"] else {"code": 3, "name": "Tray 1"}
    short = printer.get("short") or "-"
    yesterday = (datetime.datetime.now(datetime.timezone.utc) - datetime.timedelta(days=1)).strftime("%Y-%m-%d")
    if index == 0:
        return [event(printer, 105, 3, "code_began", code=42000, codes=[42000], short=short, long="Open the cover."),
                event(printer, 104, 3, "health", health="error", previous_health="ready", codes=[42000]),
                event(printer, 103, 50, "tray_empty", health="attention", tray=tray["code"],
                      tray_name="Tray 1", short=tray["name"]),
                event(printer, 102, 70, "toner", health="attention", toner="low", previous_toner="ok"),
                event(printer, 101, 26 * 60, "pages_daily", health="ready", value=1234, day=yesterday)]
    if index == 1:
        return [event(printer, 205, 2, "health", health="ready", previous_health="no response"),
                event(printer, 204, 9, "toner", health="ready", toner="ok", previous_toner="empty"),
                event(printer, 203, 15, "toner", health="attention", toner="empty", previous_toner="low"),
                event(printer, 202, 20, "tray_filled", health="ready", tray=tray["code"], tray_name="Tray 1",
                      level=80, short=tray["name"]),
                event(printer, 201, 30, "code_cleared", health="ready", code=40800, short=short)]
    if index == 2:
        return [event(printer, 302, 1, "code_began", code=1, codes=[1],
                      short="<b>Paper</b> <img src=x onerror=alert(1)> {text} {n}"),
                event(printer, 301, 4, "kind_of_tomorrow", health="ready")]
    return []


def with_events(fleet):
    for index, printer in enumerate(fleet.get("printers", [])):
        printer["events"] = events_of(index, printer)
    return fleet


def history(fleet):
    names = [p["name"] for p in fleet.get("printers", [])]
    printers = []
    for index, name in enumerate(names):
        spans = []
        if index == 0:
            spans = [{"health": "error", "from": iso(120), "to": iso(80), "codes": [42000]},
                     {"health": "attention", "from": iso(30), "to": None, "codes": []}]
        elif index == 1:
            spans = [{"health": "no_response", "from": iso(30 * 60), "to": iso(23 * 60), "codes": []},
                     {"health": "unknown", "from": "not a time", "to": iso(5), "codes": []}]
        elif index == 2:
            spans = [{"health": "no_response", "from": iso(400), "to": iso(380), "codes": []}]
        elif index == 3:
            # A printer that flapped all day: 1,000 spans of 20 s; the page
            # draws only the longest 300.
            spans = [{"health": "no_response", "from": iso(m + 1 / 3), "to": iso(m), "codes": []}
                     for m in range(1, 1001)]
        printers.append({"name": name, "spans": spans})
    return {"from": iso(24 * 60), "to": iso(0), "printers": printers}


def script_safe(data):
    return json.dumps(data, ensure_ascii=False).replace("<", "\\u003c")


class Stub(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def backend(self, path):
        connection = http.client.HTTPConnection("127.0.0.1", BACKEND, timeout=10)
        connection.request("GET", path, headers={"Host": "127.0.0.1"})
        reply = connection.getresponse()
        return reply.status, reply.getheaders(), reply.read()

    def answer(self, status, headers, body):
        self.send_response(status)
        for name, value in headers:
            if name.lower() not in ("content-length", "connection", "date", "server", "transfer-encoding"):
                self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path = self.path.split("?")[0]
        if path == "/history.json":
            _, _, body = self.backend("/printers.json")
            data = json.dumps(history(json.loads(body))).encode()
            self.answer(200, [("Content-Type", "application/json; charset=utf-8")], data)
            return
        status, headers, body = self.backend(self.path)
        if status == 200 and path == "/printers.json":
            body = json.dumps(with_events(json.loads(body)), ensure_ascii=False).encode()
        elif status == 200 and path == "/":
            page = body.decode()
            page = FLEET_DATA.sub(lambda m: m.group(1) + script_safe(with_events(json.loads(m.group(2)))) + m.group(3),
                                  page, count=1)
            body = page.encode()
        self.answer(status, headers, body)


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Stub)
server.daemon_threads = True
threading.Timer(RUN_FOR, server.shutdown).start()
print("stub on 127.0.0.1:%d" % server.server_address[1], flush=True)
server.serve_forever()
