#include "base/read_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/cli_error.h"

namespace tb58mon {

std::string ReadWholeFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) throw Failure("cannot read " + path + ": " + std::strerror(errno));
    std::string text;
    char chunk[4096];
    size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, read);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) throw Failure("cannot read " + path);
    return text;
}

}  // namespace tb58mon
