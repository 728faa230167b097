// Reply intake cases for comparing two builds of PatSetCentroDataTo, and
// for the regression test that keeps their results: a packet built from
// texts (the library only reads it), the record's whole content as bytes
// (no addresses), and a deterministic stream of mutated replies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Tb58Wk31InfoItem.h"
#include "Tb58Wk31PrnInfoEx.h"
#include "support/status_packet.h"

namespace tb58::test {

// One call of PatSetCentroDataTo: what the packet holds.
struct IntakeCase {
    std::string query;          // the QueryInfo's PJL text; empty: no QueryInfo
    bool ask_device_id = true;  // the QueryInfo asks for the device ID
    std::string reply;          // the reply text item's data (no terminator added)
    bool has_reply = true;
    std::string device_id;      // empty: no device ID item
    bool device_id_first = false;
    bool prefill = false;       // the record holds a full reply's results first
    uint32_t emulation = 0;     // nonzero: a root of key 3 holding this emulation code
};

// A packet item tree in plain memory; the library reads it and never frees it.
class PacketBuilder {
public:
    InfoItem* Item(uint32_t key, std::string_view data) {
        const size_t words = (INFO_ITEM_HEADER_SIZE + data.size() + 7) / 8;
        storage_.push_back(std::make_unique<uint64_t[]>(words));
        auto* item = reinterpret_cast<InfoItem*>(storage_.back().get());
        std::memset(item, 0, words * 8);
        item->key = key;
        item->dataLength = static_cast<uint32_t>(data.size());
        if (!data.empty()) std::memcpy(reinterpret_cast<char*>(item) + INFO_ITEM_HEADER_SIZE, data.data(), data.size());
        return item;
    }
    InfoItem* Build(const IntakeCase& c) {
        InfoItem* root = c.emulation == 0 ? Item(ITEM_CENTRO_DATA, {})
                                          : Item(ITEM_EMUL_CENTRO_DATA,
                                                 std::string_view(reinterpret_cast<const char*>(&c.emulation),
                                                                  sizeof c.emulation));
        if (!c.query.empty()) {
            InfoItem* query = Item(ITEM_QUERY_INFO, {});
            if (c.ask_device_id) AppendChild(query, Item(ITEM_DEVICE_ID, {}));
            AppendChild(query, Item(ITEM_PJL_TEXT, std::string_view(c.query.c_str(), c.query.size() + 1)));
            AppendChild(root, query);
        }
        InfoItem* device = c.device_id.empty() ? nullptr : Item(ITEM_DEVICE_ID, c.device_id);
        if (device != nullptr && c.device_id_first) AppendChild(root, device);
        if (c.has_reply) AppendChild(root, Item(ITEM_PJL_TEXT, c.reply));
        if (device != nullptr && !c.device_id_first) AppendChild(root, device);
        return root;
    }

private:
    std::vector<std::unique_ptr<uint64_t[]>> storage_;
};

// The record's content: its fields with the addresses left out, then every
// text and every node of every chain (each node without its next address).
inline std::string RecordBytes(const PrnInfoEx& record) {
    PrnInfoEx fields;
    std::memcpy(&fields, &record, sizeof fields);
    std::string bytes;
    const auto text = [&bytes](char*& field) {
        if (field != nullptr) bytes.append(field).push_back('\0');
        bytes.push_back(field != nullptr ? 'T' : 'N');
        field = nullptr;
    };
#define TB58_DIGEST_TEXT(field) text(fields.field);
    TB58_PRNINFOEX_TEXTS(TB58_DIGEST_TEXT)
#undef TB58_DIGEST_TEXT
    const auto chain = [&bytes](auto*& first) {
        for (const auto* node = reinterpret_cast<const ChainNode*>(first); node != nullptr;
             node = static_cast<const ChainNode*>(node->next)) {
            bytes.append(reinterpret_cast<const char*>(node) + 8, node->size - 8);
        }
        bytes.push_back('|');
        first = nullptr;
    };
#define TB58_DIGEST_CHAIN(first, count) chain(fields.first);
    TB58_PRNINFOEX_CHAINS(TB58_DIGEST_CHAIN)
#undef TB58_DIGEST_CHAIN
    bytes.append(reinterpret_cast<const char*>(&fields), sizeof fields);
    return bytes;
}

inline uint64_t Fnv1a64(std::string_view bytes, uint64_t hash = 0xcbf29ce484222325ull) {
    for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

// A reproducible stream of small changes to a reply: bytes replaced by the
// characters the PJL line shapes turn on, inserted, deleted, or whole lines
// repeated or dropped.
class ReplyMutator {
public:
    explicit ReplyMutator(uint64_t seed) : state_(seed * 0x9e3779b97f4a7c15ull + 1) {}

    std::string Mutate(std::string_view original) {
        std::string text(original);
        const unsigned changes = 1 + Next(4);
        for (unsigned i = 0; i < changes; ++i) MutateOnce(text);
        return text;
    }

private:
    uint64_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    unsigned Next(unsigned bound) { return static_cast<unsigned>(Next() % bound); }

    char Interesting() {
        static constexpr char kBytes[] = {'\r', '\n', '\f', '\t', ' ', '=', ':', '[', ']', '"', '@', '\x1b', '\0',
                                          '0',  '9',  'A',  'Z',  '-', '1'};
        if (Next(8) == 0) return static_cast<char>(Next(256));
        return kBytes[Next(sizeof kBytes)];
    }

    void MutateOnce(std::string& text) {
        const size_t at = text.empty() ? 0 : Next(static_cast<unsigned>(text.size()));
        switch (Next(7)) {
            case 0:
            case 1:
                if (!text.empty()) text[at] = Interesting();
                break;
            case 2:
                text.insert(at, 1, Interesting());
                break;
            case 3:
                if (!text.empty()) text.erase(at, 1 + Next(3));
                break;
            case 4: {  // a line repeated
                const size_t start = text.rfind('\n', at);
                const size_t line = start == std::string::npos ? 0 : start + 1;
                const size_t end = text.find('\n', line);
                const std::string copy = text.substr(line, end == std::string::npos ? std::string::npos : end - line + 1);
                text.insert(line, copy);
                break;
            }
            case 5: {  // a line dropped
                const size_t start = text.rfind('\n', at);
                const size_t line = start == std::string::npos ? 0 : start + 1;
                const size_t end = text.find('\n', line);
                text.erase(line, end == std::string::npos ? std::string::npos : end - line + 1);
                break;
            }
            default:
                text.insert(at, Next(2) == 0 ? "@PJL " : "\r\n\f");
                break;
        }
    }

    uint64_t state_;
};

}  // namespace tb58::test
