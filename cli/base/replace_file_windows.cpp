// ReplaceFileContents on Windows: CreateFile(CREATE_NEW) of a random name, write,
// MoveFileEx(MOVEFILE_REPLACE_EXISTING).
#include <windows.h>

#include <cstdio>
#include <random>

#include "base/cli_error.h"
#include "base/replace_file.h"

namespace tb58mon {
namespace {

constexpr int kAttempts = 16;

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

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

HANDLE CreatePartial(const std::string& path, std::string& partial) {
    const std::string folder = FolderOf(path);
    const std::string name = path.substr(folder.size());
    std::random_device random;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        char suffix[20];
        std::snprintf(suffix, sizeof suffix, "%08x%08x", random(), random());
        partial = folder + "." + name + "." + suffix + ".partial";
        const HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            const std::string where = folder.empty() ? "the current folder" : "the folder " + folder;
            throw Failure("cannot write " + path + ": cannot create a file in " + where + ": " + ErrorText(error));
        }
    }
    throw Failure("cannot write " + path + ": no free temporary name beside it");
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.back() == '/' || path.back() == '\\') {
        throw Failure("cannot write '" + path + "': not a file name");
    }
    std::string partial;
    const HANDLE file = CreatePartial(path, partial);
    bool done = WriteAll(file, bytes);
    DWORD error = done ? 0 : GetLastError();
    if (!CloseHandle(file) && done) {
        done = false;
        error = GetLastError();
    }
    if (done && !MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        done = false;
        error = GetLastError();
    }
    if (!done) {
        DeleteFileA(partial.c_str());
        throw Failure("cannot write " + path + ": " + ErrorText(error));
    }
}

}  // namespace tb58mon
