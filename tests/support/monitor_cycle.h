// One cycle of a status monitor, made the way a caller makes it: the query
// of every flag, the printer's reply and device ID taken into a fresh
// record, the engine status from the printer-management information, the
// short and long status texts, the picture description, and everything
// released again.  Shared by the leak test and the benchmarks.
#pragma once

#include <string>
#include <string_view>

#include "Tb58Wk31Platform.h"
#include "support/pm_info_builder.h"
#include "support/status_packet.h"
#include "support/test_data.h"
#include "support/test_record.h"

namespace tb58::test {

// About 4 KB: the full reply of tests/data, then its bin and tray answers
// again, as a printer with many trays answers.
inline std::string FourKilobyteReply() {
    const std::string full(TestData("reply_full.pjl"));
    std::string reply = full;
    const size_t answers = full.find("@PJL INFO OUTBINSTATUS");
    while (reply.size() < 4000) reply += full.substr(answers);
    return reply;
}

class MonitorCycle {
public:
    MonitorCycle() : reply_(FourKilobyteReply()), device_id_(TestData("device_id.txt")) {
        engine_status_.Add(EngineStatus(41201, "Tray 2 empty"));
        engine_status_.Add(EngineStatus(40341, "Paper jam", 3));
        printer_.pStatusWord = &status_word_;
        printer_.pEngineStatus = engine_status_.list();
    }

    const std::string& reply() const { return reply_; }

    // One whole cycle; false (and the step in failed_step()) when a call fails.
    bool Run() {
        TestRecord record;
        InfoItem* packet = NewItem(ITEM_CENTRO_DATA, nullptr, 0);
        InfoItem* query = PatCreateQueryInfo(record.get(), 2, 0xFFFFFFFFu);
        if (query == nullptr) return Failed("PatCreateQueryInfo", packet);
        AppendChild(packet, query);
        AppendChild(packet, NewItem(ITEM_PJL_TEXT, reply_.c_str(), static_cast<uint32_t>(reply_.size() + 1)));
        AppendChild(packet, NewItem(ITEM_DEVICE_ID, device_id_.data(), static_cast<uint32_t>(device_id_.size())));
        if (PatSetCentroDataTo(packet, 0, record.get(), 2) != 1) return Failed("PatSetCentroDataTo", packet);
        FreeTree(packet);

        if (PatPMInfoToPrnInfoEx(TB58_KIND_PRINTER, &printer_, PMINFO_VARIANT_PRINTER,
                                 PMINFO_STATUS_WORD | PMINFO_ENGINE_STATUS, record.get()) != 1) {
            return Failed("PatPMInfoToPrnInfoEx", nullptr);
        }

        PrnInfoEx* address = record.get();
        InfoItem* status = NewItem(ITEM_STATUS, nullptr, 0);
        AppendChild(status, NewItem(ITEM_STATUS_MACHINE, &address, sizeof address));
        AppendChild(status, NewItem(ITEM_STATUS_PRINTER, &address, sizeof address));
        for (uint32_t selector : {1u, 2u}) {
            uint32_t size = sizeof text_;
            if (PatGetStatusString(TB58_KIND_PRINTER, status, 3, selector, text_, &size) != 1) {
                return Failed("PatGetStatusString", status);
            }
        }
        BitmapInfo* picture = PatCreateBitmapInfo(TB58_KIND_PRINTER, status, 3);
        if (picture == nullptr) return Failed("PatCreateBitmapInfo", status);
        PatDisposeBitmapInfo(picture);
        FreeTree(status);
        return true;
    }

    const char* failed_step() const { return failed_step_; }

private:
    bool Failed(const char* step, InfoItem* tree) {
        failed_step_ = step;
        FreeTree(tree);
        return false;
    }

    std::string reply_;
    std::string_view device_id_;
    uint32_t status_word_ = 0;
    PMListOf<PMEngineStatusEntry> engine_status_;
    PMInfoPrinter printer_{};
    char text_[512] = {};
    const char* failed_step_ = "";
};

}  // namespace tb58::test
