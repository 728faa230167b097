#include "sim/scenario_library.h"

#include "base/cli_error.h"
#include "base/read_file.h"

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
    const std::string text = ReadWholeFile(path);
    std::string name = path.substr(path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) name.resize(name.size() - 4);
    return ParseScenario(name, text);
}

}  // namespace tb58mon
