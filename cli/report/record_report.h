// The printer information record in words: every field and chain node the
// library filled, under the record's own field names, with the reply words
// and names that belong to the codes.
#pragma once

#include <Tb58Wk31Platform.h>

#include <nlohmann/json.hpp>
#include <ostream>

namespace tb58mon {

using Json = nlohmann::ordered_json;

// The record as JSON.  Texts from the printer are taken as code page 1252
// and given in UTF-8; a null text is null.
Json RecordJson(const PrnInfoEx& record);

// The same for people.
void PrintRecord(std::ostream& out, const Json& record);

// The English name PatGetDeviceName takes for an output bin code: bins 4
// and 27 are the finisher's shift trays 1 and 2 when the finisher with two
// shift trays (option 38) is installed.  Empty for a code without a name.
std::string_view BinEnglishName(uint16_t code, bool two_shift_trays);

// True when the record's pDeviceInfo holds option code.
bool HasOption(const PrnInfoEx& record, uint16_t code);

}  // namespace tb58mon
