// Reading the values of tb58mon's options: code lists, request flags,
// function kinds and language codes.  Every reader throws a BadArgument
// CliError that names the option and the part it could not read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tb58mon {

// "41201,41301" (also '/' or blanks between the codes).  Each code is a
// decimal number from -2147483648 to 4294967295, stored as its 32 bits, so
// that both -254 and 4294967042 name the no-response code.
std::vector<int32_t> ParseStatusCodes(std::string_view option, std::string_view text);

// "38,104": decimal numbers from 0 to 65535.
std::vector<uint16_t> ParseSmallCodes(std::string_view option, std::string_view text);

// "system,tray,outbin": the INFO_... flags by name (status, system, tray,
// outbin, emul, font, identity, device, engine-status, all), or numbers
// (decimal or 0x hexadecimal).
uint32_t ParseRequestFlags(std::string_view option, std::string_view text);

// The names of the flags set in flags, joined by " | " (INFO_SYSTEM | ...).
std::string RequestFlagNames(uint32_t flags);

// Every request flag.
uint32_t AllRequestFlags();

// A count of bytes from least to most: decimal digits only (no sign, blank,
// exponent or 0x).  A number past most is refused however many digits it
// has: it never wraps around.
uint64_t ParseByteCount(std::string_view option, std::string_view text, uint64_t least, uint64_t most);

// value when it lies from least to most; else the BadArgument of
// ParseByteCount.
uint64_t CheckByteCount(std::string_view option, uint64_t value, uint64_t least, uint64_t most);

// 1, 2, 8 or 0x8000 (also "printer", "scanner", "copier", "machine").
uint32_t ParseFunctionKind(std::string_view option, std::string_view text);

// "printer", "scanner", "copier", "machine" for the low 16 bits of kind.
std::string_view FunctionKindName(uint32_t kind);

}  // namespace tb58mon
