// Media names of the tray media inquiry (44 rows; unknown names give 0).
#include "pjl/reply_value_tables.h"

namespace tb58::pjl {
namespace {

constexpr auto kMediaNames = MakeCodeByNameTable(
    {
     {"PLAIN", 1},
     {"RECYCLED", 2},
     {"SPECIAL", 5},
     {"THICK", 6},
     {"THICK2", 17},
     {"THIN", 20},
     {"TABSTOCK", 8},
     {"TRANSPARENCY", 3},
     {"COLOR", 9},
     {"LETTERHEAD", 10},
     {"PREPRINTED", 11},
     {"PREPUNCHED", 12},
     {"LABELS", 13},
     {"BOND", 14},
     {"CARDSTOCK", 15},
     {"THICKDUPLEXBACKSIDE", 19},
     {"PLAINDUPLEXBACKSIDE", 18},
     {"USED", 35},
     {"USERCOLOR1", 22},
     {"USERCOLOR2", 23},
     {"JPOST", 24},
     {"JPOSTDUPLEXBACKSIDE", 25},
     {"YELLOW", 26},
     {"GREEN", 27},
     {"BLUE", 28},
     {"PURPLE", 29},
     {"IVORY", 30},
     {"ORANGE", 31},
     {"PINK", 32},
     {"RED", 33},
     {"GRAY", 34},
     {"TRANSLUCENT", 4},
     {"GLOSSY", 21},
     {"FILM", 7},
     {"ENVELOPE", 36},
     {"INKJETJPOST", 37},
     {"HGPLAIN", 38},
     {"THICK3", 39},
     {"SPECIAL2", 40},
     {"SPECIAL3", 41},
     {"MIDDLETHICK", 42},
     {"COATED", 43},
     {"THICKDUPLEXBACKSIDE2", 44},
     {"THICKDUPLEXBACKSIDE3", 45}},
    0);

constexpr auto kMediaNamesIndex = IndexCodeByName(kMediaNames);

}  // namespace

constinit const CodeByNameIndex kMediaNameCodes = kMediaNamesIndex.View();

}  // namespace tb58::pjl
