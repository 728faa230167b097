// The lines a long-running command ('serve') writes about itself.  On a
// terminal or in a file each line starts with the local time; when the
// output goes to the system journal (journal_stream.h), the line starts
// with its syslog priority instead ("<3>" an error, "<4>" a warning, "<6>"
// news) and the journal keeps the time.  Control characters in a text
// become '?' (printable_text.h): a line end in a quoted value cannot start a
// forged line of its own priority.
#pragma once

#include <mutex>
#include <ostream>
#include <string>
#include <string_view>

namespace tb58mon {

enum class LogPriority { kError = 3, kWarning = 4, kInfo = 6 };

// One line, with its line end.
std::string ServiceLogLine(LogPriority priority, std::string_view text, bool journal);

// Lines written whole from any thread.
class ServiceLog {
public:
    ServiceLog(std::ostream& out, bool journal) : out_(out), journal_(journal) {}

    void Write(LogPriority priority, std::string_view text);
    void Info(std::string_view text) { Write(LogPriority::kInfo, text); }
    void Warning(std::string_view text) { Write(LogPriority::kWarning, text); }
    void Error(std::string_view text) { Write(LogPriority::kError, text); }

private:
    std::mutex lock_;
    std::ostream& out_;
    bool journal_;
};

}  // namespace tb58mon
