// The PJL query cycle through the library: building queries, checking and
// reading replies, and a whole cycle with the replies of tests/data.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "Tb58Wk31Platform.h"
#include "support/status_packet.h"
#include "support/test_data.h"
#include "support/test_record.h"

namespace {

using tb58::test::AppendChild;
using tb58::test::NewItem;
using tb58::test::TestRecord;

const std::string kUel = "\x1b%-12345X";

using tb58::test::FreeTree;

struct Packet {
    InfoItem* root = nullptr;
    ~Packet() { FreeTree(root); }
};

std::string TextOf(const InfoItem* item) {
    return std::string(reinterpret_cast<const char*>(item) + INFO_ITEM_HEADER_SIZE, item->dataLength);
}

std::vector<uint32_t> ChildKeys(const InfoItem* root) {
    std::vector<uint32_t> keys;
    for (const InfoItem* c = root->firstChild; c != nullptr; c = c->next) keys.push_back(c->key);
    return keys;
}

void AddTray(PrnInfoEx* record, uint16_t code) {
    auto* node = static_cast<TrayInfoNode*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(TrayInfoNode)));
    node->size = sizeof(TrayInfoNode);
    node->wTrayCode = code;
    void** link = reinterpret_cast<void**>(&record->pTrayInfo);
    while (*link != nullptr) link = &static_cast<ChainNode*>(*link)->next;
    *link = node;
    ++record->nTrayInfo;
}

TEST(QueryInfoApi, FlagsAndShapes) {
    TestRecord record;
    {
        Packet p{PatCreateQueryInfo(record.get(), 2, 0)};
        ASSERT_NE(p.root, nullptr);
        EXPECT_EQ(GetLastError(), 0u);
        EXPECT_EQ(p.root->key, ITEM_QUERY_INFO);
        EXPECT_EQ(p.root->firstChild, nullptr);
    }
    {
        Packet p{PatCreateQueryInfo(record.get(), 2, INFO_IDENTITY)};
        EXPECT_EQ(ChildKeys(p.root), (std::vector<uint32_t>{ITEM_DEVICE_ID}));
        EXPECT_EQ(p.root->firstChild->dataLength, 0u);
    }
    {
        Packet p{PatCreateQueryInfo(record.get(), 0x102, INFO_OUTBIN)};
        ASSERT_EQ(ChildKeys(p.root), (std::vector<uint32_t>{ITEM_PJL_TEXT}));
        EXPECT_EQ(p.root->firstChild->dataLength, 49u);
        EXPECT_EQ(TextOf(p.root->firstChild), kUel + "@PJL\r\n@PJL INFO OUTBINSTATUS\r\n" + kUel + std::string(1, '\0'));
    }
    {
        Packet p{PatCreateQueryInfo(record.get(), 2, INFO_SYSTEM | INFO_EMUL | INFO_DEVICE | INFO_STATUS)};
        ASSERT_EQ(ChildKeys(p.root), (std::vector<uint32_t>{ITEM_DEVICE_ID, ITEM_PJL_TEXT}));
        EXPECT_EQ(TextOf(p.root->lastChild), kUel + "@PJL\r\n@PJL INFO CONFIG\r\n" + kUel + std::string(1, '\0'));
    }
}

TEST(QueryInfoApi, TrayInquiriesFollowTheListedTrays) {
    TestRecord record;
    AddTray(record.get(), 11);
    AddTray(record.get(), 3);
    Packet p{PatCreateQueryInfo(record.get(), 2, INFO_TRAY)};
    const std::string text = TextOf(p.root->firstChild);
    const size_t special = text.find("@PJL INQUIRE BACKCOVERPRINTTRAY\r\n");
    const size_t lct = text.find("@PJL INQUIRE INTRAYLCTSIZE");
    const size_t tray1 = text.find("@PJL INQUIRE INTRAY1SIZE");
    ASSERT_NE(special, std::string::npos);
    EXPECT_LT(special, lct);
    EXPECT_LT(lct, tray1);
    EXPECT_EQ(text.find("INTRAYMSIZE"), std::string::npos);
    TestRecord only_tray2;
    AddTray(only_tray2.get(), 4);
    Packet q{PatCreateQueryInfo(only_tray2.get(), 2, INFO_TRAY)};
    EXPECT_EQ(TextOf(q.root->firstChild).find("INTRAYMULTI"), std::string::npos);
}

TEST(QueryInfoApi, EveryFlagWithAnEmptyTrayList) {
    TestRecord record;
    Packet p{PatCreateQueryInfo(record.get(), 2, 0xFFFFFFFFu)};
    const std::string text = TextOf(p.root->lastChild);
    for (const char* line : {"INFO CONFIG", "FRONTCOVERPRINTTRAY", "INTRAY4QUANT", "INTRAYMULTI", "OUTBINSTATUS"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(text.find("INTRAYLCT"), std::string::npos);
    EXPECT_EQ(text.find("INSERTER"), std::string::npos);
    EXPECT_EQ(text.back(), '\0');
    EXPECT_EQ(text.size(), std::strlen(text.c_str()) + 1);
}

TEST(QueryInfoApi, LongTrayListsGetTheWholeText) {
    TestRecord record;
    for (int i = 0; i < 40; ++i) AddTray(record.get(), 3);  // a tray listed many times is asked as often
    Packet p{PatCreateQueryInfo(record.get(), 2, INFO_TRAY)};
    ASSERT_NE(p.root, nullptr);
    const std::string text = TextOf(p.root->firstChild);
    size_t count = 0;
    for (size_t at = text.find("INTRAY1SIZE"); at != std::string::npos; at = text.find("INTRAY1SIZE", at + 1)) ++count;
    EXPECT_EQ(count, 40u);
    EXPECT_EQ(text.substr(text.size() - 10, 9), kUel);
}

TEST(QueryInfoApi, ArgumentChecks) {
    TestRecord record;
    EXPECT_EQ(PatCreateQueryInfo(nullptr, 2, INFO_OUTBIN), nullptr);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatCreateQueryInfo(record.get(), 3, INFO_OUTBIN), nullptr);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    record->dwSize = 403;
    EXPECT_EQ(PatCreateQueryInfo(record.get(), 2, INFO_OUTBIN), nullptr);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    record->dwSize = 404;
    Packet p{PatCreateQueryInfo(record.get(), 2, INFO_OUTBIN)};
    EXPECT_NE(p.root, nullptr);
}

TEST(QueryInfoApi, EmulationUniqueQuery) {
    int context = 0;
    Packet p{PatCreateEmulUniqQueryInfo(&context, 2, 0x1000F, 0)};
    ASSERT_NE(p.root, nullptr);
    ASSERT_EQ(ChildKeys(p.root), (std::vector<uint32_t>{ITEM_PJL_TEXT}));
    EXPECT_EQ(p.root->firstChild->dataLength, 41u);
    EXPECT_EQ(TextOf(p.root->firstChild), kUel + "@PJL\r\n@PJL INFO TZMO\r\n" + kUel + std::string(1, '\0'));
    EXPECT_EQ(PatCreateEmulUniqQueryInfo(&context, 2, 7, 0), nullptr);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatCreateEmulUniqQueryInfo(nullptr, 2, 15, 0), nullptr);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
}

// A CentroData packet built by the caller around a QueryInfo from the
// library; the query is owned by the caller's own tree here.
struct CentroData {
    explicit CentroData(uint32_t key = ITEM_CENTRO_DATA, const void* data = nullptr, uint32_t length = 0)
        : root(NewItem(key, data, length)) {}
    ~CentroData() { FreeTree(root); }
    void Add(InfoItem* child) { AppendChild(root, child); }
    void AddText(uint32_t key, std::string_view text, bool terminate = true) {
        std::string bytes(text);
        if (terminate) bytes.push_back('\0');
        Add(NewItem(key, bytes.data(), static_cast<uint32_t>(bytes.size())));
    }
    InfoItem* root;
};

TEST(CentroDataApi, WholeCycleWithTheTestData) {
    TestRecord record;
    InfoItem* query = PatCreateQueryInfo(record.get(), 2, 0xFFFFFFFFu);
    ASSERT_NE(query, nullptr);
    CentroData packet;
    packet.Add(query);
    packet.AddText(ITEM_PJL_TEXT, tb58::test::TestData("reply_full.pjl"));
    packet.AddText(ITEM_DEVICE_ID, tb58::test::TestData("device_id.txt"));
    ASSERT_EQ(PatSetCentroDataTo(packet.root, 0, record.get(), 2), 1) << GetLastError();
    EXPECT_EQ(GetLastError(), 0u);

    EXPECT_STREQ(record->pMakerName, "Generic Imaging");
    EXPECT_STREQ(record->pModelName, "MX 5000");
    EXPECT_STREQ(record->pSYSVersion, "1.07");
    EXPECT_STREQ(record->pMainProgVersion, "4.02");
    EXPECT_STREQ(record->pQXSVersion, "3.10");
    EXPECT_EQ(record->dwMemorySize, 524288u);
    EXPECT_EQ(record->nEngineStatus, 3u);
    EXPECT_EQ(record->bError, 1);
    EXPECT_EQ(record->bOnline, 1);

    struct Tray {
        uint16_t code, size, level, media;
        uint32_t attributes;
    };
    std::vector<Tray> trays;
    for (const TrayInfoNode* t = record->pTrayInfo; t != nullptr; t = static_cast<const TrayInfoNode*>(t->next)) {
        trays.push_back({t->wTrayCode, t->wPaperSize, t->wPaperLevel, t->wMediaCode, t->dwAttributes});
    }
    ASSERT_EQ(trays.size(), 6u);
    EXPECT_EQ(record->nTrayInfo, 6u);
    const Tray expected[] = {{3, 8, 80, 1, 0},   {4, 5, 100, 2, 0x4}, {5, 22, 40, 6, 0x201},
                             {6, 7, 0, 9, 0},    {11, 8, 60, 1, 0x20}, {1, 9, 0, 3, 0x8}};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(trays[i].code, expected[i].code) << i;
        EXPECT_EQ(trays[i].size, expected[i].size) << i;
        EXPECT_EQ(trays[i].level, expected[i].level) << i;
        EXPECT_EQ(trays[i].media, expected[i].media) << i;
        EXPECT_EQ(trays[i].attributes, expected[i].attributes) << i;
    }
    std::vector<std::pair<uint16_t, uint16_t>> bins;
    for (const OutBinInfoNode* b = record->pOutBinInfo; b != nullptr; b = static_cast<const OutBinInfoNode*>(b->next)) {
        bins.emplace_back(b->wBinCode, b->wState);
    }
    EXPECT_EQ(bins, (std::vector<std::pair<uint16_t, uint16_t>>{{3, 0}, {7, 1}, {8, 2}, {4, 0}, {5, 0}}));
    std::vector<uint16_t> options;
    for (const DeviceInfoNode* d = record->pDeviceInfo; d != nullptr; d = static_cast<const DeviceInfoNode*>(d->next)) {
        options.push_back(d->wOptionCode);
    }
    EXPECT_EQ(options, (std::vector<uint16_t>{104, 16, 6, 38, 8, 1, 3, 139}));

    // The status text reads the same record.
    tb58::test::StatusPacket status;
    status.AddChild(ITEM_STATUS_MACHINE, record.get());
    ASSERT_EQ(PatSetLocale("EN"), 1);
}

TEST(CentroDataApi, PairingFailures) {
    TestRecord record;
    {
        InfoItem* query = PatCreateQueryInfo(record.get(), 2, INFO_IDENTITY);
        CentroData packet;
        packet.Add(query);
        packet.Add(NewItem(ITEM_DEVICE_ID, nullptr, 0));
        EXPECT_EQ(PatSetCentroDataTo(packet.root, 0, record.get(), 2), 0);
        EXPECT_EQ(GetLastError(), TB58_ERROR_REPLY_MISMATCH);
        EXPECT_EQ(record->pMakerName, nullptr);
    }
    {
        InfoItem* query = PatCreateQueryInfo(record.get(), 2, INFO_SYSTEM);
        CentroData packet;
        packet.Add(query);
        packet.AddText(ITEM_PJL_TEXT, "@PJL INFO CONFIG\r\nMEMORY=1024\r\n");  // no form feed
        EXPECT_EQ(PatSetCentroDataTo(packet.root, 0, record.get(), 2), 0);
        EXPECT_EQ(GetLastError(), TB58_ERROR_REPLY_MISMATCH);
    }
    {
        InfoItem* query = PatCreateQueryInfo(record.get(), 2, INFO_SYSTEM);
        CentroData packet;
        packet.Add(query);
        EXPECT_EQ(PatSetCentroDataTo(packet.root, 0, record.get(), 2), 0);
        EXPECT_EQ(GetLastError(), TB58_ERROR_REPLY_MISMATCH);
    }
}

// The pairing marks each asked argument as the reply answers it: one answer
// serves an argument asked twice, answers may come in any order, and one
// argument left unanswered refuses the reply.
TEST(CentroDataApi, RepeatedAndReorderedQuestionsArePairedByText) {
    const auto take = [](const char* query_text, const char* reply) {
        TestRecord record;
        InfoItem* query = NewItem(ITEM_QUERY_INFO, nullptr, 0);
        AppendChild(query, NewItem(ITEM_PJL_TEXT, query_text, static_cast<uint32_t>(std::strlen(query_text) + 1)));
        CentroData packet;
        packet.Add(query);
        packet.AddText(ITEM_PJL_TEXT, reply);
        SetLastError(0);
        const int32_t result = PatSetCentroDataTo(packet.root, 0, record.get(), 2);
        return std::pair<int32_t, uint32_t>(result, GetLastError());
    };
    const char* asked_twice =
        "\x1b%-12345X@PJL INFO CONFIG\r\n@PJL INFO OUTBINSTATUS\r\n@PJL INFO CONFIG\r\n\x1b%-12345X";
    const char* config = "@PJL INFO CONFIG\r\nMEMORY=2048\r\n\f";
    const char* bins = "@PJL INFO OUTBINSTATUS\r\nUPPER=FULL\r\n\f";
    EXPECT_EQ(take(asked_twice, (std::string(config) + bins).c_str()), std::make_pair(1, 0u));
    EXPECT_EQ(take(asked_twice, (std::string(bins) + config).c_str()), std::make_pair(1, 0u));
    EXPECT_EQ(take(asked_twice, (std::string(config) + bins + config).c_str()), std::make_pair(1, 0u));
    EXPECT_EQ(take(asked_twice, config), std::make_pair(0, static_cast<uint32_t>(TB58_ERROR_REPLY_MISMATCH)));
    EXPECT_EQ(take(asked_twice, bins), std::make_pair(0, static_cast<uint32_t>(TB58_ERROR_REPLY_MISMATCH)));
    // An answer after the reply's last form feed does not count.
    EXPECT_EQ(take(asked_twice, (std::string(config) + "@PJL INFO OUTBINSTATUS\r\nUPPER=FULL\r\n").c_str()),
              std::make_pair(0, static_cast<uint32_t>(TB58_ERROR_REPLY_MISMATCH)));
}

TEST(CentroDataApi, AnswersInAnyOrderAndWithoutQuery) {
    TestRecord record;
    InfoItem* query = PatCreateQueryInfo(record.get(), 2, INFO_SYSTEM | INFO_OUTBIN);
    CentroData packet;
    packet.Add(query);
    packet.AddText(ITEM_PJL_TEXT,
                   "@PJL INFO OUTBINSTATUS\r\nUPPER=FULL\r\n\f@PJL INFO CONFIG\r\nMEMORY=2048\r\n\f");
    EXPECT_EQ(PatSetCentroDataTo(packet.root, 0, record.get(), 2), 1);
    EXPECT_EQ(record->dwMemorySize, 2u);
    CentroData bare;
    bare.AddText(ITEM_PJL_TEXT, "@PJL INFO CONFIG\r\nMEMORY=4096\r\n\f");
    EXPECT_EQ(PatSetCentroDataTo(bare.root, 0, record.get(), 2), 1);
    EXPECT_EQ(record->dwMemorySize, 4u);
}

TEST(CentroDataApi, EmulationRootAndArgumentChecks) {
    TestRecord record;
    int context = 0;
    const uint32_t tzmo = 15;
    const uint32_t other = 16;
    {
        CentroData packet(ITEM_EMUL_CENTRO_DATA, &tzmo, 4);
        packet.Add(PatCreateEmulUniqQueryInfo(&context, 2, 15, 0));
        packet.AddText(ITEM_PJL_TEXT, tb58::test::TestData("reply_tzmo.pjl"));
        EXPECT_EQ(PatSetCentroDataTo(packet.root, 0, record.get(), 2), 1);
        ASSERT_NE(record->pEmulUniqInfo, nullptr);
        EXPECT_STREQ(record->pEmulUniqInfo->szOther, "fast mode on");
    }
    {
        CentroData packet(ITEM_EMUL_CENTRO_DATA, &other, 4);
        packet.AddText(ITEM_PJL_TEXT, "@PJL INFO TZMO\r\n\f");
        EXPECT_EQ(PatSetCentroDataTo(packet.root, 0, record.get(), 2), 0);
        EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    }
    CentroData packet;
    packet.AddText(ITEM_PJL_TEXT, "", false);  // empty reply text
    EXPECT_EQ(PatSetCentroDataTo(packet.root, 0, record.get(), 2), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatSetCentroDataTo(nullptr, 0, record.get(), 2), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatSetCentroDataTo(packet.root, 0, nullptr, 2), 0);
    EXPECT_EQ(PatSetCentroDataTo(packet.root, 0, record.get(), 3), 0);
    CentroData status_root(ITEM_STATUS);
    EXPECT_EQ(PatSetCentroDataTo(status_root.root, 0, record.get(), 2), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
}

TEST(CentroDataApi, ReplyWithoutTerminatorIsReadWithinItsData) {
    TestRecord record;
    CentroData packet;
    // The item's data ends after "MEMORY=8192"; the bytes behind it in the
    // same block are not part of the reply.
    const std::string bytes = "@PJL INFO CONFIG\r\nMEMORY=8192000\r\n\f";
    InfoItem* text = NewItem(ITEM_PJL_TEXT, bytes.data(), static_cast<uint32_t>(bytes.size()));
    text->dataLength = static_cast<uint32_t>(bytes.find("000"));
    packet.Add(text);
    EXPECT_EQ(PatSetCentroDataTo(packet.root, 0, record.get(), 2), 1);
    EXPECT_EQ(record->dwMemorySize, 8u);
}

}  // namespace
