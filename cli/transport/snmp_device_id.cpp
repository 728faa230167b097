#include "transport/snmp_device_id.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstdlib>
#include <mutex>
#include <vector>

namespace tb58mon {
namespace {

// ppmPrinterIEEE1284DeviceId.1
const oid kDeviceIdObject[] = {1, 3, 6, 1, 4, 1, 2699, 1, 2, 1, 2, 1, 1, 3, 1};

// The library is set up once per process: no MIB files are read (the
// object is asked by number) and no configuration or persistent files.
void InitialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_CONFIG_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
        setenv("MIBS", "", 0);
        init_snmp("tb58mon");
    });
}

struct SessionCloser {
    void* handle;
    ~SessionCloser() {
        if (handle != nullptr) snmp_sess_close(handle);
    }
};

struct PduFreer {
    netsnmp_pdu* pdu = nullptr;
    ~PduFreer() {
        if (pdu != nullptr) snmp_free_pdu(pdu);
    }
};

std::string SessionError(void* handle) {
    int library_error = 0;
    int system_error = 0;
    char* text = nullptr;
    snmp_sess_error(handle, &library_error, &system_error, &text);
    std::string message = text != nullptr ? text : "SNMP error";
    std::free(text);
    return message;
}

}  // namespace

SnmpReading ReadDeviceIdOverSnmp(std::string_view host, unsigned port, std::string_view community,
                                 std::string_view version, std::chrono::milliseconds timeout) {
    InitialiseOnce();
    SnmpReading reading;
    const bool ipv6 = host.find(':') != std::string_view::npos;
    std::string peer = (ipv6 ? "udp6:[" : "udp:") + std::string(host) + (ipv6 ? "]:" : ":") + std::to_string(port);
    std::vector<u_char> community_bytes(community.begin(), community.end());

    netsnmp_session settings;
    snmp_sess_init(&settings);
    settings.peername = peer.data();
    settings.version = version == "1" ? SNMP_VERSION_1 : SNMP_VERSION_2c;
    settings.community = community_bytes.data();
    settings.community_len = community_bytes.size();
    settings.retries = 1;
    settings.timeout = static_cast<long>(std::chrono::microseconds(timeout).count() / 2);
    SessionCloser session{snmp_sess_open(&settings)};
    if (session.handle == nullptr) {
        reading.error = "cannot open an SNMP session to " + peer;
        return reading;
    }
    netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GET);
    if (request == nullptr) {
        reading.error = "out of memory";
        return reading;
    }
    snmp_add_null_var(request, kDeviceIdObject, sizeof kDeviceIdObject / sizeof kDeviceIdObject[0]);
    PduFreer response;
    const int status = snmp_sess_synch_response(session.handle, request, &response.pdu);  // frees request
    if (status == STAT_TIMEOUT) {
        reading.error = "no SNMP answer from " + peer;
        return reading;
    }
    if (status != STAT_SUCCESS || response.pdu == nullptr) {
        reading.error = SessionError(session.handle);
        return reading;
    }
    if (response.pdu->errstat != SNMP_ERR_NOERROR) {
        reading.error = std::string("SNMP error: ") + snmp_errstring(static_cast<int>(response.pdu->errstat));
        return reading;
    }
    const netsnmp_variable_list* value = response.pdu->variables;
    if (value == nullptr || value->type != ASN_OCTET_STR) {
        reading.error = "the printer has no device ID object (ppmPrinterIEEE1284DeviceId)";
        return reading;
    }
    reading.value.assign(reinterpret_cast<const char*>(value->val.string), value->val_len);
    // A device ID ends at its first zero byte, as the library reads it.
    if (const size_t zero = reading.value.find('\0'); zero != std::string::npos) reading.value.resize(zero);
    reading.ok = true;
    return reading;
}

}  // namespace tb58mon
