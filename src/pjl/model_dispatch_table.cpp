// This model's reply paths: tray inquiries and presence, special trays,
// output bins and installed options, made from the word lists of
// Tb58Wk31Words.h.  Searched in this order; the items INTRAYMANUAL,
// INTRAYLCT and INTRAYINSERTER under IN TRAYS stand twice, as a tray's
// presence and as an installed option, and the presence comes first.
#include <array>
#include <span>
#include <string_view>

#include "Tb58Wk31Codes.h"
#include "Tb58Wk31Words.h"
#include "pjl/common_dispatch_rows.h"
#include "pjl/dispatch_index.h"
#include "pjl/reply_dispatch.h"
#include "pjl/reply_handlers.h"

namespace tb58::pjl {

namespace {

struct TrayWordsRow {
    std::string_view presence, state, size, quantity, media;
    uint32_t code;
};
struct RoleWordsRow {
    std::string_view variable;
    uint32_t attribute;
};
struct BinWordsRow {
    std::string_view entry;
    uint32_t code;
};
struct OptionWordsRow {
    std::string_view section, word;
    uint32_t code;
};

#define TB58_TRAY_ROW(name, presence, state, size, quantity, media, code, english) \
    TrayWordsRow{presence, state, size, quantity, media, code},
#define TB58_ROLE_ROW(variable, attribute, role) RoleWordsRow{variable, attribute},
#define TB58_BIN_ROW(entry, code, english, english_two_shift) BinWordsRow{entry, code},
#define TB58_OPTION_ROW(code, section, word, description, device_code) OptionWordsRow{section, word, code},
constexpr TrayWordsRow kTrays[] = {TB58_TRAY_WORDS(TB58_TRAY_ROW)};
constexpr RoleWordsRow kRoles[] = {TB58_SPECIAL_TRAY_ROLES(TB58_ROLE_ROW)};
constexpr BinWordsRow kBins[] = {TB58_BIN_WORDS(TB58_BIN_ROW)};
constexpr OptionWordsRow kOptions[] = {TB58_OPTION_WORDS(TB58_OPTION_ROW)};
#undef TB58_TRAY_ROW
#undef TB58_ROLE_ROW
#undef TB58_BIN_ROW
#undef TB58_OPTION_ROW

// An INQUIRE row for each tray that is asked about one of its values.
template <typename Add>
constexpr void AddInquiries(Add& add, std::string_view TrayWordsRow::*variable, PjlHandler handler) {
    for (const TrayWordsRow& tray : kTrays) {
        if (!(tray.*variable).empty()) add(PjlDispatchRow{{"INQUIRE", tray.*variable, "", "", ""}, handler, tray.code});
    }
}

// Every row in search order; values are tray codes, tray attribute bits,
// bin codes and option codes (Tb58Wk31Codes.h).
template <typename Add>
constexpr void AddRows(Add& add) {
    AddInquiries(add, &TrayWordsRow::state, HandleTrayState);
    AddInquiries(add, &TrayWordsRow::size, HandleTrayPaperSize);
    AddInquiries(add, &TrayWordsRow::quantity, HandleTrayQuantity);
    AddInquiries(add, &TrayWordsRow::media, HandleTrayMediaType);
    for (const TrayWordsRow& tray : kTrays) {
        add(PjlDispatchRow{{"INFO", "CONFIG", "IN TRAYS", tray.presence, ""}, HandleTrayPresence, tray.code});
    }
    for (const RoleWordsRow& role : kRoles) {
        add(PjlDispatchRow{{"INQUIRE", role.variable, "", "", ""}, HandleSpecialTray, role.attribute});
    }
    for (const BinWordsRow& bin : kBins) {
        if (!bin.entry.empty()) add(PjlDispatchRow{{"INFO", "OUTBINSTATUS", bin.entry, "", ""}, HandleOutBinStatus, bin.code});
    }
    for (const OptionWordsRow& option : kOptions) {
        if (option.word.empty()) continue;
        if (option.section.empty()) {
            add(PjlDispatchRow{{"INFO", "CONFIG", option.word, "", ""}, HandleInstalledOption, option.code});
        } else {
            add(PjlDispatchRow{{"INFO", "CONFIG", option.section, option.word, ""}, HandleInstalledOption, option.code});
        }
    }
}

consteval size_t CountRows() {
    size_t count = 0;
    auto add = [&count](const PjlDispatchRow&) { ++count; };
    AddRows(add);
    return count;
}

consteval std::array<PjlDispatchRow, CountRows()> MakeRows() {
    std::array<PjlDispatchRow, CountRows()> rows{};
    size_t count = 0;
    auto add = [&](const PjlDispatchRow& row) { rows[count++] = row; };
    AddRows(add);
    return rows;
}

constexpr std::array<PjlDispatchRow, CountRows()> kRows = MakeRows();

constexpr auto kIndex = MakeDispatchIndex(kRows, kCommonDispatchRows);

}  // namespace

const std::span<const PjlDispatchRow> kModelDispatchRows = kRows;

constinit const PjlDispatchIndex kModelDispatchIndex = kIndex.View();

}  // namespace tb58::pjl
