#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>

#include "base/journal_stream.h"

namespace tb58mon {
namespace {

bool IsJournal(int fd) {
    const char* value = std::getenv("JOURNAL_STREAM");
    if (value == nullptr) return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0) return false;
    return NamesStream(value, static_cast<unsigned long long>(status.st_dev),
                       static_cast<unsigned long long>(status.st_ino));
}

}  // namespace

bool NamesStream(std::string_view journal_stream, unsigned long long device, unsigned long long inode) {
    const size_t colon = journal_stream.find(':');
    if (colon == std::string_view::npos) return false;
    const auto number = [](std::string_view text, unsigned long long& value) {
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value);
        return !text.empty() && error == std::errc() && stop == end;
    };
    unsigned long long named_device = 0;
    unsigned long long named_inode = 0;
    return number(journal_stream.substr(0, colon), named_device) &&
           number(journal_stream.substr(colon + 1), named_inode) && named_device == device && named_inode == inode;
}

bool StandardOutputIsJournal() { return IsJournal(STDOUT_FILENO); }
bool StandardErrorIsJournal() { return IsJournal(STDERR_FILENO); }

}  // namespace tb58mon
