// A notice made ready to send to one notifier: its texts in the notifier's
// language, then the webhook's JSON or the whole mail.
#pragma once

#include <memory>
#include <string>

#include "notify/curl_delivery.h"
#include "notify/notify_rules.h"

namespace tb58mon {

// service_lang: the language of a notifier without lang.  png: the
// printer's picture for a mail, or null.  Takes the library lock for the
// texts.
DeliveryRequest ComposeRequest(const Notice& notice, const NotifierConfig& notifier, const std::string& service_lang,
                               const std::string& base_url, const std::shared_ptr<const std::string>& png,
                               uint64_t tag);

}  // namespace tb58mon
