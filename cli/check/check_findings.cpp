#include "check/check_findings.h"

#include "monitor/cycle_record_view.h"

#include "report/record_report.h"
#include "report/status_report.h"

namespace tb58mon {
namespace {

std::string TextOf(const Json& value) { return value.is_string() ? value.get<std::string>() : std::string(); }

}  // namespace

CheckFindings FindingsOfCycle(PrnInfoEx* record, const MonitorCycle& cycle, uint32_t code_page) {
    CheckFindings findings;
    findings.response = !cycle.no_response;
    findings.reason = cycle.reason;
    findings.status_known = findings.response && cycle.status_read;
    findings.status_note = cycle.status_note;
    findings.error = record->bError != 0;
    findings.offline = record->bOffline != 0;
    for (const EngineStatusNode* node = findings.response ? record->pEngineStatus : nullptr; node != nullptr;
         node = static_cast<const EngineStatusNode*>(node->next)) {
        findings.codes.push_back(node->dwCode);
    }
    const Json status = StatusJson(record, TB58_KIND_PRINTER, code_page);
    findings.short_text = TextOf(status["short"]);
    findings.long_text = TextOf(status["long"]);
    if (!findings.response) return findings;
    const RecordView view = ViewCycleRecord(*record, cycle);
    for (const TrayView& tray : view.trays) {
        if (!tray.level_asked) continue;
        findings.trays.push_back({tray.name.value_or("Tray " + std::to_string(tray.code)),
                                  tray.percent ? std::optional<int>(*tray.percent) : std::nullopt});
    }
    if (!view.counters.empty()) findings.pages = view.counters.front().value;
    return findings;
}

}  // namespace tb58mon
