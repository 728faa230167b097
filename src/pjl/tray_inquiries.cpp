// The inquiries of each input tray, in the order they are asked.
#include "pjl/query_lines.h"

namespace tb58::pjl {

const TrayInquiry kTrayInquiries[] = {
    {3, false,
     "@PJL INQUIRE INTRAY1SIZE\r\n@PJL INQUIRE INTRAY1QUANT\r\n@PJL INQUIRE INTRAY1MEDIA\r\n@PJL INQUIRE INTRAY1\r\n"},
    {4, false,
     "@PJL INQUIRE INTRAY2SIZE\r\n@PJL INQUIRE INTRAY2QUANT\r\n@PJL INQUIRE INTRAY2MEDIA\r\n@PJL INQUIRE INTRAY2\r\n"},
    {5, false,
     "@PJL INQUIRE INTRAY3SIZE\r\n@PJL INQUIRE INTRAY3QUANT\r\n@PJL INQUIRE INTRAY3MEDIA\r\n@PJL INQUIRE INTRAY3\r\n"},
    {6, false,
     "@PJL INQUIRE INTRAY4SIZE\r\n@PJL INQUIRE INTRAY4QUANT\r\n@PJL INQUIRE INTRAY4MEDIA\r\n@PJL INQUIRE INTRAY4\r\n"},
    {11, true,
     "@PJL INQUIRE INTRAYLCTSIZE\r\n@PJL INQUIRE INTRAYLCTQUANT\r\n@PJL INQUIRE INTRAYLCTMEDIA\r\n"
     "@PJL INQUIRE INTRAYLCT\r\n"},
    {1, false, "@PJL INQUIRE INTRAYMSIZE\r\n@PJL INQUIRE INTRAYMMEDIA\r\n@PJL INQUIRE INTRAYMULTI\r\n"},
    {101, true, "@PJL INQUIRE INTRAYINSERTERSIZE\r\n"},
    {kTrayInquiryEnd, false, {}},
};

}  // namespace tb58::pjl
