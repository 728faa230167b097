#include "notify/notice_message.h"

#include <array>
#include <cctype>
#include <ctime>
#include <random>

#include "base/printable_text.h"
#include "base/text_format.h"
#include "base/ui_words.h"

namespace tb58mon {
namespace {

constexpr size_t kLongestSubject = 200;
constexpr std::string_view kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// One line of printable text: control characters and line ends become
// spaces (PrintableText has made them '?'; tabs stay otherwise).
std::string OneLine(std::string_view text) {
    std::string line = PrintableText(text);
    for (char& c : line) {
        if (c == '\t') c = ' ';
    }
    return line;
}

// At most most bytes, never ending inside a UTF-8 sequence.
std::string CutUtf8(std::string text, size_t most) {
    if (text.size() <= most) return text;
    size_t end = most;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

std::string Base64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const size_t left = bytes.size() - at;
        uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 16;
        if (left > 1) group |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
        if (left > 2) group |= static_cast<unsigned char>(bytes[at + 2]);
        out += kBase64[(group >> 18) & 63];
        out += kBase64[(group >> 12) & 63];
        out += left > 1 ? kBase64[(group >> 6) & 63] : '=';
        out += left > 2 ? kBase64[group & 63] : '=';
    }
    return out;
}

std::string Word(WordId id, const NoticeContext& context) { return std::string(UiWord(id, context.lang)); }

std::string LabelValue(WordId label, std::string_view value, const NoticeContext& context) {
    return FillWord(UiWord(WordId::kLabelValue, context.lang), {{"label", UiWord(label, context.lang)}, {"value", value}});
}

std::optional<WordId> HealthWord(std::string_view health) {
    if (health == "error") return WordId::kHealthError;
    if (health == "no_response") return WordId::kHealthNoResponse;
    if (health == "attention") return WordId::kHealthAttention;
    if (health == "unknown") return WordId::kHealthUnknown;
    if (health == "waiting") return WordId::kHealthWaiting;
    if (health == "ready") return WordId::kHealthReady;
    return std::nullopt;
}

std::string HealthText(std::string_view health, const NoticeContext& context) {
    const std::optional<WordId> word = HealthWord(health);
    return word ? Word(*word, context) : std::string(health.empty() ? "-" : health);
}

std::string TonerText(const NotifyEvent& event, const NoticeContext& context) {
    if (event.toner == "low") return Word(WordId::kEventTonerLow, context);
    if (event.toner == "empty") return Word(WordId::kEventTonerEmpty, context);
    if (event.toner == "ok") return Word(WordId::kEventTonerOk, context);
    return event.toner;
}

// What the notice is about, in the notifier's words; the library's short
// text where it has one (a code, a status, a tray's name).
std::string Description(const Notice& notice, const NoticeContext& context) {
    const NotifyEvent& event = notice.event;
    const std::string& library_text = context.texts.short_text;
    if (event.kind == "toner") return TonerText(event, context);
    if (event.kind == "tray_empty" || event.kind == "tray_filled") {
        const std::string tray = library_text.empty() ? event.tray_name : library_text;
        if (event.kind == "tray_empty") return FillWord(UiWord(WordId::kEventTrayEmpty, context.lang), {{"tray", tray}});
        const std::string level = event.level ? std::to_string(*event.level) : "?";
        return FillWord(UiWord(WordId::kEventTrayFilled, context.lang), {{"tray", tray}, {"level", level}});
    }
    if (!library_text.empty()) return library_text;
    if (event.kind == "health") return HealthText(event.health, context);
    if (event.code) return FillWord(UiWord(WordId::kCode, context.lang), {{"code", std::to_string(*event.code)}});
    return event.kind;
}

std::string Headline(const Notice& notice, const NoticeContext& context) {
    const std::string what = Description(notice, context);
    if (notice.kind == NoticeKind::kRecovered) return LabelValue(WordId::kRecovered, what, context);
    if (notice.kind == NoticeKind::kReminder) {
        return what + " (" + Word(WordId::kReminder, context) + " " + std::to_string(notice.reminder) + ")";
    }
    if (notice.kind == NoticeKind::kTest) return LabelValue(WordId::kTestNotification, what, context);
    return what;
}

std::string CodesText(const std::vector<int32_t>& codes) {
    std::string text;
    for (int32_t code : codes) text += (text.empty() ? "" : ", ") + std::to_string(code);
    return text.empty() ? "-" : text;
}

std::string MailBody(const Notice& notice, const NoticeContext& context) {
    const NotifyEvent& event = notice.event;
    std::string body = PrintableLines(Headline(notice, context)) + "\n";
    if (!context.texts.long_text.empty()) body += PrintableLines(context.texts.long_text) + "\n";
    body += "\n";
    body += LabelValue(WordId::kPrinter, OneLine(event.printer), context) + "\n";
    body += LabelValue(WordId::kAddress, OneLine(event.uri), context) + "\n";
    body += LabelValue(WordId::kStatus, HealthText(event.health, context), context) + "\n";
    body += LabelValue(WordId::kStatusCodes, CodesText(event.codes), context) + "\n";
    if (!event.toner.empty()) body += LabelValue(WordId::kToner, TonerText(event, context), context) + "\n";
    body += LabelValue(WordId::kTime, UtcIsoTime(event.time), context) + "\n";
    if (!context.base_url.empty()) {
        body += LabelValue(WordId::kStatusPicture, PictureUrl(context.base_url, event.printer), context) + "\n";
        body += LabelValue(WordId::kStatusPage, context.base_url + "/", context) + "\n";
    }
    body += "Notice:   " + std::string(NoticeKindName(notice.kind)) + ", " + NoticeId(notice, context.notifier) + "\n";
    std::string crlf;
    for (char c : body) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}

std::string Boundary() {
    std::random_device random;
    char text[40];
    std::snprintf(text, sizeof text, "tb58mon-%08x%08x", random(), random());
    return text;
}

}  // namespace

std::string PictureUrl(std::string_view base_url, std::string_view printer) {
    std::string url(base_url);
    while (!url.empty() && url.back() == '/') url.pop_back();
    return url + "/printers/" + std::string(printer) + ".png";
}

std::string WebhookBody(const Notice& notice, const NoticeContext& context) {
    Json body = NotifyEventJson(notice.event);
    body["notification_id"] = NoticeId(notice, context.notifier);
    body["notice"] = NoticeKindName(notice.kind);
    body["reminder"] = notice.kind == NoticeKind::kReminder ? Json(notice.reminder) : Json(nullptr);
    body["notifier"] = context.notifier;
    body["language"] = context.lang;
    body["short"] = context.texts.short_text.empty() ? Json(nullptr) : Json(context.texts.short_text);
    body["long"] = context.texts.long_text.empty() ? Json(nullptr) : Json(context.texts.long_text);
    body["picture"] = context.base_url.empty() ? Json(nullptr) : Json(PictureUrl(context.base_url, notice.event.printer));
    body["page"] = context.base_url.empty() ? Json(nullptr) : Json(context.base_url + "/");
    return body.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string MailSubject(const Notice& notice, const NoticeContext& context) {
    return CutUtf8(OneLine("[tb58mon] " + notice.event.printer + ": " + Headline(notice, context)), kLongestSubject);
}

std::string EncodedWords(std::string_view text) {
    // 75 characters a word: "=?UTF-8?B?" and "?=" leave 63, so 45 bytes.
    constexpr size_t kBytesAWord = 45;
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = std::min(text.size(), at + kBytesAWord);
        while (end < text.size() && end > at && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
        if (end == at) end = std::min(text.size(), at + kBytesAWord);  // not UTF-8: cut anywhere
        if (!out.empty()) out += "\r\n ";
        out += "=?UTF-8?B?" + Base64(text.substr(at, end - at)) + "?=";
        at = end;
    }
    return out;
}

std::string Base64Lines(std::string_view bytes) {
    const std::string encoded = Base64(bytes);
    std::string out;
    for (size_t at = 0; at < encoded.size(); at += 76) out += encoded.substr(at, 76) + "\r\n";
    return out;
}

std::string MailDate(TimePoint time) {
    static constexpr std::array<const char*, 7> kDays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d +0000", kDays[static_cast<size_t>(parts.tm_wday) % 7],
                  parts.tm_mday, kMonths[static_cast<size_t>(parts.tm_mon) % 12], parts.tm_year + 1900, parts.tm_hour,
                  parts.tm_min, parts.tm_sec);
    return text;
}

std::string MailText(const Notice& notice, const NoticeContext& context, const NotifierConfig& notifier,
                     const std::shared_ptr<const std::string>& png) {
    // The addresses were checked when the fleet file was read: printable
    // ASCII without spaces, brackets, commas or quotes.
    std::string to;
    for (const std::string& address : notifier.to) to += (to.empty() ? "" : ",\r\n ") + address;
    const std::string domain = notifier.from.substr(notifier.from.find('@') + 1);
    const std::string boundary = Boundary();
    std::string mail = "From: " + notifier.from + "\r\n";
    mail += "To: " + to + "\r\n";
    mail += "Subject: " + EncodedWords(MailSubject(notice, context)) + "\r\n";
    mail += "Date: " + MailDate(context.now) + "\r\n";
    mail += "Message-ID: <" + NoticeId(notice, context.notifier) + "@" + domain + ">\r\n";
    mail += "X-Tb58mon-Notification-Id: " + NoticeId(notice, context.notifier) + "\r\n";
    mail += "Auto-Submitted: auto-generated\r\n";
    mail += "MIME-Version: 1.0\r\n";
    mail += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    mail += "--" + boundary + "\r\n";
    mail += "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    mail += Base64Lines(MailBody(notice, context));
    if (png && !png->empty()) {
        std::string file = notice.event.printer + ".png";
        for (char& c : file) {
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.') c = '_';
        }
        mail += "--" + boundary + "\r\n";
        mail += "Content-Type: image/png; name=\"" + file + "\"\r\n";
        mail += "Content-Disposition: attachment; filename=\"" + file + "\"\r\n";
        mail += "Content-Transfer-Encoding: base64\r\n\r\n";
        mail += Base64Lines(*png);
    }
    mail += "--" + boundary + "--\r\n";
    return mail;
}

}  // namespace tb58mon
