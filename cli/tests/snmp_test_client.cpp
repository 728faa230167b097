#include "snmp_test_client.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstdlib>

#include "transport/snmp_exchange.h"

namespace tb58mon {
namespace {

// One session to the agent; closed with the object.
class Session {
public:
    Session(unsigned port, std::chrono::milliseconds timeout) {
        InitialiseSnmpLibrary();
        peer_ = "udp:127.0.0.1:" + std::to_string(port);
        netsnmp_session settings;
        snmp_sess_init(&settings);
        settings.peername = peer_.data();
        settings.version = SNMP_VERSION_2c;
        settings.community = community_;
        settings.community_len = 6;
        settings.retries = 0;
        settings.timeout = static_cast<long>(std::chrono::microseconds(timeout).count());
        session_ = snmp_sess_open(&settings);
    }
    ~Session() {
        if (session_ != nullptr) snmp_sess_close(session_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Sends the request (taken over) and adds the answer's objects to out;
    // false when no answer came.
    bool Ask(netsnmp_pdu* request, SnmpAnswer& out) {
        if (session_ == nullptr) {
            snmp_free_pdu(request);
            return false;
        }
        netsnmp_pdu* response = nullptr;
        const int status = snmp_sess_synch_response(session_, request, &response);
        const bool ok = status == STAT_SUCCESS && response != nullptr;
        if (ok) {
            for (netsnmp_variable_list* v = response->variables; v != nullptr; v = v->next_variable) Add(*v, out);
        }
        if (response != nullptr) snmp_free_pdu(response);
        return ok;
    }

private:
    static void Add(const netsnmp_variable_list& v, SnmpAnswer& out) {
        MibBinding b;
        b.oid.assign(v.name, v.name + v.name_length);
        switch (v.type) {
            case ASN_INTEGER: b.type = MibType::kInteger; b.number = *v.val.integer; break;
            case ASN_GAUGE: b.type = MibType::kGauge; b.number = static_cast<uint32_t>(*v.val.integer); break;
            case ASN_COUNTER: b.type = MibType::kCounter; b.number = static_cast<uint32_t>(*v.val.integer); break;
            case ASN_TIMETICKS: b.type = MibType::kTimeTicks; b.number = static_cast<uint32_t>(*v.val.integer); break;
            case ASN_OCTET_STR:
                b.type = MibType::kOctets;
                b.text.assign(reinterpret_cast<const char*>(v.val.string), v.val_len);
                break;
            case ASN_OBJECT_ID:
                b.type = MibType::kObjectId;
                b.oid_value.assign(v.val.objid, v.val.objid + v.val_len / sizeof(oid));
                break;
            case SNMP_NOSUCHOBJECT:
            case SNMP_NOSUCHINSTANCE: ++out.missing; return;
            default: return;  // endOfMibView and types the tests do not use
        }
        out.bindings.push_back(std::move(b));
    }

    std::string peer_;
    u_char community_[7] = {'p', 'u', 'b', 'l', 'i', 'c', 0};
    void* session_ = nullptr;
};

std::vector<oid> Oids(const ObjectId& id) { return {id.begin(), id.end()}; }

SnmpAnswer Ask(int command, unsigned port, const std::vector<ObjectId>& oids, std::chrono::milliseconds timeout) {
    Session session(port, timeout);
    netsnmp_pdu* request = snmp_pdu_create(command);
    for (const ObjectId& id : oids) {
        const std::vector<oid> name = Oids(id);
        snmp_add_null_var(request, name.data(), name.size());
    }
    SnmpAnswer answer;
    answer.answered = session.Ask(request, answer);
    return answer;
}

}  // namespace

SnmpAnswer SnmpGet(unsigned port, const std::vector<ObjectId>& oids, std::chrono::milliseconds timeout) {
    return Ask(SNMP_MSG_GET, port, oids, timeout);
}

SnmpAnswer SnmpGetNext(unsigned port, const std::vector<ObjectId>& oids, std::chrono::milliseconds timeout) {
    return Ask(SNMP_MSG_GETNEXT, port, oids, timeout);
}

SnmpAnswer SnmpWalk(unsigned port, const ObjectId& root, size_t limit, std::chrono::milliseconds timeout) {
    Session session(port, timeout);
    SnmpAnswer answer;
    ObjectId last = root;
    while (answer.bindings.size() < limit) {
        netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GETBULK);
        request->non_repeaters = 0;
        request->max_repetitions = 50;
        const std::vector<oid> name = Oids(last);
        snmp_add_null_var(request, name.data(), name.size());
        SnmpAnswer part;
        if (!session.Ask(request, part)) return answer;  // answered stays false
        bool more = !part.bindings.empty();
        for (MibBinding& b : part.bindings) {
            if (!OidStartsWith(b.oid, root) || !OidLess(last, b.oid) || answer.bindings.size() >= limit) {
                more = false;
                break;
            }
            last = b.oid;
            answer.bindings.push_back(std::move(b));
        }
        if (!more) break;
    }
    answer.answered = true;
    return answer;
}

}  // namespace tb58mon
