#!/usr/bin/env python3
"""Checks a rendered status page (Chromium's --dump-dom) in one language
against the same page in English, with the words each page carries:

  - no English word of the page's own is left in its visible text, where
    the language's word differs from the English one (the printers' names,
    URIs and reasons, the library's texts of codes, trays and bins, and the
    language menu, which names each language in itself, are not the page's
    words);
  - the language's words of the labels are there, and with --events or
    --with-events those of the events and the strip;
  - with --events N, --history-rows N, --spans N: that many events in the
    cards, printers in the strip and spans in its bars;
  - with --hostile: the text with markup in the stub's events arrived as
    text, its places not filled.

    page_words_check.py EN_DOM LANG_DOM [--events N] [--history-rows N] [--spans N] [--hostile]
                                        [--with-events]"""
import argparse
import html.parser
import json
import re
import sys

WORDS = re.compile(r'<script id="words" type="application/json">(.*?)</script>', re.S)
FLEET = re.compile(r'<script id="fleet-data" type="application/json">(.*?)</script>', re.S)
PLACE = re.compile(r"\{\w*\}")
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}
NOT_THE_PAGES = {"script", "style", "select", "option"}
NOT_THE_PAGES_CLASSES = {"name", "uri", "reason", "supply-name"}
# Words the page shows whenever it has printers (a jam among them), and
# whenever it has events and a strip.
SHOWN = ["page_title", "printers", "toner", "counter", "last_contact", "output_bins", "health_error"]
SHOWN_WITH_EVENTS = ["recent_events", "last_24_hours", "now", "event_code_began"]
SHOWN_BY_THE_STUB = ["event_tray_empty", "event_toner_low", "event_code_cleared", "event_tray_filled", "event_toner_empty", "event_toner_ok",
                     "event_pages_daily", "health_ready", "health_no_response", "health_attention"]


class VisibleText(html.parser.HTMLParser):
    """The text a reader of the page sees, without what is not the page's
    own words."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack = []
        self.parts = []

    def handle_starttag(self, tag, attrs):
        if tag in VOID:
            return
        classes = set((dict(attrs).get("class") or "").split())
        hidden = tag in NOT_THE_PAGES or bool(classes & NOT_THE_PAGES_CLASSES)
        self.stack.append((tag, hidden or bool(self.stack and self.stack[-1][1])))

    def handle_endtag(self, tag):
        while self.stack:
            if self.stack.pop()[0] == tag:
                break

    def handle_data(self, data):
        if not (self.stack and self.stack[-1][1]):
            self.parts.append(data)

    def text(self):
        return "\n".join(self.parts)


def words_of(dom):
    found = WORDS.search(dom)
    if not found:
        sys.exit("no words in the page")
    return json.loads(found.group(1))


def all_words(words):
    """(key, text) of every word the page carries."""
    for table in ("words", "media", "bin_states", "paper_sizes"):
        for key, text in words[table].items():
            yield table + "." + key, text


def fragments(text):
    """The parts of a word around its places that are words themselves."""
    for part in PLACE.split(text):
        part = part.strip(" :：,.()（）%")
        if sum(c.isalpha() for c in part) >= 2:
            yield part


def printers_texts(dom):
    """The texts of the fleet's data that come from the printers and the
    library, not from the page (a code's text the library has only in
    English is not the page's word): longest first."""
    found = FLEET.search(dom)
    texts = set()
    for printer in json.loads(found.group(1)).get("printers", []) if found else []:
        texts.update(printer.get(key) or "" for key in ("name", "uri", "short", "long", "reason"))
        for part in printer.get("trays", []) + printer.get("bins", []):
            texts.add(part.get("name") or "")
        for event in printer.get("events") or []:
            texts.update(str(event.get(key) or "") for key in ("short", "long", "tray_name"))
    return sorted((t for t in texts if t), key=len, reverse=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("english")
    parser.add_argument("page")
    parser.add_argument("--events", type=int)
    parser.add_argument("--history-rows", type=int)
    parser.add_argument("--spans", type=int)
    parser.add_argument("--hostile", action="store_true")
    parser.add_argument("--with-events", action="store_true")
    args = parser.parse_args()
    english_dom = open(args.english, encoding="utf-8").read()
    dom = open(args.page, encoding="utf-8").read()
    english = dict(all_words(words_of(english_dom)))
    words = words_of(dom)
    ours = dict(all_words(words))
    reader = VisibleText()
    reader.feed(dom)
    visible = reader.text()
    pages_own = visible
    for text in printers_texts(dom):
        pages_own = pages_own.replace(text, "\n")
    # A fragment that is a word of this language too ("min") is no sign.
    own_fragments = {part for _, text in ours.items() for part in fragments(text)}
    problems = []

    for key, text in english.items():
        if ours.get(key) == text:
            continue
        for part in fragments(text):
            if part in own_fragments:
                continue
            if re.search(r"(?<![A-Za-z])" + re.escape(part) + r"(?![A-Za-z])", pages_own):
                problems.append("English '%s' (%s) is on the page" % (part, key))
    shown = SHOWN + (SHOWN_WITH_EVENTS if args.events is not None or args.with_events else [])
    shown += SHOWN_BY_THE_STUB if args.events else []
    for key in shown:
        for part in fragments(words["words"][key]) if PLACE.search(words["words"][key]) else [words["words"][key]]:
            if part not in visible:
                problems.append("'%s' (%s) is not on the page" % (part, key))

    counts = {"events": dom.count('<li class="event'), "history_rows": dom.count('<div class="history-row"'),
              "spans": len(re.findall(r'<div class="span[ "]', dom))}
    for name, count in counts.items():
        expected = getattr(args, name)
        if expected is not None and count != expected:
            problems.append("%d %s, not %d" % (count, name.replace("_", " "), expected))
    if args.history_rows and re.search(r'<section id="history"[^>]* hidden', dom):
        problems.append("the strip is hidden")
    if args.hostile:
        if "&lt;b&gt;Paper&lt;/b&gt; &lt;img src=x onerror=alert(1)&gt; {text} {n}" not in dom:
            problems.append("the text with markup is not on the page as it was sent")
        # The page's own data (script elements) carries the text as JSON.
        markup = re.sub(r"<script\b.*?</script>", "", dom, flags=re.S).replace("onerror=alert(1)&gt;", "")
        if "<b>Paper</b>" in markup or "onerror=alert" in markup:
            problems.append("markup of an event's text became markup of the page")
        if "kind_of_tomorrow" not in visible:
            problems.append("an event of an unknown kind is not shown by its name")

    print("%s: %d events, %d printers in the strip, %d spans" % (words["language"], counts["events"],
                                                                counts["history_rows"], counts["spans"]))
    for problem in problems:
        print("  " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
