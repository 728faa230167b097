// Compares the reply intake of two builds of the Linux library, call by
// call: the same packets go to PatSetCentroDataTo of each, and the result,
// the last error and the whole record must agree.  The packets are the
// test replies of tests/data, every cut of them, and many mutations, each
// into a fresh record and into one that already holds a full reply.
//
//   tb58_intake_differential BASELINE.so CANDIDATE.so DATA_DIR [MUTATIONS]
//
// Build the baseline from the revision to compare with (for example in a
// git worktree) and the candidate from the working tree.  With --digests
// FILE it also writes the baseline's digest of every regression case
// (support/intake_regression.h) for the regression test.
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/intake_cases.h"
#include "support/intake_regression.h"

namespace {

using tb58::test::IntakeCase;

struct Library {
    void* handle = nullptr;
    int32_t (*set_centro_data)(const InfoItem*, uint32_t, PrnInfoEx*, uint32_t) = nullptr;
    uint32_t (*get_last_error)() = nullptr;
    void* (*global_free)(void*) = nullptr;

    bool Open(const char* path) {
        handle = dlopen(path, RTLD_NOW | RTLD_LOCAL | RTLD_DEEPBIND);
        if (handle == nullptr) {
            std::fprintf(stderr, "%s\n", dlerror());
            return false;
        }
        set_centro_data = reinterpret_cast<decltype(set_centro_data)>(dlsym(handle, "PatSetCentroDataTo"));
        get_last_error = reinterpret_cast<decltype(get_last_error)>(dlsym(handle, "GetLastError"));
        global_free = reinterpret_cast<decltype(global_free)>(dlsym(handle, "GlobalFree"));
        return set_centro_data != nullptr && get_last_error != nullptr && global_free != nullptr;
    }

    // Releases a record with this library's GlobalFree.
    void Release(PrnInfoEx& record) const {
#define TB58_RELEASE_TEXT(field) \
    if (record.field != nullptr) global_free(record.field);
#define TB58_RELEASE_CHAIN(first, count) ReleaseChain(record.first);
        TB58_PRNINFOEX_TEXTS(TB58_RELEASE_TEXT)
        TB58_PRNINFOEX_CHAINS(TB58_RELEASE_CHAIN)
#undef TB58_RELEASE_TEXT
#undef TB58_RELEASE_CHAIN
    }

    void ReleaseChain(void* node) const {
        while (node != nullptr) {
            void* next = static_cast<ChainNode*>(node)->next;
            global_free(node);
            node = next;
        }
    }

    // The outcome of one case: result, last error and the record's content.
    std::string Run(const IntakeCase& c, const IntakeCase& prefill) const {
        PrnInfoEx record{};
        record.dwSize = sizeof record;
        if (c.prefill) {
            tb58::test::PacketBuilder packets;
            set_centro_data(packets.Build(prefill), 0, &record, 2);
        }
        tb58::test::PacketBuilder packets;
        const int32_t result = set_centro_data(packets.Build(c), 0, &record, 2);
        const uint32_t error = get_last_error();
        std::string outcome = std::to_string(result) + "/" + std::to_string(error) + "/";
        outcome += tb58::test::RecordBytes(record);
        Release(record);
        return outcome;
    }
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Printable(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s BASELINE.so CANDIDATE.so DATA_DIR [MUTATIONS] [--digests FILE]\n", argv[0]);
        return 2;
    }
    Library baseline;
    Library candidate;
    if (!baseline.Open(argv[1]) || !candidate.Open(argv[2])) return 2;
    if (baseline.set_centro_data == candidate.set_centro_data) {
        std::fprintf(stderr, "both paths name the same loaded library; copy one of them to another file\n");
        return 2;
    }
    const std::string data_dir = argv[3];
    unsigned mutations = 20000;
    std::string digests_file;
    for (int i = 4; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--digests" && i + 1 < argc) {
            digests_file = argv[++i];
        } else {
            mutations = static_cast<unsigned>(std::strtoul(argv[i], nullptr, 10));
        }
    }

    const tb58::test::IntakeTexts texts{ReadFile(data_dir + "/reply_full.pjl"), ReadFile(data_dir + "/reply_tzmo.pjl"),
                                        ReadFile(data_dir + "/device_id.txt")};
    const IntakeCase prefill = tb58::test::PrefillCase(texts);
    size_t compared = 0;
    size_t differing = 0;
    const auto compare = [&](const IntakeCase& c) {
        ++compared;
        const std::string expected = baseline.Run(c, prefill);
        const std::string actual = candidate.Run(c, prefill);
        if (expected == actual) return;
        if (++differing <= 10) {
            std::printf("DIFFERENT (prefill %d, query %zu bytes, reply %s):\n  reply: %s\n", c.prefill ? 1 : 0,
                        c.query.size(), c.has_reply ? "present" : "absent", Printable(c.reply).c_str());
            std::printf("  baseline %s\n  candidate %s\n", Printable(expected.substr(0, 24)).c_str(),
                        Printable(actual.substr(0, 24)).c_str());
        }
    };

    std::vector<IntakeCase> bases = tb58::test::BaseCases(texts);
    for (const IntakeCase& rare : tb58::test::RareCases(texts)) bases.push_back(rare);
    for (const IntakeCase& base : bases) {
        compare(base);
        // Every cut of the reply.
        for (size_t cut = 0; cut <= base.reply.size(); ++cut) {
            IntakeCase c = base;
            c.reply = base.reply.substr(0, cut);
            compare(c);
            c.query.clear();
            compare(c);
        }
        tb58::test::ReplyMutator mutator(base.reply.size());
        for (unsigned i = 0; i < mutations; ++i) {
            IntakeCase c = base;
            c.reply = mutator.Mutate(base.reply);
            c.prefill = i % 3 == 0;
            compare(c);
            c.query.clear();
            compare(c);
        }
    }
    std::printf("%zu cases compared, %zu different\n", compared, differing);

    if (!digests_file.empty()) {
        std::ofstream out(digests_file);
        for (const IntakeCase& c : tb58::test::RegressionCases(texts)) {
            out << "0x" << std::hex << tb58::test::Fnv1a64(baseline.Run(c, prefill)) << "ull,\n";
        }
    }
    return differing == 0 ? 0 : 1;
}
