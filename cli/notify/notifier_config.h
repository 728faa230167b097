// The notifiers of 'tb58mon serve': who is told what, and how.  One
// [[notify]] table of the fleet file each (notifier_config_file.cpp reads
// them):
//
//   [[notify]]
//   name = "front-desk"          letters, digits, '-', '_', '.'; at most 64; unique
//   type = "webhook"             or "email"
//   url = "https://hooks.example.org/printers"   webhook: http:// or https://
//                                                email: smtp://HOST[:PORT] or smtps://...
//   headers = { X-Token = "…" }  webhook: more request headers (no CR, LF or control characters;
//                                not Content-Type, Content-Length, Host, Idempotency-Key, ...)
//   from = "printers@example.org"           email: the sender
//   to = ["desk@example.org"]               email: one or more recipients
//   user = "printers"                       SMTP login, with
//   password_file = "/etc/tb58mon/smtp.pw"  the password: the file's first line; the file must
//                                           be readable by its owner only (mode 0600 or 0400)
//   starttls = true                         smtp:// only: require STARTTLS (default true)
//   on = ["error", "no_response", "recovered"]   what is told (NotifyRule)
//   printers = ["floor2-*"]      names or fnmatch patterns; every printer when absent
//   hold = "60s"                 a problem is told when it has lasted this long ("0s" at once)
//   repeat = "4h"                a reminder while it lasts; "off" (the default)
//   expire = "24h"               a notification not taken by then is given up
//   lang = "DE"                  the texts' language; the service's when absent
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tb58mon {

enum class NotifierType { kWebhook, kEmail };

// The words of on = [...]: the healths told when a printer turns to them,
// toner and tray conditions, any engine status code that appears, and the
// notice that a problem told before has cleared.
enum class NotifyRule : uint16_t {
    kError = 1 << 0,
    kAttention = 1 << 1,
    kNoResponse = 1 << 2,
    kUnknown = 1 << 3,
    kTonerLow = 1 << 4,
    kTonerEmpty = 1 << 5,
    kTrayEmpty = 1 << 6,
    kCode = 1 << 7,
    kRecovered = 1 << 8,
};

// A set of rules.
struct NotifyRules {
    uint16_t bits = 0;
    bool Has(NotifyRule rule) const { return (bits & static_cast<uint16_t>(rule)) != 0; }
    void Add(NotifyRule rule) { bits = static_cast<uint16_t>(bits | static_cast<uint16_t>(rule)); }
};

// "error" -> kError; false for a word that names no rule.
bool ParseNotifyRule(std::string_view word, NotifyRule& rule);
std::string_view NotifyRuleName(NotifyRule rule);


struct NotifierConfig {
    std::string name;
    NotifierType type = NotifierType::kWebhook;
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;  // webhook
    std::string from;                                          // email
    std::vector<std::string> to;                               // email
    std::string user;                                          // SMTP login
    std::string password_file;
    std::string password;  // read from password_file when the fleet file is read; never written anywhere
    bool starttls = true;  // smtp://: STARTTLS required
    NotifyRules on;
    std::vector<std::string> printers;  // patterns; empty: every printer
    std::chrono::seconds hold{60};
    std::chrono::seconds repeat{0};  // 0: no reminders
    std::chrono::seconds expire{24 * 3600};
    std::string lang;  // a PatSetLocale code; empty: the service's language
};

// "90s", "5m", "1h", "2d" and sums of them ("1h30m"); false for anything
// else (no sign, no fraction, at most 9 digits a part).
bool ParseDuration(std::string_view text, std::chrono::seconds& duration);

// True when a printer of this name is one of the notifier's (its printers
// patterns, fnmatch; none: every printer).
bool NotifierWatchesPrinter(const NotifierConfig& notifier, std::string_view printer);

// Throws BadArgument naming where and what is wrong: the keys that must go
// together and the values' ranges (the type's URL schemes, header names and
// values, addresses).
void CheckNotifier(const NotifierConfig& notifier, std::string_view where);

}  // namespace tb58mon
