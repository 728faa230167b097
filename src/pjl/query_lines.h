// The lines of the PJL query texts, and the tray inquiries by tray.
#pragma once

#include <cstdint>
#include <string_view>

namespace tb58::pjl {

inline constexpr std::string_view kUel = "\x1b%-12345X";
inline constexpr std::string_view kOpeningLine = "\x1b%-12345X@PJL\r\n";
inline constexpr std::string_view kConfigLine = "@PJL INFO CONFIG\r\n";
inline constexpr std::string_view kSpecialTrayLines =
    "@PJL INQUIRE FRONTCOVERPRINTTRAY\r\n"
    "@PJL INQUIRE SLIPSHEETPRINTTRAY\r\n"
    "@PJL INQUIRE CHAPTERPRINTTRAY1\r\n"
    "@PJL INQUIRE CHAPTERPRINTTRAY2\r\n"
    "@PJL INQUIRE BACKCOVERPRINTTRAY\r\n";
inline constexpr std::string_view kOutBinLine = "@PJL INFO OUTBINSTATUS\r\n";
inline constexpr std::string_view kEmulUniqText = "\x1b%-12345X@PJL\r\n@PJL INFO TZMO\r\n\x1b%-12345X";

// Ended by a row whose tray id is kTrayInquiryEnd.  Listed-only rows are
// asked only for trays the record lists.
struct TrayInquiry {
    uint16_t tray;
    bool listed_only;
    std::string_view lines;
};

constexpr uint16_t kTrayInquiryEnd = 0xFFFF;

extern const TrayInquiry kTrayInquiries[];

// The size the query text is assembled in; longer texts (repeated trays)
// grow the buffer.
constexpr uint32_t kQueryTextCapacity = 1024;

}  // namespace tb58::pjl
