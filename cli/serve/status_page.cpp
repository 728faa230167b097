#include "serve/status_page.h"

#include "base/ui_words.h"
#include "serve/page_words.h"

namespace tb58mon {
namespace {

constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="@TAG@">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>@TITLE@ - tb58mon</title>
<style>
:root { --ok: #2e7d32; --warn: #b26a00; --bad: #c62828; --off: #616161; --unknown: #6a1b9a; --wait: #1565c0; }
* { box-sizing: border-box; }
body { margin: 0; font: 15px/1.4 system-ui, -apple-system, "Segoe UI", "Noto Sans", "Noto Sans CJK JP", "IPAGothic", sans-serif; background: #f4f5f7; color: #1f2328; }
header.top { display: flex; flex-wrap: wrap; gap: .5rem 1.5rem; align-items: center; padding: .8rem 1rem; background: #fff; border-bottom: 1px solid #d0d7de; position: sticky; top: 0; z-index: 1; }
header.top h1 { font-size: 1.2rem; margin: 0; }
#summary { color: #57606a; }
label.lang { margin-left: auto; }
main { display: grid; grid-template-columns: repeat(auto-fill, minmax(300px, 1fr)); gap: 1rem; padding: 1rem; }
article.card { background: #fff; border: 1px solid #d0d7de; border-top: 6px solid var(--ok); border-radius: 8px; padding: .8rem; display: flex; flex-direction: column; gap: .4rem; min-width: 0; }
.error { --health: var(--bad); } .no-response { --health: var(--off); } .attention { --health: var(--warn); }
.unknown { --health: var(--unknown); } .waiting { --health: var(--wait); } .ready { --health: var(--ok); }
article.card { border-top-color: var(--health, var(--ok)); }
.card header { display: flex; justify-content: space-between; align-items: baseline; gap: .5rem; }
.card h2 { font-size: 1.05rem; margin: 0; overflow-wrap: anywhere; }
.badge { font-size: .75rem; text-transform: uppercase; letter-spacing: .04em; color: #fff; background: var(--health, var(--ok)); border-radius: 999px; padding: .1rem .6rem; white-space: nowrap; }
.card img { width: 100%; max-width: 320px; height: auto; align-self: center; image-rendering: pixelated; }
.short { font-weight: 600; font-size: 1.05rem; margin: 0; }
.long { white-space: pre-line; margin: 0; color: #333; }
.reason { margin: 0; color: var(--off); font-size: .85rem; }
table.trays { border-collapse: collapse; width: 100%; font-size: .85rem; }
table.trays td { padding: .1rem .4rem .1rem 0; vertical-align: middle; }
table.trays td:first-child, table.trays td.level { white-space: nowrap; }
table.trays td.paper { color: #57606a; font-size: .75rem; padding-bottom: .3rem; white-space: normal; overflow-wrap: anywhere; }
meter { width: 3rem; vertical-align: middle; }
table.supplies { border-collapse: collapse; width: 100%; font-size: .85rem; }
table.supplies td { padding: .1rem .4rem .1rem 0; vertical-align: middle; overflow-wrap: anywhere; }
table.supplies td.state { white-space: nowrap; text-align: right; font-variant-numeric: tabular-nums; }
.supply { width: 4rem; height: .6rem; background: #eaeef2; border-radius: 3px; overflow: hidden; border: 1px solid #d0d7de; }
.supply .fill { height: 100%; background: var(--supply, #8c959f); }
dl { display: grid; grid-template-columns: auto 1fr; gap: .1rem .8rem; margin: 0; font-size: .85rem; }
dt { color: #57606a; } dd { margin: 0; }
.uri { color: #57606a; font-size: .8rem; overflow-wrap: anywhere; }
section.events h3 { font-size: .8rem; color: #57606a; margin: .2rem 0; font-weight: 600; }
section.events ol { list-style: none; margin: 0; padding: 0; font-size: .8rem; }
section.events li { padding-left: .9rem; position: relative; overflow-wrap: anywhere; }
section.events li::before { content: ""; position: absolute; left: 0; top: .45em; width: .5rem; height: .5rem; border-radius: 50%; background: var(--health, var(--ok)); }
section.events time { color: #57606a; margin-right: .3rem; font-variant-numeric: tabular-nums; }
#history { background: #fff; border-bottom: 1px solid #d0d7de; padding: .6rem 1rem; }
#history h2 { font-size: .95rem; margin: 0 0 .4rem; }
.history-row, .history-axis { display: grid; grid-template-columns: minmax(6rem, 12rem) 1fr minmax(8rem, 22rem); gap: .8rem; align-items: center; font-size: .8rem; }
.history-axis { color: #57606a; }
.history-axis .ends { display: flex; justify-content: space-between; }
.history-row .name { overflow-wrap: anywhere; }
.history-row .total { color: #57606a; }
.bar { position: relative; height: .9rem; background: #dcebdd; border-radius: 3px; overflow: hidden; }
.bar .span { position: absolute; top: 0; bottom: 0; background: var(--health, var(--ok)); }
.quiet { color: #57606a; margin: 0; font-size: .85rem; }
</style>
</head>
<body>
<header class="top"><h1>@TITLE@</h1><span id="summary"></span>
<label class="lang">@LANGUAGE@ <select id="lang"></select></label></header>
<section id="history" hidden><h2>@LAST_24_HOURS@</h2>
<div class="history-axis"><span></span><span class="ends"><span class="from"></span><span class="to"></span></span><span></span></div>
<div id="history-rows"></div></section>
<main id="fleet"></main>
<script id="words" type="application/json">@WORDS@</script>
<script id="fleet-data" type="application/json">)";

constexpr std::string_view kTail = R"(</script>
<script>
"use strict";
const W = JSON.parse(document.getElementById("words").textContent);
const data = JSON.parse(document.getElementById("fleet-data").textContent);
const lang = data.language;
const HEALTHS = ["error", "no_response", "attention", "unknown", "waiting", "ready"];
const MOST_HISTORY_ROWS = 100;
const MOST_SPANS_DRAWN = 300;
const own = (table, key) => table !== null && typeof table === "object" && Object.prototype.hasOwnProperty.call(table, key);
function el(tag, cls, text) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined && text !== null) e.textContent = String(text);
  return e;
}
// A word of the catalog with its places filled in, in one pass.
function word(key, values) {
  const pattern = own(W.words, key) ? W.words[key] : key;
  return pattern.replace(/\{(\w*)\}/g, (place, name) => own(values, name) ? String(values[name]) : place);
}
const healthKey = h => String(h).replace(/ /g, "_");
const healthWord = h => own(W.words, "health_" + healthKey(h)) ? W.words["health_" + healthKey(h)] : String(h);
const healthClass = h => HEALTHS.includes(healthKey(h)) ? healthKey(h).replace("_", "-") : "";
const inWords = (table, w) => (w && own(table, w)) ? table[w] : w;
const number = n => Number(n).toLocaleString(W.tag);
const clock = new Intl.DateTimeFormat(W.tag, {hour: "2-digit", minute: "2-digit"});
const dateClock = new Intl.DateTimeFormat(W.tag, {month: "short", day: "numeric", hour: "2-digit", minute: "2-digit"});
const fullTime = new Intl.DateTimeFormat(W.tag, {dateStyle: "medium", timeStyle: "medium"});
const utcDay = new Intl.DateTimeFormat(W.tag, {dateStyle: "medium", timeZone: "UTC"});
function localTime(iso) {
  const t = new Date(iso);
  if (isNaN(t)) return "-";
  return (t.toDateString() === new Date().toDateString() ? clock : dateClock).format(t);
}
function dayText(day) {
  const t = new Date(String(day) + "T00:00:00Z");
  return isNaN(t) ? String(day) : utcDay.format(t);
}
function duration(seconds) {
  const s = Math.max(0, Math.round(seconds));
  if (s < 90) return word("duration_seconds", {n: number(s)});
  if (s < 5400) return word("duration_minutes", {n: number(Math.round(s / 60))});
  return word("duration_hours", {n: (s / 3600).toLocaleString(W.tag, {maximumFractionDigits: 1})});
}
function ago(iso) {
  if (!iso) return word("never");
  const s = Math.max(0, Math.round((Date.now() - Date.parse(iso)) / 1000));
  return s < 90 ? word("seconds_ago", {n: number(s)}) : s < 5400 ? word("minutes_ago", {n: number(Math.round(s / 60))})
                                                   : word("hours_ago", {n: number(Math.round(s / 3600))});
}
function eventText(e) {
  const code = () => e.short || word("code", {code: e.code});
  const tray = () => e.short || e.tray_name || String(e.tray);
  switch (e.kind) {
    case "health": return (e.previous_health ? healthWord(e.previous_health) + " \u2192 " : "") + healthWord(e.health);
    case "code_began": return word("event_code_began", {text: code()});
    case "code_cleared": return word("event_code_cleared", {text: code()});
    case "tray_empty": return word("event_tray_empty", {tray: tray()});
    case "tray_filled":
      return word("event_tray_filled", {tray: tray(), level: typeof e.level === "number" ? number(e.level) : "-"});
    case "toner": return own(W.words, "event_toner_" + e.toner) ? W.words["event_toner_" + e.toner] : word("toner");
    case "pages_daily": return word("event_pages_daily", {day: dayText(e.day), value: number(e.value)});
  }
  return String(e.kind);
}
function eventList(events) {
  const section = el("section", "events");
  const list = el("ol");
  for (const e of events.slice(0, 5)) {
    const item = el("li", "event " + healthClass(e.health));
    item.dataset.kind = String(e.kind);
    const time = el("time", null, localTime(e.time));
    time.dateTime = String(e.time);
    if (!isNaN(new Date(e.time))) time.title = fullTime.format(new Date(e.time));
    item.append(time, el("span", null, eventText(e)));
    if (e.long && e.long !== e.short) item.title = e.long;
    list.append(item);
  }
  section.append(el("h3", null, word("recent_events")), list);
  return section;
}
// A bar per supply in its colour: what is left, or for a receptacle (a
// waste toner box) how full it is.
const SUPPLY_COLOURS = {black: "#24292f", cyan: "#0aa5d8", magenta: "#c8177e", yellow: "#e3b400"};
function supplyTable(supplies) {
  const t = el("table", "supplies");
  const head = t.insertRow().insertCell(); head.colSpan = 3; head.textContent = word("supplies");
  for (const s of supplies) {
    const r = t.insertRow();
    // The printer's own name of the supply, in the printer's language.
    const name = r.insertCell(); name.className = "supply-name"; name.textContent = String(s.description || s.type || "");
    const bar = el("div", "supply"); const fill = el("div", "fill");
    const level = typeof s.level === "number" ? Math.max(0, Math.min(1, s.level)) : null;
    const shown = level === null ? 0 : (s.receptacle ? 1 - level : level);
    fill.style.width = (shown * 100).toFixed(0) + "%";
    if (own(SUPPLY_COLOURS, s.color)) fill.style.setProperty("--supply", SUPPLY_COLOURS[s.color]);
    bar.append(fill); r.insertCell().append(bar);
    const c = r.insertCell(); c.className = "state";
    if (level === null) c.textContent = word(s.level_kind === "some_remaining" ? "supply_some_remaining" : "supply_unknown");
    else if (s.receptacle) c.textContent = word("supply_full", {n: number(Math.ceil((1 - level) * 100 - 1e-9))});
    else c.textContent = number(Math.floor(level * 100 + 1e-9)) + " %";
  }
  return t;
}
function card(p) {
  const a = el("article", "card " + healthClass(p.state));
  a.id = "printer-" + p.name;
  const h = el("header"); h.append(el("h2", "name", p.name), el("span", "badge", healthWord(p.state))); a.append(h);
  const img = el("img"); img.alt = word("picture_of", {name: p.name}); img.width = 320; img.height = 200;
  img.onload = () => { img.dataset.loaded = "1"; };
  img.src = p.picture; a.append(img);
  a.append(el("p", "short", p.short || "-"));
  if (p.long && p.long !== p.short) a.append(el("p", "long", p.long));
  if (p.reason) a.append(el("p", "reason", p.reason));
  if (p.trays.length) {
    const t = el("table", "trays");
    for (const tray of p.trays) {
      const r = t.insertRow();
      r.insertCell().textContent = tray.name;
      const c = r.insertCell(); c.className = "level";
      if (tray.level !== null) { const m = el("meter"); m.min = 0; m.max = 100; m.value = tray.level; m.title = tray.level + " %"; c.append(m, " " + number(tray.level) + " %"); }
      // The paper on a line of its own: "A4, lange Kante zuerst" needs the card's width.
      const paper = [inWords(W.paper_sizes, tray.size), inWords(W.media, tray.media)].filter(x => x).join(" \u00b7 ");
      if (paper) { const line = t.insertRow().insertCell(); line.colSpan = 2; line.className = "paper"; line.textContent = paper; }
    }
    a.append(t);
  }
  if (Array.isArray(p.supplies) && p.supplies.length) a.append(supplyTable(p.supplies));
  const d = el("dl");
  const add = (k, ...v) => { const dd = el("dd"); dd.append(...v); d.append(el("dt", null, k), dd); };
  if (p.bins.length) {
    add(word("output_bins"), ...p.bins.map(b => el("div", null, word("label_value", {label: b.name, value: inWords(W.bin_states, b.state)}))));
  }
  add(word("toner"), p.toner ? (own(W.words, "toner_" + p.toner) ? W.words["toner_" + p.toner] : String(p.toner)) : "-");
  add(word("counter"), p.counter === null ? "-" : number(p.counter));
  add(word("last_contact"), ago(p.last_contact));
  if (p.serial) add(word("serial_number"), String(p.serial));
  a.append(d);
  if (Array.isArray(p.events) && p.events.length) a.append(eventList(p.events));
  a.append(el("div", "uri", p.uri));
  return a;
}
function render(fleet) {
  const main = document.getElementById("fleet");
  main.replaceChildren(...fleet.printers.map(card));
  const count = {};
  for (const p of fleet.printers) count[healthKey(p.state)] = (count[healthKey(p.state)] || 0) + 1;
  const parts = [word("label_value", {label: word("printers"), value: number(fleet.printers.length)})];
  for (const h of HEALTHS) if (count[h]) parts.push(word("label_value", {label: healthWord(h), value: number(count[h])}));
  document.getElementById("summary").textContent = parts.join(" \u00b7 ");
}
// One printer's bar: its spans of each health other than ready, and how
// long each health lasted in all.  A printer that flapped all day draws
// only its longest spans (the totals count them all).
function historyRow(p, from, to) {
  const bar = el("div", "bar");
  const totals = {};
  const spans = [];
  for (const s of p.spans) {
    const start = Math.max(from, Date.parse(s.from));
    const end = s.to ? Math.min(to, Date.parse(s.to)) : to;
    if (!(end > start)) continue;
    totals[healthKey(s.health)] = (totals[healthKey(s.health)] || 0) + (end - start) / 1000;
    spans.push({s, start, end});
  }
  spans.sort((a, b) => (b.end - b.start) - (a.end - a.start));
  for (const {s, start, end} of spans.slice(0, MOST_SPANS_DRAWN)) {
    const span = el("div", "span " + healthClass(s.health));
    // A short span is drawn at least 0.5 % wide, inside the bar.
    const width = Math.max(0.5, 100 * (end - start) / (to - from));
    span.style.left = Math.min(100 * (start - from) / (to - from), 100 - width) + "%";
    span.style.width = width + "%";
    const codes = Array.isArray(s.codes) ? s.codes.slice(0, 10).map(c => word("code", {code: c})) : [];
    span.title = [word("label_value", {label: healthWord(s.health), value: duration((end - start) / 1000)}),
                  localTime(s.from) + " \u2013 " + (s.to ? localTime(s.to) : word("ongoing")), ...codes].join("\n");
    bar.append(span);
  }
  const total = Object.keys(totals).map(h => word("label_value", {label: healthWord(h), value: duration(totals[h])}));
  const row = el("div", "history-row");
  row.append(el("span", "name", p.name), bar, el("span", "total", total.join(" \u00b7 ")));
  return row;
}
function renderHistory(h) {
  const section = document.getElementById("history");
  const from = h ? Date.parse(h.from) : NaN, to = h ? Date.parse(h.to) : NaN;
  if (!h || !Array.isArray(h.printers) || !(to > from)) { section.hidden = true; return; }
  const troubled = h.printers.filter(p => p && Array.isArray(p.spans) && p.spans.length);
  const rows = troubled.slice(0, MOST_HISTORY_ROWS).map(p => historyRow(p, from, to));
  if (!troubled.length) rows.push(el("p", "quiet", word("no_problems")));
  if (troubled.length > MOST_HISTORY_ROWS) rows.push(el("p", "quiet", word("more_printers", {n: number(troubled.length - MOST_HISTORY_ROWS)})));
  section.querySelector(".from").textContent = localTime(h.from);
  section.querySelector(".to").textContent = word("now");
  document.getElementById("history-rows").replaceChildren(...rows);
  section.hidden = false;
}
function loadHistory() {
  fetch("/history.json?hours=24").then(r => r.ok ? r.json() : null).then(renderHistory).catch(() => renderHistory(null));
}
const select = document.getElementById("lang");
for (const l of W.languages) { const o = el("option", null, l.name); o.value = l.code; o.selected = l.code === lang; select.append(o); }
select.onchange = () => { location.search = "?lang=" + select.value; };
render(data);
loadHistory();
setInterval(() => {
  fetch("/printers.json?lang=" + lang).then(r => r.ok ? r.json() : null).then(f => { if (f) render(f); }).catch(() => {});
}, 5000);
setInterval(loadHistory, 60000);
</script>
</body>
</html>
)";

// JSON inside a script element: "</" would end the element.
std::string ScriptSafe(std::string_view json) {
    std::string safe;
    safe.reserve(json.size());
    for (char c : json) {
        if (c == '<') {
            safe += "\\u003c";
        } else {
            safe += c;
        }
    }
    return safe;
}

std::string HtmlText(std::string_view text) {
    std::string html;
    for (char c : text) {
        switch (c) {
            case '<': html += "&lt;"; break;
            case '>': html += "&gt;"; break;
            case '&': html += "&amp;"; break;
            case '"': html += "&quot;"; break;
            default: html += c;
        }
    }
    return html;
}

void ReplaceAll(std::string& text, std::string_view place, std::string_view value) {
    for (size_t at = text.find(place); at != std::string::npos; at = text.find(place, at + value.size())) {
        text.replace(at, place.size(), value);
    }
}

}  // namespace

std::string StatusPageHtml(std::string_view json, std::string_view lang) {
    std::string head(kHead);
    // The words' JSON goes in last, so that no place is looked for inside it.
    ReplaceAll(head, "@TAG@", HtmlText(LanguageTag(lang)));
    ReplaceAll(head, "@TITLE@", HtmlText(UiWord(WordId::kPageTitle, lang)));
    ReplaceAll(head, "@LANGUAGE@", HtmlText(UiWord(WordId::kLanguage, lang)));
    ReplaceAll(head, "@LAST_24_HOURS@", HtmlText(UiWord(WordId::kLast24Hours, lang)));
    ReplaceAll(head, "@WORDS@", ScriptSafe(*PageWordsJson(lang)));
    std::string page = std::move(head);
    page += ScriptSafe(json);
    page += kTail;
    return page;
}

}  // namespace tb58mon
