// How the monitor polls one printer: the settings 'watch' takes from its
// options and 'serve' from its fleet file, its [defaults] and its options.
#pragma once

#include <string>
#include <string_view>

namespace tb58mon {

struct PrinterSettings {
    double interval = 5;               // seconds between polls
    double timeout = 5;                // seconds one cycle may take: every round and the SNMP requests
    std::string community = "public";  // SNMP community
    unsigned snmp_port = 161;          // SNMP UDP port
    std::string snmp_version = "2c";   // SNMP version: "1" or "2c"
    bool snmp = true;                  // socket:// printers: read the device ID over SNMP
    std::string lang = "EN";           // display language of the texts
};

// The SNMP versions the monitor speaks: "1" and "2c".
inline bool IsSnmpVersion(std::string_view version) { return version == "1" || version == "2c"; }

}  // namespace tb58mon
