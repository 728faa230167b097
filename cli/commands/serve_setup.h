// What 'tb58mon serve' reads and checks before it starts, shared with
// 'serve --check-config', which stops there: the fleet (file and
// --printer options), the notifiers and their password files, and the
// service's own options.  Each function throws BadArgument (or Failure, for
// a file that cannot be read) with the file and line where it can.
#pragma once

#include "commands/commands.h"
#include "events/event_store.h"
#include "serve/fleet_config.h"
#include "serve/fleet_poller.h"
#include "serve/http_service.h"

namespace tb58mon {

// The fleet from the file and the --printer options (names unique, at
// least one printer); --lang is the --printer printers' language.
FleetConfig ReadServeFleet(const ServeOptions& options);

// The poller's options: --max-in-flight from 1 to 4096.
PollerOptions ServePollerOptions(const ServeOptions& options);

// The HTTP front's options without its connection budget (that needs the
// open-file limit, which only the running service raises): the connection
// caps in range, the Host names, the default language.
HttpServiceOptions ServeHttpOptions(const ServeOptions& options, const FleetConfig& fleet);

// The event store's options: --keep-days and --max-events in range.
EventStoreOptions ServeStoreOptions(const ServeOptions& options);

// Throws BadArgument unless --public-url is empty or an http(s) URL.
void CheckPublicUrl(const ServeOptions& options);

// What every printer's notifier needs: the passwords read from their files.
std::vector<NotifierConfig> NotifiersWithPasswords(const FleetConfig& fleet);

}  // namespace tb58mon
