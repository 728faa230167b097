#include "notify/notifier_config.h"

#include <curl/curl.h>
#include <fnmatch.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

#include "base/cli_error.h"
#include "base/terminal_text.h"
#include "base/printer_name.h"

namespace tb58mon {
namespace {

constexpr std::array<std::pair<std::string_view, NotifyRule>, 9> kRuleNames{{
    {"error", NotifyRule::kError},
    {"attention", NotifyRule::kAttention},
    {"no_response", NotifyRule::kNoResponse},
    {"unknown", NotifyRule::kUnknown},
    {"toner_low", NotifyRule::kTonerLow},
    {"toner_empty", NotifyRule::kTonerEmpty},
    {"tray_empty", NotifyRule::kTrayEmpty},
    {"code", NotifyRule::kCode},
    {"recovered", NotifyRule::kRecovered},
}};

constexpr size_t kLongestUrl = 2048;
constexpr size_t kLongestHeaderValue = 1024;
constexpr size_t kMostHeaders = 32;
constexpr size_t kLongestAddress = 254;
constexpr size_t kMostRecipients = 32;
constexpr size_t kLongestPattern = 64;
constexpr std::chrono::seconds kLongestHold{24 * 3600};
constexpr std::chrono::seconds kShortestRepeat{60};
constexpr std::chrono::seconds kLongestRepeat{30 * 24 * 3600};
constexpr std::chrono::seconds kShortestExpire{60};
constexpr std::chrono::seconds kLongestExpire{30 * 24 * 3600};

// Headers the notifier writes itself, or that would change how the request
// is framed.
constexpr std::string_view kReservedHeaders[] = {"content-type", "content-length", "host",    "idempotency-key",
                                                 "transfer-encoding", "connection", "expect", "te",
                                                 "upgrade",      "trailer"};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool IsTokenCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

// Printable ASCII only: no space, no control character, no byte over 0x7E.
bool IsPlainAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

bool IsMailAddress(std::string_view address) {
    if (address.empty() || address.size() > kLongestAddress || !IsPlainAscii(address)) return false;
    if (address.find_first_of("<>()[],;:\\\"") != std::string_view::npos) return false;
    const size_t at = address.find('@');
    return at != std::string_view::npos && at > 0 && at + 1 < address.size() && address.find('@', at + 1) == std::string_view::npos;
}

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlTextDeleter {
    void operator()(char* text) const { curl_free(text); }
};

// The URL's part, or empty when it has none.
std::string UrlPart(CURLU* url, CURLUPart part) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, 0) != CURLUE_OK || text == nullptr) return {};
    const std::unique_ptr<char, CurlTextDeleter> owned(text);
    return text;
}

void CheckUrl(const NotifierConfig& notifier, const std::string& prefix) {
    const bool webhook = notifier.type == NotifierType::kWebhook;
    const std::string schemes = webhook ? "http:// or https://" : "smtp:// or smtps://";
    if (notifier.url.empty() || notifier.url.size() > kLongestUrl || !IsPlainAscii(notifier.url)) {
        throw BadArgument(prefix + "url must be an " + schemes + " URL of at most 2048 printable ASCII characters");
    }
    const std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, notifier.url.c_str(), 0) != CURLUE_OK) {
        throw BadArgument(prefix + "url '" + notifier.url + "' is not a URL");
    }
    const std::string scheme = Lower(UrlPart(url.get(), CURLUPART_SCHEME));
    const bool fits = webhook ? (scheme == "http" || scheme == "https") : (scheme == "smtp" || scheme == "smtps");
    if (!fits) throw BadArgument(prefix + "url must start with " + schemes);
    // libcurl reads "https:///x" as the host x; a URL without a host is a slip.
    const size_t authority = notifier.url.find("://");
    if (authority == std::string::npos || notifier.url.compare(authority + 3, 1, "/") == 0 ||
        UrlPart(url.get(), CURLUPART_HOST).empty()) throw BadArgument(prefix + "url names no host");
    if (!UrlPart(url.get(), CURLUPART_USER).empty() || !UrlPart(url.get(), CURLUPART_PASSWORD).empty()) {
        throw BadArgument(prefix + "url must not hold a user or password (give user and password_file)");
    }
}

void CheckHeaders(const NotifierConfig& notifier, const std::string& prefix) {
    if (notifier.headers.size() > kMostHeaders) throw BadArgument(prefix + "headers: at most 32");
    for (const auto& [name, value] : notifier.headers) {
        if (name.empty() || !std::all_of(name.begin(), name.end(), IsTokenCharacter)) {
            throw BadArgument(prefix + "header name '" + name + "' is not an HTTP token");
        }
        const std::string lower = Lower(name);
        if (std::find(std::begin(kReservedHeaders), std::end(kReservedHeaders), lower) != std::end(kReservedHeaders)) {
            throw BadArgument(prefix + "header " + name + " is set by the notifier itself");
        }
        const bool clean = std::all_of(value.begin(), value.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte == '\t' || (byte >= 0x20 && byte != 0x7F);
        });
        if (!clean || value.size() > kLongestHeaderValue) {
            throw BadArgument(prefix + "header " + name + ": a value of at most 1024 bytes without control characters");
        }
    }
}

void CheckEmail(const NotifierConfig& notifier, const std::string& prefix) {
    if (!IsMailAddress(notifier.from)) throw BadArgument(prefix + "from must be a mail address (name@domain, ASCII)");
    if (notifier.to.empty() || notifier.to.size() > kMostRecipients) {
        throw BadArgument(prefix + "to must list 1 to 32 mail addresses");
    }
    for (const std::string& address : notifier.to) {
        if (!IsMailAddress(address)) throw BadArgument(prefix + "to: '" + address + "' is not a mail address");
    }
    if (notifier.user.empty() != notifier.password_file.empty()) {
        throw BadArgument(prefix + "user and password_file go together");
    }
    if (!notifier.user.empty() && !IsPlainAscii(notifier.user)) {
        throw BadArgument(prefix + "user must be printable ASCII without spaces");
    }
}

void CheckTimes(const NotifierConfig& notifier, const std::string& prefix) {
    if (notifier.hold < std::chrono::seconds(0) || notifier.hold > kLongestHold) throw BadArgument(prefix + "hold must be from 0s to 24h");
    if (notifier.repeat != std::chrono::seconds(0) && (notifier.repeat < kShortestRepeat || notifier.repeat > kLongestRepeat)) {
        throw BadArgument(prefix + "repeat must be \"off\" or from 1m to 30d");
    }
    if (notifier.expire < kShortestExpire || notifier.expire > kLongestExpire) {
        throw BadArgument(prefix + "expire must be from 1m to 30d");
    }
}

}  // namespace

bool ParseNotifyRule(std::string_view word, NotifyRule& rule) {
    for (const auto& [name, value] : kRuleNames) {
        if (name == word) {
            rule = value;
            return true;
        }
    }
    return false;
}

std::string_view NotifyRuleName(NotifyRule rule) {
    for (const auto& [name, value] : kRuleNames) {
        if (value == rule) return name;
    }
    return "?";
}

bool ParseDuration(std::string_view text, std::chrono::seconds& duration) {
    if (text.empty()) return false;
    int64_t total = 0;
    size_t at = 0;
    while (at < text.size()) {
        int64_t number = 0;
        size_t digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            if (++digits > 9) return false;
            number = number * 10 + (text[at++] - '0');
        }
        if (digits == 0 || at == text.size()) return false;
        switch (text[at++]) {
            case 's': break;
            case 'm': number *= 60; break;
            case 'h': number *= 3600; break;
            case 'd': number *= 86400; break;
            default: return false;
        }
        total += number;
    }
    duration = std::chrono::seconds(total);
    return true;
}

bool NotifierWatchesPrinter(const NotifierConfig& notifier, std::string_view printer) {
    if (notifier.printers.empty()) return true;
    const std::string name(printer);
    return std::any_of(notifier.printers.begin(), notifier.printers.end(), [&name](const std::string& pattern) {
        return fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
    });
}

void CheckNotifier(const NotifierConfig& notifier, std::string_view where) {
    const std::string prefix = where.empty() ? "" : std::string(where) + ": ";
    try {
        CheckPrinterName(notifier.name);
    } catch (const CliError&) {
        throw BadArgument(prefix + "bad notifier name '" + notifier.name +
                          "': use 1 to 64 letters, digits, '-', '_' and '.'");
    }
    CheckUrl(notifier, prefix);
    if (notifier.type == NotifierType::kWebhook) {
        if (!notifier.from.empty() || !notifier.to.empty() || !notifier.user.empty() || !notifier.password_file.empty()) {
            throw BadArgument(prefix + "from, to, user and password_file are for type = \"email\"");
        }
        CheckHeaders(notifier, prefix);
    } else {
        if (!notifier.headers.empty()) throw BadArgument(prefix + "headers are for type = \"webhook\"");
        CheckEmail(notifier, prefix);
        // A password never travels in the clear.
        if (!notifier.user.empty() && notifier.url.starts_with("smtp://") && !notifier.starttls) {
            throw BadArgument(prefix + "user and password_file need TLS: smtps:// or starttls = true");
        }
    }
    if (notifier.on.bits == 0) throw BadArgument(prefix + "on must name at least one rule");
    for (const std::string& pattern : notifier.printers) {
        if (pattern.empty() || pattern.size() > kLongestPattern || !IsPlainAscii(pattern)) {
            throw BadArgument(prefix + "printers: '" + pattern + "' is not a name or pattern");
        }
    }
    CheckTimes(notifier, prefix);
    if (!notifier.lang.empty() && LanguageCode(notifier.lang).empty()) {
        throw BadArgument(prefix + "unknown language '" + notifier.lang + "'");
    }
}

}  // namespace tb58mon
