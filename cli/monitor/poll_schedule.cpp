#include "monitor/poll_schedule.h"

#include <algorithm>

namespace tb58mon {

int FailuresAfter(int failures, bool responded) {
    return responded ? 0 : std::min(std::max(failures, 0) + 1, kLongestBackOff);
}

double BackOffFactor(int failures) { return static_cast<double>(1 << std::clamp(failures, 0, kLongestBackOff)); }

TransportOptions TransportOptionsOf(const PrinterSettings& settings, size_t max_reply) {
    TransportOptions options;
    options.max_reply = max_reply;
    options.snmp = settings.snmp;
    options.community = settings.community;
    options.snmp_port = settings.snmp_port;
    options.snmp_version = settings.snmp_version;
    return options;
}

}  // namespace tb58mon
