// The monitor's own words in every display language: the page's labels,
// health names, relative times, the texts of events and notifications, and
// the printer's reply words (media, output bin states, paper sizes) shown
// to people.  One catalog, shared by the status page and the notifier; the
// texts are UTF-8, each in characters of its language's ANSI code page.
//
// Some words are patterns with named places, "{n} min ago": FillWord puts
// the values in.  Every language has the same places as English.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace tb58mon {

enum class WordId : uint16_t {
    // The page
    kPageTitle,        // "Printer fleet"
    kLanguage,         // "Language"
    kPrinters,         // "Printers" (the summary line: "Printers: 8")
    kLabelValue,       // "{label}: {value}"
    kToner,            // "Toner"
    kCounter,          // "Counter"
    kLastContact,      // "Last contact"
    kOutputBins,       // "Output bins"
    kSupplies,         // "Supplies"
    kSerialNumber,     // "Serial number"
    kSupplyFull,       // "{n} % full": a waste toner box
    kSupplySomeRemaining,  // "some remaining": a supply whose level the printer does not count
    kSupplyUnknown,    // "unknown": a supply whose level the printer does not know
    kNever,            // "never"
    kSecondsAgo,       // "{n} s ago"
    kMinutesAgo,       // "{n} min ago"
    kHoursAgo,         // "{n} h ago"
    kPictureOf,        // "Status picture of {name}"
    kRecentEvents,     // "Recent events"
    kLast24Hours,      // "Last 24 hours"
    kNoProblems,       // "No problems"
    kNow,              // "now"
    kOngoing,          // "ongoing"
    kMorePrinters,     // "More printers: {n}"
    kDurationSeconds,  // "{n} s"
    kDurationMinutes,  // "{n} min"
    kDurationHours,    // "{n} h"
    // Healths, as the badges, the summary and the events name them
    kHealthError,
    kHealthNoResponse,
    kHealthAttention,
    kHealthUnknown,
    kHealthWaiting,
    kHealthReady,
    // The toner's state as a value
    kTonerOk,
    kTonerLow,
    kTonerEmpty,
    // Events
    kCode,              // "Code {code}": a code without a text
    kEventCodeBegan,    // "{text}: began"
    kEventCodeCleared,  // "{text}: cleared"
    kEventTrayEmpty,    // "{tray}: empty"
    kEventTrayFilled,   // "{tray}: filled ({level} %)"
    kEventTonerLow,     // "Toner low"
    kEventTonerEmpty,   // "Toner empty"
    kEventTonerOk,      // "Toner OK"
    kEventPagesDaily,   // "Pages printed on {day}: {value}"
    // Notifications
    kPrinter,             // "Printer"
    kAddress,             // "Address"
    kTime,                // "Time"
    kStatus,              // "Status"
    kStatusCodes,         // "Status codes"
    kStatusPicture,       // "Status picture"
    kStatusPage,          // "Status page"
    kRecovered,           // "Recovered"
    kReminder,            // "Reminder"
    kTestNotification,    // "Test notification"
    // Paper size names and the feed direction ("{size}, short edge first")
    kPaperCustom,
    kPaperLetter,
    kPaperLegal,
    kPaperLedger,
    kPaperHalfLetter,
    kPaperExecutive,
    kPaperFolio,
    kPaperFoolscap,
    kPaperPostcard,
    kPaperA3Wide,
    kPaperShortEdgeFirst,
    kPaperLongEdgeFirst,
    kCount
};

// The kinds of reply words the catalog shows in words.
enum class ReplyWordKind { kMedia, kBinState, kPaperSize };

// The word in lang (a LanguageCodes() code, any case); English for a
// language the monitor does not offer.
std::string_view UiWord(WordId id, std::string_view lang);

// The word's stable name ("page_title", "health_no_response"), used as its
// key in the page's JSON; FindWordId is its inverse.
std::string_view WordKey(WordId id);
std::optional<WordId> FindWordId(std::string_view key);

// A reply word of the printer (PLAIN, PAPEREXIST, A4LONG) in lang; empty
// when the catalog does not know the word.
std::string ReplyWordText(ReplyWordKind kind, std::string_view word, std::string_view lang);

// The reply words of a kind the catalog knows, as the printer sends them.
std::span<const std::string_view> KnownReplyWords(ReplyWordKind kind);

// The pattern with each "{name}" replaced by its value, in one pass (a value
// that holds braces stays as it is).  A place without a value stays.
std::string FillWord(std::string_view pattern,
                     std::initializer_list<std::pair<std::string_view, std::string_view>> values);

// The language's tag for HTML and the browser's formats ("ja", "pt-BR"),
// and its name in itself ("日本語"); English's for a language not offered.
std::string_view LanguageTag(std::string_view lang);
std::string_view LanguageName(std::string_view lang);

}  // namespace tb58mon
