// The transport a device URI names, on a loop: the one place that knows
// every kind of printer the network build can poll.
#include "sim/scenario_library.h"
#include "transport/async_transport.h"
#include "transport/printer_uri.h"
#include "transport/sim_transport.h"

namespace tb58mon {

std::unique_ptr<AsyncTransport> OpenAsyncTransport(asio::io_context& io, std::string_view uri,
                                                   const TransportOptions& options) {
    const PrinterUri parsed = ParsePrinterUri(uri);
    switch (parsed.scheme) {
        case UriScheme::kSocket: return OpenAsyncSocketTransport(io, parsed.host, parsed.port, options);
        case UriScheme::kSnmp: return OpenAsyncSnmpTransport(io, parsed.host, parsed.port, options);
        case UriScheme::kUsb: return OpenAsyncUsbTransport(io, parsed.path, options);
        case UriScheme::kSim: break;
    }
    return RunOnLoop(io, OpenSimTransport(LoadScenario(parsed.path)));
}

}  // namespace tb58mon
