#!/usr/bin/env python3
"""Receivers of notices for the end-to-end case, on 127.0.0.1 only: a
webhook receiver and an SMTP receiver (standard library only).  Each request
or mail taken is appended as one JSON line to a file; the receiver stops by
itself after --run-for seconds.

  notice_receivers.py webhook PORT OUT_FILE --run-for SECONDS
  notice_receivers.py smtp PORT OUT_FILE --run-for SECONDS
PORT 0 takes a free port; the port is written to OUT_FILE.port.
"""
import argparse
import asyncio
import json
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


def append(path, record):
    with open(path, "a", encoding="utf-8") as out:
        out.write(json.dumps(record) + "\n")


def webhook(port, path, run_for):
    class Handler(BaseHTTPRequestHandler):
        def do_POST(self):
            length = min(int(self.headers.get("Content-Length", "0")), 1_000_000)
            body = self.rfile.read(length).decode("utf-8", "replace")
            append(path, {"key": self.headers.get("Idempotency-Key"), "body": body})
            self.send_response(200)
            self.send_header("Content-Length", "3")
            self.end_headers()
            self.wfile.write(b"ok\n")

        def log_message(self, *args):
            pass

    server = ThreadingHTTPServer(("127.0.0.1", port), Handler)
    with open(path + ".port", "w") as out:
        out.write(str(server.server_address[1]))
    threading.Timer(run_for, server.shutdown).start()
    server.serve_forever()


async def smtp_session(reader, writer, path):
    try:
        await smtp_dialogue(reader, writer, path)
    except (asyncio.TimeoutError, ConnectionError):
        pass
    writer.close()


async def smtp_dialogue(reader, writer, path):
    async def say(line):
        writer.write(line.encode() + b"\r\n")
        await writer.drain()

    await say("220 127.0.0.1 test receiver")
    recipients = []
    while True:
        line = await asyncio.wait_for(reader.readline(), 10)
        if not line:
            break
        verb = line[:4].decode("ascii", "replace").upper()
        if verb == "DATA":
            await say("354 go on")
            data = []
            while True:
                part = await asyncio.wait_for(reader.readline(), 10)
                if not part or part == b".\r\n":
                    break
                data.append(part[1:] if part.startswith(b"..") else part)
            append(path, {"to": recipients, "mail": b"".join(data).decode("utf-8", "replace")})
            recipients = []
            await say("250 taken")
        elif verb == "RCPT":
            recipients.append(line.decode("ascii", "replace").strip())
            await say("250 ok")
        elif verb == "QUIT":
            await say("221 bye")
            break
        else:
            await say("250 ok")


async def smtp(port, path, run_for):
    server = await asyncio.start_server(lambda r, w: smtp_session(r, w, path), "127.0.0.1", port)
    with open(path + ".port", "w") as out:
        out.write(str(server.sockets[0].getsockname()[1]))
    async with server:
        await asyncio.sleep(run_for)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("kind", choices=["webhook", "smtp"])
    parser.add_argument("port", type=int)
    parser.add_argument("out")
    parser.add_argument("--run-for", type=float, default=60)
    args = parser.parse_args()
    if args.kind == "webhook":
        webhook(args.port, args.out, args.run_for)
    else:
        asyncio.run(smtp(args.port, args.out, args.run_for))


if __name__ == "__main__":
    main()
