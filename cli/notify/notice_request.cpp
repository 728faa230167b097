#include "notify/notice_request.h"

#include "base/terminal_text.h"
#include "notify/notice_message.h"

namespace tb58mon {

DeliveryRequest ComposeRequest(const Notice& notice, const NotifierConfig& notifier, const std::string& service_lang,
                               const std::string& base_url, const std::shared_ptr<const std::string>& png,
                               uint64_t tag) {
    NoticeContext context;
    context.notifier = notifier.name;
    context.lang = LanguageCode(notifier.lang.empty() ? service_lang : notifier.lang);
    if (context.lang.empty()) context.lang = "EN";
    context.texts = EventTexts(notice.event, context.lang);
    context.base_url = base_url;
    while (!context.base_url.empty() && context.base_url.back() == '/') context.base_url.pop_back();
    context.now = std::chrono::system_clock::now();
    DeliveryRequest request;
    request.tag = tag;
    request.notifier = notifier;
    request.notice_id = NoticeId(notice, notifier.name);
    request.body = notifier.type == NotifierType::kWebhook ? WebhookBody(notice, context)
                                                            : MailText(notice, context, notifier, png);
    return request;
}

}  // namespace tb58mon
