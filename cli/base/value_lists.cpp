#include "base/value_lists.h"

#include <Tb58Wk31.h>

#include <charconv>
#include <iterator>

#include "base/cli_error.h"

namespace tb58mon {
namespace {

struct FlagName {
    std::string_view name;
    uint32_t flag;
    std::string_view constant;
};

constexpr FlagName kFlags[] = {
    {"status", INFO_STATUS, "INFO_STATUS"},
    {"system", INFO_SYSTEM, "INFO_SYSTEM"},
    {"tray", INFO_TRAY, "INFO_TRAY"},
    {"outbin", INFO_OUTBIN, "INFO_OUTBIN"},
    {"emul", INFO_EMUL, "INFO_EMUL"},
    {"font", INFO_FONT, "INFO_FONT"},
    {"identity", INFO_IDENTITY, "INFO_IDENTITY"},
    {"device", INFO_DEVICE, "INFO_DEVICE"},
    {"engine-status", INFO_ENGINE_STATUS, "INFO_ENGINE_STATUS"},
};

struct KindName {
    std::string_view name;
    uint32_t kind;
};

constexpr KindName kKinds[] = {
    {"printer", TB58_KIND_PRINTER},
    {"scanner", TB58_KIND_SCANNER},
    {"copier", TB58_KIND_COPIER},
    {"machine", TB58_KIND_MACHINE},
};

bool IsSeparator(char c) { return c == ',' || c == '/' || c == ' ' || c == '\t'; }

// Splits text at separators; empty parts are dropped.
std::vector<std::string_view> SplitList(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsSeparator(text[at])) ++at;
        size_t end = at;
        while (end < text.size() && !IsSeparator(text[end])) ++end;
        if (end > at) parts.push_back(text.substr(at, end - at));
        at = end;
    }
    return parts;
}

CliError BadValue(std::string_view option, std::string_view text, std::string_view part, std::string_view why) {
    return BadArgument(std::string(option) + " '" + std::string(text) + "': '" + std::string(part) + "' " +
                       std::string(why));
}

// A whole decimal number (optionally negative) within [low, high].
bool ReadNumber(std::string_view part, int64_t low, int64_t high, int64_t* out) {
    int64_t value = 0;
    const char* first = part.data();
    const char* last = part.data() + part.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || value < low || value > high) return false;
    *out = value;
    return true;
}

}  // namespace

std::vector<int32_t> ParseStatusCodes(std::string_view option, std::string_view text) {
    std::vector<int32_t> codes;
    for (std::string_view part : SplitList(text)) {
        int64_t value = 0;
        if (!ReadNumber(part, INT32_MIN, UINT32_MAX, &value)) {
            throw BadValue(option, text, part, "is not a status code (a number from -2147483648 to 4294967295)");
        }
        codes.push_back(static_cast<int32_t>(static_cast<uint32_t>(value & 0xFFFFFFFF)));
    }
    if (codes.empty()) throw BadArgument(std::string(option) + " needs at least one code");
    return codes;
}

std::vector<uint16_t> ParseSmallCodes(std::string_view option, std::string_view text) {
    std::vector<uint16_t> codes;
    for (std::string_view part : SplitList(text)) {
        int64_t value = 0;
        if (!ReadNumber(part, 0, 0xFFFF, &value)) throw BadValue(option, text, part, "is not a number from 0 to 65535");
        codes.push_back(static_cast<uint16_t>(value));
    }
    return codes;
}

uint32_t ParseRequestFlags(std::string_view option, std::string_view text) {
    uint32_t flags = 0;
    const auto parts = SplitList(text);
    if (parts.empty()) throw BadArgument(std::string(option) + " needs at least one flag");
    for (std::string_view part : parts) {
        if (part == "all") {
            flags |= AllRequestFlags();
            continue;
        }
        bool known = false;
        for (const FlagName& f : kFlags) {
            if (part == f.name) {
                flags |= f.flag;
                known = true;
            }
        }
        if (known) continue;
        uint32_t value = 0;
        const bool hex = part.size() > 2 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X');
        const char* first = part.data() + (hex ? 2 : 0);
        const char* last = part.data() + part.size();
        const auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
        if (error != std::errc() || end != last) {
            throw BadValue(option, text, part,
                           "is not a flag (status, system, tray, outbin, emul, font, identity, device, "
                           "engine-status, all, or a number)");
        }
        flags |= value;
    }
    return flags;
}

std::string RequestFlagNames(uint32_t flags) {
    std::string names;
    for (const FlagName& f : kFlags) {
        if ((flags & f.flag) == 0) continue;
        if (!names.empty()) names += " | ";
        names += f.constant;
    }
    return names.empty() ? "0" : names;
}

uint32_t AllRequestFlags() {
    uint32_t flags = 0;
    for (const FlagName& f : kFlags) flags |= f.flag;
    return flags;
}

namespace {

CliError BadByteCount(std::string_view option, std::string_view text, uint64_t least, uint64_t most) {
    return BadArgument(std::string(option) + " '" + std::string(text) + "' is not a number of bytes from " +
                       std::to_string(least) + " to " + std::to_string(most));
}

}  // namespace

uint64_t ParseByteCount(std::string_view option, std::string_view text, uint64_t least, uint64_t most) {
    uint64_t value = 0;
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (!digits || error != std::errc() || end != text.data() + text.size() || value < least || value > most) {
        throw BadByteCount(option, text, least, most);
    }
    return value;
}

uint64_t CheckByteCount(std::string_view option, uint64_t value, uint64_t least, uint64_t most) {
    if (value < least || value > most) throw BadByteCount(option, std::to_string(value), least, most);
    return value;
}

uint32_t ParseFunctionKind(std::string_view option, std::string_view text) {
    for (const KindName& k : kKinds) {
        if (text == k.name) return k.kind;
    }
    int64_t value = 0;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (hex) {
        uint32_t parsed = 0;
        const auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), parsed, 16);
        if (error == std::errc() && end == text.data() + text.size()) value = parsed;
    } else if (!ReadNumber(text, 0, UINT32_MAX, &value)) {
        value = -1;
    }
    for (const KindName& k : kKinds) {
        if (value == k.kind) return k.kind;
    }
    throw BadArgument(std::string(option) + " '" + std::string(text) +
                      "' is not a function kind (1 printer, 2 scanner, 8 copier, 0x8000 machine)");
}

std::string_view FunctionKindName(uint32_t kind) {
    for (const KindName& k : kKinds) {
        if ((kind & 0xFFFF) == k.kind) return k.name;
    }
    return "unknown";
}

}  // namespace tb58mon
