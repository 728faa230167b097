// The fleet that 'tb58mon serve' watches: a TOML file of printers and
// defaults, or the same from the command line.
//
//   [defaults]            every key optional
//   interval = 5          seconds between polls of a printer
//   timeout = 5           seconds one cycle may take (every round and the SNMP requests)
//   community = "public"  SNMP community
//   snmp_port = 161       SNMP UDP port
//   snmp = true           read the device ID over SNMP (socket:// printers)
//   lang = "EN"           display language of the texts
//
//   [[printer]]           one table per printer
//   name = "office-2f"    letters, digits, '-', '_' and '.'; at most 64; unique;
//                         not "." or ".."
//   uri = "socket://192.0.2.10"
//   community = "..."     optional: the defaults' value otherwise; likewise
//   interval = 10         timeout, snmp_port, snmp and lang
//
//   [[notify]]            who is told what (notify/notifier_config.h)
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/printer_settings.h"
#include "notify/notifier_config.h"

namespace tb58mon {

struct PrinterConfig {
    std::string name;
    std::string uri;
    PrinterSettings settings;  // the defaults with the printer's own values over them
    std::string where = {};    // for messages: "fleet.toml:12", "--printer NAME"
};

struct FleetConfig {
    PrinterSettings defaults;
    std::vector<PrinterConfig> printers;
    std::vector<NotifierConfig> notifiers;  // passwords not read yet (ReadNotifierPasswords)
};

// Reads a fleet file's text; throws BadArgument naming the file, the line
// where it can, and what is wrong (a malformed file, an unknown key, a bad
// value, a bad or repeated name, a URI that names no printer).
FleetConfig ParseFleetConfig(std::string_view text, std::string_view file_name);

// "NAME=URI" from the command line, with the given settings.
PrinterConfig ParsePrinterOption(std::string_view text, const PrinterSettings& settings);

// Throws BadArgument for settings out of range and an unknown language.
void CheckSettings(const PrinterSettings& settings, std::string_view where);

}  // namespace tb58mon
