#include "sim/mib_responder.h"

#include <algorithm>
#include <cstdio>

namespace tb58mon {
namespace {

bool PlainText(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char pair[4];
    for (const char c : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(c));
        if (!out.empty()) out += ' ';
        out += pair;
    }
    return out;
}

std::string TypeAndValue(const MibBinding& binding) {
    switch (binding.type) {
        case MibType::kInteger: return "integer\t" + std::to_string(binding.number);
        case MibType::kGauge: return "gauge\t" + std::to_string(binding.number);
        case MibType::kCounter: return "counter\t" + std::to_string(binding.number);
        case MibType::kTimeTicks: return "timeticks\t" + std::to_string(binding.number);
        case MibType::kObjectId: return "objectid\t." + OidText(binding.oid_value);
        case MibType::kOctets: break;
    }
    if (PlainText(binding.text)) return "string\t" + binding.text;
    return "octet\t" + Hex(binding.text);
}

}  // namespace

std::string MibResponderData(std::span<const MibBinding> bindings) {
    std::vector<const MibBinding*> sorted;
    sorted.reserve(bindings.size());
    for (const MibBinding& binding : bindings) {
        if (!binding.oid.empty()) sorted.push_back(&binding);
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const MibBinding* a, const MibBinding* b) { return OidLess(a->oid, b->oid); });
    std::string data;
    for (size_t i = 0; i < sorted.size(); ++i) {
        // Of bindings with the same OID the last given wins.
        if (i + 1 < sorted.size() && sorted[i + 1]->oid == sorted[i]->oid) continue;
        data += "." + OidText(sorted[i]->oid) + "\t" + TypeAndValue(*sorted[i]) + "\n";
    }
    return data;
}

}  // namespace tb58mon
