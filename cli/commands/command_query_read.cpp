// tb58mon query and read: the two halves of a query cycle, offline.
//   query  shows the QueryInfo a PatCreateQueryInfo call builds;
//   read   reads a captured reply (and device ID) into a fresh record with
//          PatSetCentroDataTo and shows the record.
#include <CLI/CLI.hpp>

#include <Tb58Wk31Platform.h>


#include "base/cli_error.h"
#include "commands/commands.h"
#include "monitor/query_round.h"
#include "base/read_file.h"
#include "report/record_report.h"
#include "base/terminal_text.h"
#include "base/text_format.h"
#include "base/value_lists.h"

namespace tb58mon {
namespace {

// The PJL part of a query: what a reply file answers without a device ID.
constexpr uint32_t kPjlFlags = INFO_SYSTEM | INFO_TRAY | INFO_OUTBIN | INFO_EMUL | INFO_DEVICE;
constexpr uint32_t kDeviceIdFlags = INFO_STATUS | INFO_IDENTITY | INFO_ENGINE_STATUS;

// A device ID file may end with a line break that is not part of the ID.
std::string WithoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

}  // namespace

void RunQuery(const QueryOptions& options, std::ostream& out) {
    OwnedRecord record;
    for (uint16_t tray : ParseSmallCodes("--trays", options.trays)) record.AddTray(tray);
    const uint32_t flags = options.emulation ? 0 : ParseRequestFlags("--flags", options.flags);
    PacketPtr query = options.emulation ? CreateEmulationQuery() : CreateQuery(record.get(), flags);
    const QueryRequest request = DescribeQuery(query.get());
    const std::string call = options.emulation ? "PatCreateEmulUniqQueryInfo(context, 2, 15, 0)"
                                               : "PatCreateQueryInfo(record, 2, " + RequestFlagNames(flags) + ")";
    if (options.json) {
        const Json json = {{"call", call},
                           {"flags", flags},
                           {"device_id_requested", request.device_id_requested},
                           {"text", request.text.empty() ? Json(nullptr) : Json(request.text)}};
        out << json.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
        return;
    }
    Field(out, "Call", call);
    Field(out, "Device ID", request.device_id_requested ? "requested (an empty ITEM_DEVICE_ID child)" : "not requested");
    Field(out, "Query text", request.text.empty() ? "(none: no ITEM_PJL_TEXT child)" : VisibleControls(request.text));
}

void RunRead(const ReadOptions& options, std::ostream& out) {
    if (!options.device_id.empty() && !options.device_id_file.empty()) {
        throw BadArgument("give --device-id or --device-id-file, not both");
    }
    if (options.emulation && !options.flags.empty()) throw BadArgument("--emulation takes no --flags");
    const std::string reply = ReadWholeFile(options.reply_file);
    const std::string device_id =
        options.device_id_file.empty() ? options.device_id : WithoutLineEnd(ReadWholeFile(options.device_id_file));
    if (reply.empty()) throw Failure(options.reply_file + " is empty");

    // The query the reply answers: by default its PJL part, and the device
    // ID request when a device ID is given.
    uint32_t flags = options.flags.empty() ? kPjlFlags | (device_id.empty() ? 0 : kDeviceIdFlags)
                                           : ParseRequestFlags("--flags", options.flags);
    OwnedRecord record;
    PacketPtr query = options.emulation ? CreateEmulationQuery() : CreateQuery(record.get(), flags);
    if (DescribeQuery(query.get()).device_id_requested && device_id.empty()) {
        throw BadArgument("the flags ask for the device ID (status, identity, engine-status): give --device-id");
    }
    StoreReplies(record.get(), std::move(query), options.emulation, reply, device_id);

    const std::string_view replies[] = {reply};
    const RecordView view = ViewRecord(*record.get(), replies);
    const Json json = RecordJson(view);
    if (options.json) {
        out << Json{{"record", json}}.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
        return;
    }
    out << "Record (PrnInfoEx) after PatSetCentroDataTo\n";
    PrintRecord(out, view);
}

Command AddQueryCommand(CLI::App& app, std::ostream& out, std::ostream&) {
    const auto options = std::make_shared<QueryOptions>();
    QueryOptions& query = *options;
    CLI::App* query_command = app.add_subcommand("query", "show the QueryInfo that PatCreateQueryInfo builds");
    query_command->add_option("--flags", query.flags,
                              "request flags: status, system, tray, outbin, emul, font, identity, device, "
                              "engine-status, all (or a number)")
        ->capture_default_str();
    query_command->add_option("--trays", query.trays, "trays the record lists (pTrayInfo codes), e.g. 11,3");
    query_command->add_flag("--emulation", query.emulation, "the TZMO query of PatCreateEmulUniqQueryInfo");
    query_command->add_flag("--json", query.json, "JSON output");
    return {query_command, [options, &out] {
        RunQuery(*options, out);
        return kExitSuccess;
    }};
}

Command AddReadCommand(CLI::App& app, std::ostream& out, std::ostream&) {
    const auto options = std::make_shared<ReadOptions>();
    ReadOptions& read = *options;
    CLI::App* read_command = app.add_subcommand("read", "read a captured reply with PatSetCentroDataTo");
    read_command->add_option("--reply", read.reply_file, "file with the printer's PJL reply")->required();
    read_command->add_option("--device-id", read.device_id, "the printer's device ID text");
    read_command->add_option("--device-id-file", read.device_id_file, "file with the device ID text");
    read_command->add_option("--flags", read.flags,
                             "flags of the query the reply answers (default: its PJL part, and the device ID "
                             "when one is given)");
    read_command->add_flag("--emulation", read.emulation, "the reply answers the TZMO query");
    read_command->add_flag("--json", read.json, "JSON output");
    return {read_command, [options, &out] {
        RunRead(*options, out);
        return kExitSuccess;
    }};
}

}  // namespace tb58mon
