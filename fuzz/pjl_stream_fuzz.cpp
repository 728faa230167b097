// The monitor's PJL stream framing on bytes straight off the network.  The
// first byte chooses how the stream is cut into reads, the second the cap;
// the rest is the stream.  However it is cut, the framing must end in the
// same state with the same reply, and never hold more than the cap allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "transport/pjl_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t step = data[0] == 0 ? 1 : data[0];
    const size_t cap = 64 + static_cast<size_t>(data[1]) * 64;
    const std::string_view stream(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string cookie = "TB58FUZZ00C0FFEE";

    tb58mon::PjlReplyFramer whole(cookie, cap);
    whole.Feed(stream);
    tb58mon::PjlReplyFramer pieces(cookie, cap);
    for (size_t at = 0; at < stream.size(); at += step) pieces.Feed(stream.substr(at, step));

    if (whole.state() != pieces.state()) std::abort();
    if (whole.state() == tb58mon::PjlReplyFramer::State::kComplete) {
        if (whole.reply() != pieces.reply() || whole.ustatus() != pieces.ustatus()) std::abort();
        if (whole.reply().size() > cap) std::abort();
        if (whole.reply().find('\0') != std::string::npos || whole.reply().find('\x04') != std::string::npos) std::abort();
    }
    return 0;
}
