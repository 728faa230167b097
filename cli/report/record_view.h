// The printer information record as the monitor shows it: every field and
// chain node the library filled, each code with the reply word or name that
// belongs to it.  Read once from the record; the JSON report, the text
// report, 'watch' and 'serve' are all made from it.
#pragma once

#include <Tb58Wk31Platform.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tb58mon {

// A word or name of the monitor's tables; empty when the code has none.
using Word = std::optional<std::string>;

struct EmulationView {
    uint16_t code = 0;
    Word name;            // "PCL 5c"
    std::string version;  // UTF-8
};

struct TrayView {
    uint16_t code = 0;
    Word name;  // the English name PatGetDeviceName takes
    uint16_t paper_size = 0;
    Word paper_size_word;
    uint16_t level = 0;        // wPaperLevel as the library stored it
    bool level_asked = false;  // the printer is not asked for the level of every tray
    std::optional<uint16_t> percent;  // the level to show: none when unknown (report/tray_level.h)
    uint16_t media = 0;
    Word media_word;
    uint32_t attributes = 0;
    std::vector<std::string> roles;  // "locked", "front cover", ...
};

struct BinView {
    uint16_t code = 0;
    Word name;  // English, the finisher's shift trays by the installed finisher
    uint16_t state = 0;
    Word state_word;
};

struct OptionView {
    uint16_t code = 0;
    Word description;
    int32_t device_code = 0;  // the code PatGetDeviceName names it by; 0: none
};

struct EngineStatusView {
    int32_t code = 0;
    std::string text;  // UTF-8
};

struct EmulationUniqueView {
    uint16_t code = 0;
    uint32_t memory_usage = 0;
    Word memory_usage_word;
    std::string other;
    uint32_t image_rotation = 0;
    Word image_rotation_word;
};

struct CountView {
    uint16_t id = 0;
    uint32_t value = 0;
};

struct RecordView {
    Word model;  // texts from the printer, in UTF-8; empty when null
    uint32_t model_code = 0;
    Word maker;
    Word description;
    Word firmware;
    Word emulation_1_version;  // pMainProgVersion
    Word emulation_2_version;  // pQXSVersion
    uint32_t memory_size = 0;
    uint32_t online = 0;
    uint32_t offline = 0;
    uint32_t error = 0;
    uint32_t printing = 0;
    uint32_t no_response = 0;
    uint32_t out_bin_state = 0;
    std::vector<EmulationView> emulations;
    std::vector<TrayView> trays;
    std::vector<BinView> bins;
    std::vector<OptionView> options;
    std::vector<EngineStatusView> engine_status;
    std::vector<EmulationUniqueView> emulation_unique;
    std::vector<CountView> counters;
    std::vector<CountView> supplies;
};

// The view of a record; replies are the reply texts the library took for
// it, from which the tray levels are read (report/tray_level.h).
RecordView ViewRecord(const PrnInfoEx& record, std::span<const std::string_view> replies = {});

}  // namespace tb58mon
