#include "scenario_library.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli_error.h"

namespace tb58mon {

Scenario LoadScenario(std::string_view name) {
    std::string known;
    for (const EmbeddedFile& file : EmbeddedScenarioFiles()) {
        if (file.name == name) return ParseScenario(file.name, file.text);
        known += (known.empty() ? "" : ", ") + std::string(file.name);
    }
    throw BadArgument("unknown scenario '" + std::string(name) + "' (known: " + known + ")");
}

Scenario LoadScenarioFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) throw Failure("cannot read " + path + ": " + std::strerror(errno));
    std::string text;
    char chunk[4096];
    size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, read);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) throw Failure("cannot read " + path);
    std::string name = path.substr(path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) name.resize(name.size() - 4);
    return ParseScenario(name, text);
}

}  // namespace tb58mon
