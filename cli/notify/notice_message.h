// What a notice says: the JSON object a webhook receives, and the mail
// (plain text, UTF-8, MIME, the printer's picture attached).  Printer texts
// reach a mail header only as RFC 2047 encoded words of their printable
// characters, so no text can add a header line.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "notify/notice_texts.h"
#include "notify/notifier_config.h"
#include "notify/notify_rules.h"

namespace tb58mon {

// What goes into one notice besides the notice itself.
struct NoticeContext {
    std::string notifier;  // its name
    std::string lang;      // the texts' language (a PatSetLocale code)
    NoticeTexts texts;     // in lang
    std::string base_url;  // the service's own URL, "http://127.0.0.1:8631", for the links
    TimePoint now;
};

// The printer's picture on the service.
std::string PictureUrl(std::string_view base_url, std::string_view printer);

// The webhook's body: the event as /events.json gives it (its "id" is the
// event's), with "notification_id" (the Idempotency-Key), "notice"
// (problem, recovered, reminder), "reminder" (its number, or null),
// "notifier", "language", "short", "long", "picture" and "page".
std::string WebhookBody(const Notice& notice, const NoticeContext& context);

// The mail's subject, unencoded: "[tb58mon] PRINTER: SHORT TEXT", with the
// notice's word before it for a recovery or a reminder; printable
// characters only, on one line, at most 200 characters.
std::string MailSubject(const Notice& notice, const NoticeContext& context);

// The whole mail as it goes to the SMTP server: the header (From, To,
// Subject as encoded words, Date, Message-ID from the notification id,
// MIME-Version), the text as a base64 UTF-8 part and, when png is given,
// the picture as an attachment.  Lines end with CR LF.
std::string MailText(const Notice& notice, const NoticeContext& context, const NotifierConfig& notifier,
                     const std::shared_ptr<const std::string>& png);

// RFC 2047 "B" encoded words of UTF-8 text, each at most 75 characters, a
// character never split between two; joined by CR LF and a space.
std::string EncodedWords(std::string_view text);

// Base64 in lines of 76 characters, each ended by CR LF.
std::string Base64Lines(std::string_view bytes);

// "Thu, 10 Dec 2026 12:00:00 +0000"
std::string MailDate(TimePoint time);

}  // namespace tb58mon
