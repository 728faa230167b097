// ReadRegularFile on Windows: the attributes first (a directory is refused
// by name), then the handle must be a disk file (not a pipe or a device).
#include <windows.h>

#include "base/cli_error.h"
#include "base/read_file.h"

namespace tb58mon {
namespace {

std::string ErrorText(DWORD error) {
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(error) : message;
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { CloseHandle(handle_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

std::string ReadRegularFile(const std::string& path, size_t most) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw Failure("cannot read " + path + ": " + ErrorText(GetLastError()));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) throw Failure("cannot read " + path + ": a directory, not a regular file");
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throw Failure("cannot read " + path + ": " + ErrorText(GetLastError()));
    const Handle file(handle);
    if (GetFileType(file.get()) != FILE_TYPE_DISK) throw Failure("cannot read " + path + ": not a regular file");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) throw Failure("cannot read " + path + ": " + ErrorText(GetLastError()));
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > most) {
        throw Failure("cannot read " + path + ": larger than " + std::to_string(most) + " bytes");
    }
    std::string text;
    char chunk[65536];
    while (true) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) {
            throw Failure("cannot read " + path + ": " + ErrorText(GetLastError()));
        }
        if (got == 0) break;
        if (text.size() + got > most) throw Failure("cannot read " + path + ": larger than " + std::to_string(most) + " bytes");
        text.append(chunk, got);
    }
    return text;
}

}  // namespace tb58mon
