#include "base/service_log.h"

#include "base/printable_text.h"
#include "base/text_format.h"

namespace tb58mon {

std::string ServiceLogLine(LogPriority priority, std::string_view text, bool journal) {
    const std::string head = journal ? "<" + std::to_string(static_cast<int>(priority)) + ">" : LocalTimeStamp() + "  ";
    return head + PrintableText(text) + "\n";
}

void ServiceLog::Write(LogPriority priority, std::string_view text) {
    const std::string line = ServiceLogLine(priority, text, journal_);
    const std::lock_guard<std::mutex> lock(lock_);
    out_ << line;
    out_.flush();
}

}  // namespace tb58mon
