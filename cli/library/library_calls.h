// Driving Tb58Wk31 the way a status monitor must: packets and records built
// and released by the caller, every failed call reported with its name and
// error code.  Everything here uses only the public headers.
#pragma once

#include <Tb58Wk31Kit.hpp>
#include <Tb58Wk31Platform.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/cli_error.h"

namespace tb58mon {

// "TB58_ERROR_REPLY_MISMATCH (0x20000002)" for the codes the public header
// names, "error 1814 (0x00000716)" for system codes.
std::string ErrorName(uint32_t code);

// The error to throw when the library call named call has failed; reads
// the thread's last error.
CliError CallFailed(std::string_view call);

// ---- Information packets ---------------------------------------------------

// Releases a packet item by item with GlobalFree: children before their
// parent, siblings in chain order.  A packet the library made (QueryInfo)
// and one the caller built are released the same way.
void FreePacket(InfoItem* root);

struct PacketDeleter {
    void operator()(InfoItem* root) const { FreePacket(root); }
};
using PacketPtr = std::unique_ptr<InfoItem, PacketDeleter>;

// A new item of fixed global memory (48 header bytes and length data bytes,
// copied from data), as the caller builds packets.  Throws on no memory.
InfoItem* NewItem(uint32_t key, const void* data, uint32_t length);

// A new text item: the text and its terminating zero.
InfoItem* NewTextItem(uint32_t key, std::string_view text);

// Links child as the last child of parent.
void AppendChild(InfoItem* parent, InfoItem* child);

// Unlinks the first child of parent with key and releases it (with its
// children); nothing when there is none.
void RemoveChild(InfoItem* parent, uint32_t key);

// The first child of item with key, or null.
const InfoItem* FindChild(const InfoItem* item, uint32_t key);

// The text of an item's data, up to its first zero byte, never past its
// data length.
std::string ItemText(const InfoItem* item);

// ---- Printer information records -------------------------------------------

// A PrnInfoEx set up as the library asks (dwSize, everything else zero) and
// released as its owner must release it: every text and every node of
// every chain with GlobalFree (the caller kit's record, Tb58Wk31Kit.hpp).
class OwnedRecord {
public:
    PrnInfoEx* get() { return record_.get(); }
    const PrnInfoEx* get() const { return record_.get(); }
    PrnInfoEx* operator->() { return record_.get(); }
    const PrnInfoEx* operator->() const { return record_.get(); }

    // Nodes a caller adds itself (as a monitor does that fills a record from
    // its own sources): fixed, zero-filled global memory, linked at the end.
    void AddEngineStatus(int32_t code, std::string_view text);
    void AddOption(uint16_t code);
    void AddTray(uint16_t code);

private:
    tb58kit::Record record_;
};

// A status packet: root ITEM_STATUS whose child ITEM_STATUS_MACHINE and the
// child of the function kind both hold the address of record.
class StatusPacket {
public:
    StatusPacket(PrnInfoEx* record, uint32_t kind);
    const InfoItem* root() const { return root_.get(); }

private:
    PacketPtr root_;
};

// ---- Calls with text results -----------------------------------------------

// PatGetStatusString: asks for the size with a null buffer, then fetches the
// text.  std::nullopt when the library has no text for the condition
// (TB58_ERROR_NOT_FOUND); other failures throw.
std::optional<std::string> GetStatusString(uint32_t kind, const InfoItem* packet, uint32_t selector);

// PatGetDeviceName, by the same protocol.  std::nullopt for a name the
// library does not know (87 for a tray or bin name, TB58_ERROR_NOT_FOUND for
// an option code); other failures throw.
std::optional<std::string> GetDeviceName(uint32_t selector, const void* value);

// PatSetLocale; an unknown code is a bad argument (exit code 2).
void SetLocale(std::string_view code);

// ---- The status picture ----------------------------------------------------

struct BitmapInfoDeleter {
    void operator()(BitmapInfo* info) const { PatDisposeBitmapInfo(info); }
};
using BitmapInfoPtr = std::unique_ptr<BitmapInfo, BitmapInfoDeleter>;

}  // namespace tb58mon
