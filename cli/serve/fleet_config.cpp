#include "serve/fleet_config.h"

#include "base/terminal_text.h"

#include <toml++/toml.h>

#include <algorithm>
#include <set>

#include "base/cli_error.h"
#include "base/printer_name.h"
#include "base/toml_place.h"
#include "notify/notifier_config_file.h"
#include "transport/printer_uri.h"

namespace tb58mon {
namespace {

// Reads the keys of one table over settings; unknown keys are refused.
void ReadSettings(const toml::table& table, PrinterSettings& settings, std::string_view file,
                  std::initializer_list<std::string_view> more_keys) {
    for (const auto& [key, node] : table) {
        const std::string where = TomlPlace(file, node.source());
        const std::string_view name = key.str();
        auto bad = [&](std::string_view what) {
            return BadArgument(where + ": " + std::string(name) + " " + std::string(what));
        };
        if (name == "interval" || name == "timeout") {
            const auto value = node.value<double>();
            if (!value) throw bad("must be a number of seconds");
            (name == "interval" ? settings.interval : settings.timeout) = *value;
        } else if (name == "community") {
            const auto value = node.value<std::string>();
            if (!value) throw bad("must be a text");
            settings.community = *value;
        } else if (name == "snmp_port") {
            const auto value = node.value<int64_t>();
            if (!value || *value < 1 || *value > 65535) throw bad("must be a port number from 1 to 65535");
            settings.snmp_port = static_cast<unsigned>(*value);
        } else if (name == "snmp_version") {
            const auto value = node.value<std::string>();
            if (!value || !IsSnmpVersion(*value)) throw bad("must be \"1\" or \"2c\"");
            settings.snmp_version = *value;
        } else if (name == "snmp") {
            const auto value = node.value<bool>();
            if (!value) throw bad("must be true or false");
            settings.snmp = *value;
        } else if (name == "lang") {
            const auto value = node.value<std::string>();
            if (!value) throw bad("must be a language code");
            settings.lang = *value;
        } else if (std::find(more_keys.begin(), more_keys.end(), name) == more_keys.end()) {
            throw bad("is not a key of this table");
        }
    }
}

}  // namespace

void CheckSettings(const PrinterSettings& settings, std::string_view where) {
    const std::string prefix = where.empty() ? "" : std::string(where) + ": ";
    if (!(settings.interval >= 0.05 && settings.interval <= 86400)) {
        throw BadArgument(prefix + "interval must be from 0.05 to 86400 seconds");
    }
    if (!(settings.timeout >= 0.05 && settings.timeout <= 600)) {
        throw BadArgument(prefix + "timeout must be from 0.05 to 600 seconds");
    }
    if (LanguageCode(settings.lang).empty()) {
        throw BadArgument(prefix + "unknown language '" + settings.lang + "'");
    }
}

PrinterConfig ParsePrinterOption(std::string_view text, const PrinterSettings& settings) {
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) throw BadArgument("--printer takes NAME=URI, not '" + std::string(text) + "'");
    PrinterConfig printer;
    printer.name = std::string(text.substr(0, equals));
    printer.uri = std::string(text.substr(equals + 1));
    printer.settings = settings;
    printer.where = "--printer " + printer.name;
    CheckPrinterName(printer.name);
    ParsePrinterUri(printer.uri);
    return printer;
}

FleetConfig ParseFleetConfig(std::string_view text, std::string_view file_name) {
    toml::table root;
    try {
        root = toml::parse(text, file_name);
    } catch (const toml::parse_error& e) {
        throw BadArgument(std::string(file_name) + ":" + std::to_string(e.source().begin.line) + ": " +
                          std::string(e.description()));
    }
    FleetConfig config;
    for (const auto& [key, node] : root) {
        if (key.str() != "defaults" && key.str() != "printer" && key.str() != "notify") {
            throw BadArgument(TomlPlace(file_name, node.source()) + ": unknown table '" + std::string(key.str()) +
                              "' (the tables are [defaults], [[printer]] and [[notify]])");
        }
    }
    if (const toml::node* defaults = root.get("defaults")) {
        if (!defaults->is_table()) throw BadArgument(TomlPlace(file_name, defaults->source()) + ": defaults must be a table");
        ReadSettings(*defaults->as_table(), config.defaults, file_name, {});
        CheckSettings(config.defaults, TomlPlace(file_name, defaults->source()));
    }
    std::set<std::string> names;
    if (const toml::node* printers = root.get("printer")) {
        const toml::array* list = printers->as_array();
        if (list == nullptr) throw BadArgument(TomlPlace(file_name, printers->source()) + ": write printers as [[printer]]");
        for (const toml::node& entry : *list) {
            const std::string where = TomlPlace(file_name, entry.source());
            const toml::table* table = entry.as_table();
            if (table == nullptr) throw BadArgument(where + ": a printer must be a table");
            PrinterConfig printer;
            printer.settings = config.defaults;
            ReadSettings(*table, printer.settings, file_name, {"name", "uri"});
            const auto name = table->get("name") ? table->get("name")->value<std::string>() : std::nullopt;
            const auto uri = table->get("uri") ? table->get("uri")->value<std::string>() : std::nullopt;
            if (!name || !uri) throw BadArgument(where + ": a printer needs a name and a uri");
            printer.name = *name;
            printer.uri = *uri;
            printer.where = where;
            try {
                CheckPrinterName(printer.name);
                ParsePrinterUri(printer.uri);
                CheckSettings(printer.settings, "");
            } catch (const CliError& e) {
                throw BadArgument(where + ": " + e.what());
            }
            if (!names.insert(printer.name).second) {
                throw BadArgument(where + ": a second printer named '" + printer.name + "'");
            }
            config.printers.push_back(std::move(printer));
        }
    }
    if (const toml::node* notifiers = root.get("notify")) config.notifiers = ParseNotifiers(*notifiers, file_name);
    return config;
}

}  // namespace tb58mon
