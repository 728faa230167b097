// The scenarios tb58mon knows: every file of cli/scenarios, compiled into
// the program (so that "demo --scenario NAME" works from any directory),
// and scenario files read from disk.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/scenario.h"

namespace tb58mon {

struct EmbeddedFile {
    std::string_view name;  // file name without ".txt"
    std::string_view text;
};

// The compiled-in scenario files, sorted by name (generated at build time).
std::span<const EmbeddedFile> EmbeddedScenarioFiles();

constexpr std::string_view kDefaultScenario = "all-well";

// The compiled-in scenario of that name; an unknown name is a bad argument
// (exit code 2) whose message lists the known names.
Scenario LoadScenario(std::string_view name);

// A scenario file from disk; its name is the file name without directory
// and ".txt".  An unreadable file fails (exit code 1).
Scenario LoadScenarioFile(const std::string& path);

}  // namespace tb58mon
