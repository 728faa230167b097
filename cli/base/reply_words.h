// The words of the printer's PJL replies and the codes the library stores
// for them, as tables a status monitor keeps to show a record in words.
// The simulated printer answers with these words; the record view turns the
// codes back into them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "Tb58Wk31Codes.h"

namespace tb58mon {

// A reply word and the code the library stores for it.
struct WordCode {
    std::string_view word;
    uint32_t code;
};

// An input tray as the printer names it in its replies.  Empty variable
// names mean that the printer is not asked for that value of the tray.
struct TrayWords {
    std::string_view name;            // scenario name; also the special-tray answer (TRAY1, LCT, BYPASS, ...)
    std::string_view config_item;     // item under "IN TRAYS" of INFO CONFIG
    std::string_view state_variable;  // INQUIRE: LOCKED / UNLOCKED
    std::string_view size_variable;   // INQUIRE: paper size word
    std::string_view level_variable;  // INQUIRE: paper quantity word
    std::string_view media_variable;  // INQUIRE: media word
    uint16_t code;                    // tray code in the record
    std::string_view english_name;    // the name PatGetDeviceName takes
};

// An output bin as the printer names it under INFO OUTBINSTATUS.
struct BinWords {
    std::string_view entry;         // empty: the printer has no entry for it
    uint16_t code;                  // bin code in the record
    std::string_view english_name;  // the name PatGetDeviceName takes
    std::string_view english_name_two_shift_trays;  // the name with option 38 installed; empty: the same
};

// An installed option in the record, in words.
struct OptionWords {
    uint16_t code;                 // option code in the record's pDeviceInfo
    std::string_view config_word;  // INFO CONFIG keyword that reports it; empty if none
    std::string_view description;  // English description
    int32_t device_code;           // printer-management device code with a display name, or 0
};

// The special tray roles: INQUIRE variable, tray attribute bit, role name.
struct SpecialTrayWords {
    std::string_view variable;
    uint32_t attribute;
    std::string_view role;
};

std::span<const TrayWords> TrayTable();
std::span<const BinWords> BinTable();
std::span<const OptionWords> OptionTable();
std::span<const SpecialTrayWords> SpecialTrayTable();
std::span<const WordCode> PaperSizeTable();
std::span<const WordCode> PaperQuantityTable();
std::span<const WordCode> MediaTable();
std::span<const WordCode> BinStateTable();
std::span<const WordCode> EmulationVersionTable();  // VERSION items; FIRMWARE has code 0xFFFFFFFF
std::span<const WordCode> EmulationNameTable();     // emulation code -> display name
std::span<const WordCode> MemoryUsageTable();       // TZMO MEMORYUSAGE
std::span<const WordCode> ImageRotationTable();     // TZMO IMAGEROTATION
std::span<const std::string_view> PunchKeywords();

// Look-ups; null when the table has no such row.
const TrayWords* FindTrayByName(std::string_view name);
const TrayWords* FindTrayByCode(uint16_t code);
const BinWords* FindBinByEntry(std::string_view entry);
const BinWords* FindBinByCode(uint16_t code);
const OptionWords* FindOptionByCode(uint16_t code);
const OptionWords* FindOptionByWord(std::string_view word);
const WordCode* FindWord(std::span<const WordCode> table, std::string_view word);
const WordCode* FindCode(std::span<const WordCode> table, uint32_t code);

}  // namespace tb58mon
