#!/usr/bin/env python3
"""Writes the seed inputs of the structured fuzz targets (centro_packet,
status, pminfo, names) into fuzz/corpus/<target>/.  Each seed is a byte
string in the order the target's harness reads its input, built from the
replies in tests/data and the situations of the monitor's scenarios.

Run from the repository root: python3 fuzz/make_seeds.py
The pjl_reply and device_id seeds are the files of tests/data as they are.
"""
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parent.parent
DATA = ROOT / "tests" / "data"
CORPUS = ROOT / "fuzz" / "corpus"


def word(value):
    return struct.pack(">I", value & 0xFFFFFFFF)


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(bytes(data))


# ---- centro_packet -------------------------------------------------------
def packet(with_query, reply, device_id):
    # Full record, CentroData root (the harness reads a spare key word first), no root data.
    out = bytearray([1]) + word(0) + bytes([0, 0])
    chunks = [reply[i:i + 1020] for i in range(0, len(reply), 1020)]
    children = ([b"q"] if with_query else []) + chunks[:3] + ([device_id] if device_id else [])
    out.append(len(children))
    for child in children:
        if child == b"q":
            out += bytes([0]) + word(0xFFFFFFFF)  # a QueryInfo of every flag
            continue
        shape = 1 if child is device_id else 4  # device ID or PJL text
        padded = child + b"\0" * (-len(child) % 4)
        out += bytes([shape]) + word(0) + bytes([len(padded) // 4]) + padded  # spare key word, then the text
    return out + word(0) + bytes([0])


def centro_packet_seeds():
    full = (DATA / "reply_full.pjl").read_bytes()
    tzmo = (DATA / "reply_tzmo.pjl").read_bytes()
    device_id = (DATA / "device_id.txt").read_bytes()
    write("centro_packet", "full_reply_with_query", packet(True, full, device_id))
    write("centro_packet", "full_reply", packet(False, full, device_id))
    write("centro_packet", "tzmo_reply", packet(False, tzmo, b""))


# ---- status --------------------------------------------------------------
LANGUAGES = ["JP", "EN", "DE", "FR", "IT", "ES", "NL", "SV", "DA", "NO", "CS", "HU", "PT", "PL", "FI"]
OPTIONS = [1, 8, 21, 22, 38, 41, 104, 113, 114, 115, 16, 4]


def status_record(codes, options=(), trays=(), no_response=False):
    out = bytearray([1, 0 if no_response else 1, len(codes)])
    for code, text in codes:
        out += word(code - 10000) + bytes([1, len(text)]) + text
    out.append(len(options))
    out += bytes(OPTIONS.index(option) for option in options)
    out.append(len(trays))
    out += bytes(trays)
    return out


def status_seeds():
    # The situations of the monitor's scenarios.
    situations = {
        "ready": [(10001, b"Ready")],
        "toner_low": [(10073, b"Toner low"), (10074, b"")],
        "paper_jam": [(40341, b"Jam")],
        "tray_empty": [(40800, b"Add paper")],
        "cover_open": [(41401, b"")],
        "service_call": [(42000, b"SC 542"), (42010, b"")],
    }
    for index, (name, codes) in enumerate(situations.items()):
        language = (index * 4) % 15
        seed = bytearray([language, 0, 0])  # kind 1, short text
        seed += status_record([(10001, b"")], options=(104, 21), trays=(1, 3, 4))
        seed += status_record(codes, trays=(3, 4, 5))
        seed += bytes([1, 1])
        write("status", f"{name}_{LANGUAGES[language].lower()}", seed)
    seed = bytearray([1, 0, 1]) + status_record([]) + status_record([], no_response=True) + bytes([1, 1])
    write("status", "no_response_long", seed)


# ---- pminfo --------------------------------------------------------------
def value(v):
    return bytes([v]) if 32 <= v < 128 else bytes([200]) + word(v)


def text(t):
    assert len(t) < 40
    return bytes([40 + len(t)]) + t + bytes([2])


def entries(items):
    """A supplied list of supplied entries (each already encoded)."""
    out = bytearray([len(items)])
    for item in items:
        out += item + bytes([2])
    return out + bytes([1]) + (bytes([2]) if not items else b"") + bytes([2])


def machine():
    out = bytearray()
    out += text(b"MX 5000") + text(b"1.07") + value(512 << 20) + text(b"Generic Imaging") + bytes([2])
    tray_a = lambda name, d1, d2, media, bit: (text(name) + value(0x30) + value(d1) + value(d2) + text(media) +
                                               value(bit) + value(0) + bytes([2]) + value(0))
    out += entries([tray_a(b"Tray 1", 210, 297, b"Plain", 1), tray_a(b"Bypass Tray", 297, 420, b"Thick", 4)])
    out += entries([text(b"Copy Tray") + value(1), text(b"Mailbox Tray 1") + value(0)])
    out += entries([value(642), value(644), value(656)])
    out += entries([text(b"LCT") + value(0x50) + value(210) + value(297) + text(b"Recycled") + value(2) +
                    value(0)])
    return out


def printer():
    out = bytearray(value(0) + bytes([2]))  # status word 0
    out += entries([text(b"Courier"), text(b"Times")])
    out += entries([text(b"4.02") + text(b"WEXA"), text(b"3.10") + text(b"Adobe PostScript 3")])
    out += entries([value(40341) + text(b"Jam in tray 2") + value(3)])
    return out


def pminfo_seeds():
    write("pminfo", "machine_then_printer",
          bytearray([1, 0, 0]) + machine() + word(0x447) + bytes([1, 0]) + printer() + word(0xF) + word(0xFFFFFFFF))
    write("pminfo", "printer_then_scanner",
          bytearray([1, 1, 0]) + printer() + word(0x3) + bytes([2, 0]) + value(0) + bytes([2]) +
          entries([value(20001) + text(b"Scanner ready") + value(0)]) + word(0x3) + word(0xFFFFFFFF))


# ---- names ---------------------------------------------------------------
def name_call(selector, name=b"", code=0, capacity=64):
    return (bytes([selector - 1, 0, len(name)]) + name + word(code - 620 if selector == 3 else 0) +
            bytes([capacity, 1]))


def names_seeds():
    trays = [b"Tray 1", b"Tray 2", b"Bypass Tray", b"LCT", b"Interposer Tray"]
    bins = [b"Copy Tray", b"Mailbox Tray 1", b"Mailbox Tray 3"]
    for language in range(15):
        calls = [name_call(1, trays[language % len(trays)]), name_call(2, bins[language % len(bins)]),
                 name_call(3, code=637 + language), name_call(1, b"Tray 3", capacity=3)]
        write("names", f"names_{LANGUAGES[language].lower()}", bytes([language, 3]) + b"".join(calls))


if __name__ == "__main__":
    centro_packet_seeds()
    status_seeds()
    pminfo_seeds()
    names_seeds()
