// What a status monitor shows for a record: the short and long status
// texts, the device names of its trays, bins and options, and the layers of
// the status picture.  Texts come in the ANSI code page of the display
// language and are given here in UTF-8.
#pragma once

#include <ostream>
#include <vector>

#include "image/picture.h"
#include "report/record_report.h"

namespace tb58mon {

// The short and long status texts of a record, in UTF-8; none where the
// library has no text.
struct StatusTexts {
    std::optional<std::string> short_text;
    std::optional<std::string> long_text;
};
StatusTexts ReadStatusTexts(PrnInfoEx* record, uint32_t kind, uint32_t code_page);

// {"kind", "kind_value", "alternate", "short", "long"}: a text the library
// has none for is null.
Json StatusJson(PrnInfoEx* record, uint32_t kind, uint32_t code_page);

// A tray's or bin's name (selector TB58_DEVICE_NAME_TRAY or _OUTBIN) in the
// display language, in UTF-8: PatGetDeviceName's, else the English name.
std::string LocalizedDeviceName(uint32_t selector, const std::string& english, uint32_t code_page);

// {"trays", "bins", "options"}: for each, the code, the English name (or
// description) and the localized name from PatGetDeviceName (null when the
// library has none).
Json NamesJson(const RecordView& record, uint32_t code_page);

// The layers of PatCreateBitmapInfo for the record and kind, in drawing
// order; the description is released with PatDisposeBitmapInfo.
std::vector<Layer> PictureLayers(PrnInfoEx* record, uint32_t kind);

Json LayersJson(const std::vector<Layer>& layers);

void PrintStatus(std::ostream& out, const Json& status);
void PrintNames(std::ostream& out, const Json& names);
void PrintLayers(std::ostream& out, const Json& layers);

}  // namespace tb58mon
