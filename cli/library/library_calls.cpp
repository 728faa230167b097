#include "library/library_calls.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace tb58mon {
namespace {

struct ErrorCodeName {
    uint32_t code;
    const char* name;
};

// The codes the public header names.
constexpr ErrorCodeName kErrorNames[] = {
    {TB58_ERROR_SUCCESS, "TB58_ERROR_SUCCESS"},
    {TB58_ERROR_NOT_ENOUGH_MEMORY, "TB58_ERROR_NOT_ENOUGH_MEMORY"},
    {TB58_ERROR_INVALID_DATA, "TB58_ERROR_INVALID_DATA"},
    {TB58_ERROR_INVALID_PARAMETER, "TB58_ERROR_INVALID_PARAMETER"},
    {TB58_ERROR_INSUFFICIENT_BUFFER, "TB58_ERROR_INSUFFICIENT_BUFFER"},
    {TB58_ERROR_UNKNOWN_LOCALE, "TB58_ERROR_UNKNOWN_LOCALE"},
    {TB58_ERROR_REPLY_MISMATCH, "TB58_ERROR_REPLY_MISMATCH"},
    {TB58_ERROR_NO_PALETTE, "TB58_ERROR_NO_PALETTE"},
    {TB58_ERROR_NOT_FOUND, "TB58_ERROR_NOT_FOUND"},
};

// A record node the caller adds, or a failure when memory runs out.
template <typename Node>
Node* Added(Node* node) {
    if (node == nullptr) throw Failure("out of memory (GlobalAlloc of a record node)");
    return node;
}

// Calls fetch(buffer, &size) first with no buffer to learn the size, then
// with a buffer of that size.  Returns the text, or the failing call's error.
template <typename Fetch>
bool FetchText(Fetch fetch, std::string* text, uint32_t* error) {
    uint32_t size = 0;
    if (fetch(nullptr, &size) == 0 && GetLastError() != TB58_ERROR_INSUFFICIENT_BUFFER) {
        *error = GetLastError();
        return false;
    }
    std::vector<char> buffer(size == 0 ? 1 : size, '\0');
    size = static_cast<uint32_t>(buffer.size());
    if (fetch(buffer.data(), &size) == 0) {
        *error = GetLastError();
        return false;
    }
    *text = buffer.data();
    return true;
}

}  // namespace

std::string ErrorName(uint32_t code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
    for (const ErrorCodeName& e : kErrorNames) {
        if (e.code == code) return std::string(e.name) + " (" + hex + ")";
    }
    return "error " + std::to_string(code) + " (" + hex + ")";
}

CliError CallFailed(std::string_view call) {
    return Failure(std::string(call) + " failed: " + ErrorName(GetLastError()));
}

void FreePacket(InfoItem* item) { tb58kit::FreeTree(item); }

InfoItem* NewItem(uint32_t key, const void* data, uint32_t length) {
    InfoItem* item = tb58kit::NewItem(key, data, length);
    if (item == nullptr) throw Failure("out of memory (GlobalAlloc of a packet item)");
    return item;
}

InfoItem* NewTextItem(uint32_t key, std::string_view text) {
    InfoItem* item = tb58kit::NewTextItem(key, text);
    if (item == nullptr) throw Failure("out of memory (GlobalAlloc of a packet item)");
    return item;
}

void AppendChild(InfoItem* parent, InfoItem* child) { tb58kit::AppendChild(parent, child); }

void RemoveChild(InfoItem* parent, uint32_t key) {
    InfoItem* previous = nullptr;
    for (InfoItem* child = parent->firstChild; child != nullptr; previous = child, child = child->next) {
        if (child->key != key) continue;
        (previous == nullptr ? parent->firstChild : previous->next) = child->next;
        if (parent->lastChild == child) parent->lastChild = previous;
        child->next = nullptr;
        FreePacket(child);
        return;
    }
}

const InfoItem* FindChild(const InfoItem* item, uint32_t key) {
    for (const InfoItem* child = item->firstChild; child != nullptr; child = child->next) {
        if (child->key == key) return child;
    }
    return nullptr;
}

std::string ItemText(const InfoItem* item) {
    const char* data = reinterpret_cast<const char*>(item) + INFO_ITEM_HEADER_SIZE;
    const void* zero = std::memchr(data, '\0', item->dataLength);
    const size_t length = zero == nullptr ? item->dataLength : static_cast<size_t>(static_cast<const char*>(zero) - data);
    return std::string(data, length);
}

void OwnedRecord::AddEngineStatus(int32_t code, std::string_view text) {
    Added(tb58kit::AppendEngineStatus(*record_, code, text));
}

void OwnedRecord::AddOption(uint16_t code) { Added(tb58kit::AppendOption(*record_, code)); }

void OwnedRecord::AddTray(uint16_t code) { Added(tb58kit::AppendTray(*record_, code)); }

namespace {

// The machine kind reads the child whose key equals the root's data length:
// a root of 2 data bytes makes that the machine record itself.
InfoItem* NewStatusRoot(uint32_t kind) {
    const char data[ITEM_STATUS_MACHINE] = {};
    return (kind & 0xFFFF) == TB58_KIND_MACHINE ? NewItem(ITEM_STATUS, data, sizeof data)
                                                : NewItem(ITEM_STATUS, nullptr, 0);
}

}  // namespace

StatusPacket::StatusPacket(PrnInfoEx* record, uint32_t kind) : root_(NewStatusRoot(kind)) {
    uint32_t function_child = ITEM_STATUS_MACHINE;
    switch (kind & 0xFFFF) {
        case TB58_KIND_PRINTER: function_child = ITEM_STATUS_PRINTER; break;
        case TB58_KIND_SCANNER: function_child = ITEM_STATUS_SCANNER; break;
        case TB58_KIND_COPIER: function_child = ITEM_STATUS_COPIER; break;
        default: break;
    }
    AppendChild(root_.get(), NewItem(ITEM_STATUS_MACHINE, &record, sizeof record));
    if (function_child != ITEM_STATUS_MACHINE) AppendChild(root_.get(), NewItem(function_child, &record, sizeof record));
}

std::optional<std::string> GetStatusString(uint32_t kind, const InfoItem* packet, uint32_t selector) {
    std::string text;
    uint32_t error = 0;
    const bool ok = FetchText(
        [&](char* buffer, uint32_t* size) {
            return PatGetStatusString(kind, packet, TB58_REVISION_STATUS, selector, buffer, size);
        },
        &text, &error);
    if (ok) return text;
    if (error == TB58_ERROR_NOT_FOUND) return std::nullopt;
    SetLastError(error);
    throw CallFailed("PatGetStatusString");
}

std::optional<std::string> GetDeviceName(uint32_t selector, const void* value) {
    const uint32_t check = selector == TB58_DEVICE_NAME_OPTION ? TB58_OPTION_NAME_CHECK : TB58_DEVICE_NAME_CHECK;
    std::string text;
    uint32_t error = 0;
    const bool ok = FetchText(
        [&](char* buffer, uint32_t* size) { return PatGetDeviceName(selector, value, check, buffer, size); }, &text,
        &error);
    if (ok) return text;
    if (error == TB58_ERROR_NOT_FOUND || error == TB58_ERROR_INVALID_PARAMETER) return std::nullopt;
    SetLastError(error);
    throw CallFailed("PatGetDeviceName");
}

void SetLocale(std::string_view code) {
    const std::string text(code);
    if (PatSetLocale(text.c_str()) != 0) return;
    if (GetLastError() == TB58_ERROR_UNKNOWN_LOCALE) {
        throw BadArgument("unknown language '" + text +
                          "' (PatSetLocale: TB58_ERROR_UNKNOWN_LOCALE; known: JP EN DE FR IT ES NL SV DA NO CS HU PT "
                          "PL FI)");
    }
    throw CallFailed("PatSetLocale");
}

}  // namespace tb58mon
