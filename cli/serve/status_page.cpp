#include "serve/status_page.h"

#include "base/terminal_text.h"

namespace tb58mon {
namespace {

constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Printer fleet - tb58mon</title>
<style>
:root { --ok: #2e7d32; --warn: #b26a00; --bad: #c62828; --off: #616161; --unknown: #6a1b9a; --wait: #1565c0; }
* { box-sizing: border-box; }
body { margin: 0; font: 15px/1.4 system-ui, -apple-system, "Segoe UI", "Noto Sans", "Noto Sans CJK JP", "IPAGothic", sans-serif; background: #f4f5f7; color: #1f2328; }
header.top { display: flex; flex-wrap: wrap; gap: .5rem 1.5rem; align-items: center; padding: .8rem 1rem; background: #fff; border-bottom: 1px solid #d0d7de; position: sticky; top: 0; }
header.top h1 { font-size: 1.2rem; margin: 0; }
#summary { color: #57606a; }
label.lang { margin-left: auto; }
main { display: grid; grid-template-columns: repeat(auto-fill, minmax(300px, 1fr)); gap: 1rem; padding: 1rem; }
article.card { background: #fff; border: 1px solid #d0d7de; border-top: 6px solid var(--ok); border-radius: 8px; padding: .8rem; display: flex; flex-direction: column; gap: .4rem; min-width: 0; }
article.card.error { border-top-color: var(--bad); }
article.card.no-response { border-top-color: var(--off); }
article.card.attention { border-top-color: var(--warn); }
article.card.unknown { border-top-color: var(--unknown); }
article.card.waiting { border-top-color: var(--wait); }
.card header { display: flex; justify-content: space-between; align-items: baseline; gap: .5rem; }
.card h2 { font-size: 1.05rem; margin: 0; overflow-wrap: anywhere; }
.badge { font-size: .75rem; text-transform: uppercase; letter-spacing: .04em; color: #fff; background: var(--ok); border-radius: 999px; padding: .1rem .6rem; white-space: nowrap; }
.error .badge { background: var(--bad); } .no-response .badge { background: var(--off); }
.attention .badge { background: var(--warn); } .waiting .badge { background: var(--wait); }
.unknown .badge { background: var(--unknown); }
.card img { width: 100%; max-width: 320px; height: auto; align-self: center; image-rendering: pixelated; }
.short { font-weight: 600; font-size: 1.05rem; margin: 0; }
.long { white-space: pre-line; margin: 0; color: #333; }
.reason { margin: 0; color: var(--off); font-size: .85rem; }
table.trays { border-collapse: collapse; width: 100%; font-size: .85rem; }
table.trays td { padding: .1rem .4rem .1rem 0; vertical-align: middle; }
table.trays td:first-child, table.trays td.level { white-space: nowrap; }
table.trays td.paper { color: #57606a; font-size: .8rem; }
meter { width: 3rem; vertical-align: middle; }
dl { display: grid; grid-template-columns: auto 1fr; gap: .1rem .8rem; margin: 0; font-size: .85rem; }
dt { color: #57606a; } dd { margin: 0; }
.uri { color: #57606a; font-size: .8rem; overflow-wrap: anywhere; }
</style>
</head>
<body>
<header class="top"><h1>Printer fleet</h1><span id="summary"></span>
<label class="lang">Language <select id="lang"></select></label></header>
<main id="fleet"></main>
<script id="fleet-data" type="application/json">)";

constexpr std::string_view kTail = R"(</script>
<script>
"use strict";
const LANGUAGES = @LANGUAGES@;
const data = JSON.parse(document.getElementById("fleet-data").textContent);
const lang = data.language;
function el(tag, cls, text) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined && text !== null) e.textContent = String(text);
  return e;
}
function ago(iso) {
  if (!iso) return "never";
  const s = Math.max(0, Math.round((Date.now() - Date.parse(iso)) / 1000));
  return s < 90 ? s + " s ago" : s < 5400 ? Math.round(s / 60) + " min ago" : Math.round(s / 3600) + " h ago";
}
function card(p) {
  const a = el("article", "card " + p.state.replace(" ", "-"));
  a.id = "printer-" + p.name;
  const h = el("header"); h.append(el("h2", null, p.name), el("span", "badge", p.state)); a.append(h);
  const img = el("img"); img.alt = "status picture of " + p.name; img.width = 320; img.height = 200;
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
      if (tray.level !== null) { const m = el("meter"); m.min = 0; m.max = 100; m.value = tray.level; m.title = tray.level + " %"; c.append(m, " " + tray.level + " %"); }
      const paper = r.insertCell(); paper.className = "paper";
      paper.textContent = [tray.size, tray.media].filter(x => x).join(" \u00b7 ");
    }
    a.append(t);
  }
  const d = el("dl");
  const add = (k, v) => d.append(el("dt", null, k), el("dd", null, v));
  if (p.bins.length) add("Output bins", p.bins.map(b => b.name + ": " + b.state).join(", "));
  add("Toner", p.toner || "-");
  add("Counter", p.counter === null ? "-" : p.counter.toLocaleString());
  add("Last contact", ago(p.last_contact));
  a.append(d, el("div", "uri", p.uri));
  return a;
}
function render(fleet) {
  const main = document.getElementById("fleet");
  main.replaceChildren(...fleet.printers.map(card));
  const count = {};
  for (const p of fleet.printers) count[p.state] = (count[p.state] || 0) + 1;
  document.getElementById("summary").textContent = fleet.printers.length + " printers" +
    Object.keys(count).map(k => ", " + count[k] + " " + k).join("");
}
const select = document.getElementById("lang");
for (const l of LANGUAGES) { const o = el("option", null, l); o.value = l; o.selected = l === lang; select.append(o); }
select.onchange = () => { location.search = "?lang=" + select.value; };
document.documentElement.lang = lang === "JP" ? "ja" : lang.toLowerCase();
render(data);
setInterval(() => {
  fetch("/printers.json?lang=" + lang).then(r => r.ok ? r.json() : null).then(f => { if (f) render(f); }).catch(() => {});
}, 5000);
</script>
</body>
</html>
)";

}  // namespace

std::string StatusPageHtml(std::string_view json, std::string_view) {
    // Inside a script element "</" would end it.
    std::string safe;
    safe.reserve(json.size());
    for (size_t i = 0; i < json.size(); ++i) {
        if (json[i] == '<') {
            safe += "\\u003c";
        } else {
            safe += json[i];
        }
    }
    std::string languages;
    for (std::string_view code : LanguageCodes()) languages += (languages.empty() ? "[\"" : ",\"") + std::string(code) + "\"";
    languages += "]";
    std::string tail(kTail);
    tail.replace(tail.find("@LANGUAGES@"), std::string_view("@LANGUAGES@").size(), languages);
    std::string page(kHead);
    page += safe;
    page += tail;
    return page;
}

}  // namespace tb58mon
