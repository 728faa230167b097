// The reply words of this printer family and the codes the library stores
// for them, as look-up tables made from the lists of Tb58Wk31Words.h, which
// the library's reply tables and dispatch rows are made from too.
#include "base/reply_words.h"

#include <Tb58Wk31Words.h>

#include <algorithm>
#include <array>
#include <iterator>

namespace tb58mon {
namespace {

#define TB58_WORD_CODE_ROW(word, code) {word, code},

#define TB58_TRAY_ROW(name, presence, state, size, quantity, media, code, english) \
    {name, presence, state, size, quantity, media, code, english},
#define TB58_BIN_ROW(entry, code, english, english_two_shift) {entry, code, english, english_two_shift},
#define TB58_OPTION_ROW(code, section, word, description, device_code) {code, word, description, device_code},
#define TB58_ROLE_ROW(variable, attribute, role) {variable, attribute, role},

constexpr TrayWords kTrays[] = {TB58_TRAY_WORDS(TB58_TRAY_ROW)};
constexpr BinWords kBins[] = {TB58_BIN_WORDS(TB58_BIN_ROW)};
// The device codes are those of the option name map, so that
// PatGetDeviceName gives a localized name.
constexpr OptionWords kOptions[] = {TB58_OPTION_WORDS(TB58_OPTION_ROW)};
constexpr SpecialTrayWords kSpecialTrays[] = {TB58_SPECIAL_TRAY_ROLES(TB58_ROLE_ROW)};

constexpr WordCode kPaperSizeCodes[] = {TB58_PAPER_SIZE_WORDS(TB58_WORD_CODE_ROW)};

constexpr WordCode kPaperQuantities[] = {TB58_PAPER_QUANTITY_WORDS(TB58_WORD_CODE_ROW)};

constexpr WordCode kMediaCodes[] = {TB58_MEDIA_WORDS(TB58_WORD_CODE_ROW)};

constexpr WordCode kBinStateCodes[] = {TB58_BIN_STATE_WORDS(TB58_WORD_CODE_ROW)};

constexpr WordCode kEmulationVersions[] = {TB58_EMULATION_VERSION_WORDS(TB58_WORD_CODE_ROW)};

constexpr WordCode kEmulationNames[] = {TB58_EMULATION_NAMES(TB58_WORD_CODE_ROW)};

constexpr WordCode kMemoryUsage[] = {TB58_MEMORY_USAGE_WORDS(TB58_WORD_CODE_ROW)};
constexpr WordCode kImageRotation[] = {TB58_IMAGE_ROTATION_WORDS(TB58_WORD_CODE_ROW)};

// The keywords of the punch units, each once, in the order they first stand.
#define TB58_PUNCH_KEYWORD_PAIR(first, second, option) first, second,
constexpr std::string_view kPunchUnitKeywords[] = {TB58_PUNCH_UNIT_WORDS(TB58_PUNCH_KEYWORD_PAIR)};

consteval size_t CountPunchKeywords() {
    size_t count = 0;
    for (size_t at = 0; at < std::size(kPunchUnitKeywords); ++at) {
        const std::string_view word = kPunchUnitKeywords[at];
        bool seen = word.empty();
        for (size_t before = 0; before < at && !seen; ++before) seen = kPunchUnitKeywords[before] == word;
        if (!seen) ++count;
    }
    return count;
}

consteval std::array<std::string_view, CountPunchKeywords()> MakePunchKeywords() {
    std::array<std::string_view, CountPunchKeywords()> keywords{};
    size_t count = 0;
    for (const std::string_view word : kPunchUnitKeywords) {
        bool seen = word.empty();
        for (size_t before = 0; before < count && !seen; ++before) seen = keywords[before] == word;
        if (!seen) keywords[count++] = word;
    }
    return keywords;
}

constexpr auto kPunchKeywords = MakePunchKeywords();

}  // namespace

std::span<const TrayWords> TrayTable() { return kTrays; }
std::span<const BinWords> BinTable() { return kBins; }
std::span<const OptionWords> OptionTable() { return kOptions; }
std::span<const SpecialTrayWords> SpecialTrayTable() { return kSpecialTrays; }
std::span<const WordCode> PaperSizeTable() { return kPaperSizeCodes; }
std::span<const WordCode> PaperQuantityTable() { return kPaperQuantities; }
std::span<const WordCode> MediaTable() { return kMediaCodes; }
std::span<const WordCode> BinStateTable() { return kBinStateCodes; }
std::span<const WordCode> EmulationVersionTable() { return kEmulationVersions; }
std::span<const WordCode> EmulationNameTable() { return kEmulationNames; }
std::span<const WordCode> MemoryUsageTable() { return kMemoryUsage; }
std::span<const WordCode> ImageRotationTable() { return kImageRotation; }
std::span<const std::string_view> PunchKeywords() { return kPunchKeywords; }

const TrayWords* FindTrayByName(std::string_view name) {
    const auto* row = std::find_if(std::begin(kTrays), std::end(kTrays), [&](auto& t) { return t.name == name; });
    return row == std::end(kTrays) ? nullptr : row;
}

const TrayWords* FindTrayByCode(uint16_t code) {
    const auto* row = std::find_if(std::begin(kTrays), std::end(kTrays), [&](auto& t) { return t.code == code; });
    return row == std::end(kTrays) ? nullptr : row;
}

const BinWords* FindBinByEntry(std::string_view entry) {
    if (entry.empty()) return nullptr;
    const auto* row = std::find_if(std::begin(kBins), std::end(kBins), [&](auto& b) { return b.entry == entry; });
    return row == std::end(kBins) ? nullptr : row;
}

const BinWords* FindBinByCode(uint16_t code) {
    const auto* row = std::find_if(std::begin(kBins), std::end(kBins), [&](auto& b) { return b.code == code; });
    return row == std::end(kBins) ? nullptr : row;
}

const OptionWords* FindOptionByCode(uint16_t code) {
    const auto* row =
        std::find_if(std::begin(kOptions), std::end(kOptions), [&](auto& o) { return o.code == code; });
    return row == std::end(kOptions) ? nullptr : row;
}

const OptionWords* FindOptionByWord(std::string_view word) {
    if (word.empty()) return nullptr;
    const auto* row =
        std::find_if(std::begin(kOptions), std::end(kOptions), [&](auto& o) { return o.config_word == word; });
    return row == std::end(kOptions) ? nullptr : row;
}

const WordCode* FindWord(std::span<const WordCode> table, std::string_view word) {
    const auto row = std::find_if(table.begin(), table.end(), [&](auto& w) { return w.word == word; });
    return row == table.end() ? nullptr : &*row;
}

const WordCode* FindCode(std::span<const WordCode> table, uint32_t code) {
    const auto row = std::find_if(table.begin(), table.end(), [&](auto& w) { return w.code == code; });
    return row == table.end() ? nullptr : &*row;
}

}  // namespace tb58mon
