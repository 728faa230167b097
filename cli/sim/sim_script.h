// The script of 'tb58mon simulate --script': timed changes of the simulated
// printer, e.g. "all-well:10,jam-tray2-lct:5.5,off:3,all-well".
//
// Steps are separated by commas; each is NAME:SECONDS, where NAME is a
// scenario or "off" (the printer switched off: connections are refused)
// and SECONDS how long the step lasts (decimals allowed).  Only the last
// step may leave out its seconds: it then lasts until the simulation ends.
// When the last step has seconds, the simulation ends with it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tb58mon {

constexpr std::string_view kSwitchedOffStep = "off";

struct ScriptStep {
    std::string scenario;   // a scenario name; empty when the printer is off
    bool off = false;       // the printer is switched off for this step
    double seconds = -1;    // how long the step lasts; < 0: until the end
};

// Parses a script; throws BadArgument naming the step that is wrong.
std::vector<ScriptStep> ParseSimScript(std::string_view text);

}  // namespace tb58mon
