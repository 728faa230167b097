// The printer information record in words, for machines (JSON, under the
// record's own field names) and for people (text), both made from its view
// (record_view.h).
#pragma once

#include <ostream>

#include "base/json.h"
#include "report/record_view.h"

namespace tb58mon {

// The record as JSON: every field and chain node, each code with its word
// or name.  A null text, and a code without word, is null.
Json RecordJson(const RecordView& record);

// The same for people.
void PrintRecord(std::ostream& out, const RecordView& record);

}  // namespace tb58mon
