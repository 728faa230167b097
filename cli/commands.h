// tb58mon's commands.  Each takes its options as read from the command line
// (texts not yet checked), writes its result to out and throws CliError for
// what goes wrong.
#pragma once

#include <ostream>
#include <string>

namespace tb58mon {

// Runs tb58mon with a command line; returns the exit code (0, 1, or 2 for a
// wrong command line).  Errors are written to err as one line.
int RunTb58mon(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The options that describe a record for the offline status commands.
struct RecordOptions {
    std::string codes;        // engine status codes
    std::string options;      // option codes of pDeviceInfo
    std::string trays;        // tray codes of pTrayInfo
    std::string display;      // the panel text of every engine status node
    bool no_response = false;
    std::string kind = "1";
    bool alternate = false;
    std::string lang = "EN";
    bool json = false;
};

struct DemoOptions {
    std::string scenario;
    std::string scenario_file;
    bool list = false;
    std::string lang = "EN";
    std::string kind = "1";
    bool alternate = false;
    std::string out;
    bool json = false;
};

struct QueryOptions {
    std::string flags = "all";
    std::string trays;
    bool emulation = false;
    bool json = false;
};

struct ReadOptions {
    std::string reply_file;
    std::string device_id;
    std::string device_id_file;
    std::string flags;
    bool emulation = false;
    bool json = false;
};

struct StatusOptions {
    RecordOptions record;
    bool long_text = false;
};

struct PictureOptions {
    RecordOptions record;
    std::string out;
};

struct NamesOptions {
    std::string tray;
    std::string bin;
    std::string option;
    std::string lang = "EN";
    bool json = false;
};

void RunDemo(const DemoOptions& options, std::ostream& out);
void RunQuery(const QueryOptions& options, std::ostream& out);
void RunRead(const ReadOptions& options, std::ostream& out);
void RunStatus(const StatusOptions& options, std::ostream& out);
void RunPicture(const PictureOptions& options, std::ostream& out);
void RunNames(const NamesOptions& options, std::ostream& out);

}  // namespace tb58mon
