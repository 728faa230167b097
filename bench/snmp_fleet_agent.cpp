// A fleet of printers that answer SNMP only, for the snmp:// load of
// bench/fleet_bench.sh: one process, one UDP port a printer on 127.0.0.1,
// printer i serving the MIB of built-in scenario i in turn (what the
// simulated printer's snmpd serves), answering GET, GETNEXT and GETBULK of
// SNMPv1 and v2c.  A real snmpd per printer would take a few megabytes and
// a process each, and the benchmark would measure snmpd.
//
//   tb58mon_snmp_fleet PRINTERS FLEET_FILE SECONDS
//
// It writes a fleet file of snmp:// printers to FLEET_FILE, prints
// "serving a fleet of N printers" and answers for SECONDS seconds.
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/large_fd_set.h>
#include <poll.h>
#include <sys/socket.h>
#include <netinet/in.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "mib/mib_binding.h"
#include "sim/agent_bindings.h"
#include "sim/scenario.h"
#include "sim/scenario_library.h"
#include "transport/snmp_exchange.h"

namespace {

using namespace tb58mon;

struct FleetPrinter {
    const std::vector<MibBinding>* bindings = nullptr;
    void* session = nullptr;
    int fd = -1;
    unsigned port = 0;
};

std::vector<oid> NetSnmpOid(const ObjectId& id) { return {id.begin(), id.end()}; }

ObjectId OurOid(const netsnmp_variable_list& variable) {
    return ObjectId(variable.name, variable.name + variable.name_length);
}

void AddValue(netsnmp_pdu* reply, const MibBinding& binding) {
    const std::vector<oid> name = NetSnmpOid(binding.oid);
    switch (binding.type) {
        case MibType::kInteger: {
            const long value = static_cast<long>(binding.number);
            snmp_pdu_add_variable(reply, name.data(), name.size(), ASN_INTEGER, &value, sizeof value);
            return;
        }
        case MibType::kGauge:
        case MibType::kCounter:
        case MibType::kTimeTicks: {
            const u_long value = static_cast<u_long>(binding.number) & 0xFFFFFFFFul;
            const u_char type = binding.type == MibType::kGauge     ? ASN_GAUGE
                                : binding.type == MibType::kCounter ? ASN_COUNTER
                                                                    : ASN_TIMETICKS;
            snmp_pdu_add_variable(reply, name.data(), name.size(), type, &value, sizeof value);
            return;
        }
        case MibType::kOctets:
            snmp_pdu_add_variable(reply, name.data(), name.size(), ASN_OCTET_STR, binding.text.data(),
                                  binding.text.size());
            return;
        case MibType::kObjectId: {
            const std::vector<oid> value = NetSnmpOid(binding.oid_value);
            snmp_pdu_add_variable(reply, name.data(), name.size(), ASN_OBJECT_ID, value.data(),
                                  value.size() * sizeof(oid));
            return;
        }
    }
}

// The binding at or after asked (after: strictly after), or none.
const MibBinding* Find(const std::vector<MibBinding>& bindings, const ObjectId& asked, bool after) {
    auto at = std::lower_bound(bindings.begin(), bindings.end(), asked,
                               [](const MibBinding& b, const ObjectId& id) { return OidLess(b.oid, id); });
    if (at != bindings.end() && after && at->oid == asked) ++at;
    if (at == bindings.end() || (!after && at->oid != asked)) return nullptr;
    return &*at;
}

// A binding that says there is no value: an exception (v2c) or, for v1,
// noSuchName in the PDU.
void AddMissing(netsnmp_pdu* reply, const ObjectId& asked, u_char exception, long index) {
    if (reply->version == SNMP_VERSION_1) {
        if (reply->errstat == 0) {
            reply->errstat = SNMP_ERR_NOSUCHNAME;
            reply->errindex = index;
        }
    }
    const std::vector<oid> name = NetSnmpOid(asked);
    snmp_pdu_add_variable(reply, name.data(), name.size(), exception, nullptr, 0);
}

void AnswerBulk(const std::vector<MibBinding>& bindings, const std::vector<ObjectId>& asked, long non_repeaters,
                long repetitions, netsnmp_pdu* reply) {
    const size_t fixed = static_cast<size_t>(std::clamp<long>(non_repeaters, 0, static_cast<long>(asked.size())));
    for (size_t i = 0; i < fixed; ++i) {
        const MibBinding* next = Find(bindings, asked[i], true);
        next != nullptr ? AddValue(reply, *next) : AddMissing(reply, asked[i], SNMP_ENDOFMIBVIEW, 0);
    }
    std::vector<ObjectId> cursor(asked.begin() + static_cast<long>(fixed), asked.end());
    for (long r = 0; r < std::clamp<long>(repetitions, 0, 64) && !cursor.empty(); ++r) {
        bool any = false;
        for (ObjectId& id : cursor) {
            const MibBinding* next = Find(bindings, id, true);
            if (next == nullptr) {
                AddMissing(reply, id, SNMP_ENDOFMIBVIEW, 0);
                continue;
            }
            AddValue(reply, *next);
            id = next->oid;
            any = true;
        }
        if (!any) break;
    }
}

int Answer(int operation, netsnmp_session*, int, netsnmp_pdu* pdu, void* magic) {
    if (operation != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE) return 1;
    if (pdu->command != SNMP_MSG_GET && pdu->command != SNMP_MSG_GETNEXT && pdu->command != SNMP_MSG_GETBULK) return 1;
    const auto& printer = *static_cast<const FleetPrinter*>(magic);
    const auto& bindings = *printer.bindings;
    std::vector<ObjectId> asked;
    for (const netsnmp_variable_list* v = pdu->variables; v != nullptr; v = v->next_variable) asked.push_back(OurOid(*v));
    netsnmp_pdu* reply = snmp_clone_pdu(pdu);
    snmp_free_varbind(reply->variables);
    reply->variables = nullptr;
    reply->command = SNMP_MSG_RESPONSE;
    reply->errstat = 0;
    reply->errindex = 0;
    if (pdu->command == SNMP_MSG_GETBULK) {
        AnswerBulk(bindings, asked, pdu->errstat, pdu->errindex, reply);
    } else {
        const bool next = pdu->command == SNMP_MSG_GETNEXT;
        for (size_t i = 0; i < asked.size(); ++i) {
            const MibBinding* found = Find(bindings, asked[i], next);
            if (found != nullptr) {
                AddValue(reply, *found);
            } else {
                AddMissing(reply, asked[i], next ? SNMP_ENDOFMIBVIEW : SNMP_NOSUCHINSTANCE, static_cast<long>(i + 1));
            }
        }
    }
    if (snmp_sess_send(printer.session, reply) == 0) snmp_free_pdu(reply);
    return 1;
}

bool OpenPrinter(FleetPrinter& printer) {
    netsnmp_transport* transport = netsnmp_transport_open_server("tb58fleet", "udp:127.0.0.1:0");
    if (transport == nullptr) return false;
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (getsockname(transport->sock, reinterpret_cast<sockaddr*>(&address), &length) != 0) return false;
    printer.port = ntohs(address.sin_port);
    printer.fd = transport->sock;
    netsnmp_session settings;
    snmp_sess_init(&settings);
    settings.peername = nullptr;
    settings.version = SNMP_DEFAULT_VERSION;
    settings.callback = Answer;
    settings.callback_magic = &printer;
    settings.isAuthoritative = SNMP_SESS_UNKNOWNAUTH;
    printer.session = snmp_sess_add(&settings, transport, nullptr, nullptr);
    return printer.session != nullptr;
}

void ReadOne(void* session, int fd) {
    netsnmp_large_fd_set ready;
    netsnmp_large_fd_set_init(&ready, fd + 1);
    NETSNMP_LARGE_FD_ZERO(&ready);
    NETSNMP_LARGE_FD_SET(fd, &ready);
    snmp_sess_read2(session, &ready);
    netsnmp_large_fd_set_cleanup(&ready);
}

void Serve(std::vector<FleetPrinter>& printers, int seconds) {
    std::vector<pollfd> watched;
    for (const FleetPrinter& printer : printers) watched.push_back({printer.fd, POLLIN, 0});
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (poll(watched.data(), watched.size(), 200) <= 0) continue;
        for (size_t i = 0; i < watched.size(); ++i) {
            if ((watched[i].revents & POLLIN) != 0) ReadOne(printers[i].session, printers[i].fd);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: tb58mon_snmp_fleet PRINTERS FLEET_FILE SECONDS\n";
        return 2;
    }
    const long count = std::strtol(argv[1], nullptr, 10);
    const long seconds = std::strtol(argv[3], nullptr, 10);
    if (count < 1 || count > 5000 || seconds < 1 || seconds > 86400) {
        std::cerr << "PRINTERS takes 1 to 5000, SECONDS 1 to 86400\n";
        return 2;
    }
    InitialiseSnmpLibrary();
    std::vector<std::string> names;
    std::vector<std::vector<MibBinding>> served;
    for (const EmbeddedFile& file : EmbeddedScenarioFiles()) {
        names.emplace_back(file.name);
        served.push_back(AgentBindings(ParseScenario(file.name, file.text), FaultSwitches{}));
    }
    std::vector<FleetPrinter> printers(static_cast<size_t>(count));
    std::string fleet = "# A fleet of " + std::to_string(count) + " printers that answer SNMP only\n";
    for (size_t i = 0; i < printers.size(); ++i) {
        printers[i].bindings = &served[i % served.size()];
        if (!OpenPrinter(printers[i])) {
            std::cerr << "cannot open a UDP port for printer " << i + 1 << "\n";
            return 1;
        }
        char number[8];
        std::snprintf(number, sizeof number, "%03zu", i + 1);
        fleet += "\n[[printer]]\nname = \"printer-" + std::string(number) + "-" + names[i % names.size()] +
                 "\"\nuri = \"snmp://127.0.0.1:" + std::to_string(printers[i].port) + "\"\n";
    }
    std::ofstream(argv[2], std::ios::binary) << fleet;
    std::cout << "serving a fleet of " << printers.size() << " printers" << std::endl;
    Serve(printers, static_cast<int>(seconds));
    for (FleetPrinter& printer : printers) snmp_sess_close(printer.session);
    return 0;
}
