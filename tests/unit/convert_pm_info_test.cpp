// Printer-management information into PrnInfoEx: the steps of each kind,
// what a part that is not supplied leaves alone, the fixed node fields,
// and allocation failures in the middle of a conversion.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "convert/pm_info_to_prn_info_ex.h"
#include "core/prn_info_ex.h"
#include "support/allocation_switch.h"
#include "support/chain_reader.h"
#include "support/pm_info_builder.h"
#include "support/status_packet.h"
#include "support/test_record.h"

namespace {

using namespace tb58;
using namespace tb58::convert;
using test::AllocationSwitchGuard;
using test::ChainNodes;
using test::PMListOf;
using test::TestRecord;

constexpr uint32_t kNone = 0xFFFFFFFFu;

std::vector<int32_t> Codes(const PrnInfoEx* record) {
    std::vector<int32_t> codes;
    for (const EngineStatusNode* node : ChainNodes(record->pEngineStatus)) codes.push_back(node->dwCode);
    return codes;
}

std::vector<uint16_t> TrayCodes(const PrnInfoEx* record) {
    std::vector<uint16_t> codes;
    for (const TrayInfoNode* node : ChainNodes(record->pTrayInfo)) codes.push_back(node->wTrayCode);
    return codes;
}

// ---- Kind 0x8000 ----------------------------------------------------------

TEST(ConvertMachine, ModelEntry) {
    TestRecord record;
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pDescription, "from the device ID"), 1);
    const PMModelEntry model = test::Model("IM 9000", "1.02", 134217728, "Maker");
    PMInfoMachine info{};
    info.pModel = &model;
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_MODEL, record.get()), 0u);
    EXPECT_STREQ(record->pModelName, "IM 9000");
    EXPECT_EQ(record->bModelCode, 255u);  // the model table has no rows
    EXPECT_STREQ(record->pSYSVersion, "1.02");
    EXPECT_EQ(record->dwMemorySize, 131072u);
    EXPECT_STREQ(record->pMakerName, "Maker");
    // The description is dropped; LeakSanitizer sees its text released.
    EXPECT_EQ(record->pDescription, nullptr);
}

TEST(ConvertMachine, ModelValuesNotSuppliedLeaveTheRecord) {
    TestRecord record;
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pModelName, "Old"), 1);
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pSYSVersion, "0.9"), 1);
    record->dwMemorySize = 77;
    record->bModelCode = 9;
    const PMModelEntry model = test::Model(test::kAllOnesText, nullptr, kNone, "New maker");
    PMInfoMachine info{};
    info.pModel = &model;
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_MODEL, record.get()), 0u);
    EXPECT_STREQ(record->pModelName, "Old");
    EXPECT_EQ(record->bModelCode, 9u);
    EXPECT_STREQ(record->pSYSVersion, "0.9");
    EXPECT_EQ(record->dwMemorySize, 77u);
    EXPECT_STREQ(record->pMakerName, "New maker");

    // No model entry at all, or the flag not set: nothing happens, the
    // description included.
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pDescription, "kept"), 1);
    info.pModel = static_cast<const PMModelEntry*>(PMINFO_NOT_SUPPLIED_POINTER);
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_MODEL, record.get()), 0u);
    info.pModel = &model;
    ASSERT_EQ(ConvertMachine(info, 0, record.get()), 0u);
    EXPECT_STREQ(record->pDescription, "kept");
}

TEST(ConvertMachine, FailedModelNameStoreGivesModelCode255) {
    TestRecord record;
    record->bModelCode = 3;
    const PMModelEntry model = test::Model("IM 9000", nullptr, kNone, nullptr);
    PMInfoMachine info{};
    info.pModel = &model;
    {
        AllocationSwitchGuard fail_next(0);
        EXPECT_EQ(ConvertMachine(info, PMINFO_MACHINE_MODEL, record.get()), 0u);  // the result is ignored
    }
    EXPECT_EQ(record->pModelName, nullptr);
    EXPECT_EQ(record->bModelCode, 255u);
}

TEST(ConvertMachine, TrayEntryFormA) {
    const uint32_t second = 0x800;
    PMListOf<PMTrayEntryA> trays;
    trays.Add(test::TrayA("Tray 1", 0x300, 210, 297, 0x400, 0x205));
    PMTrayEntryA& any_size = trays.Add(test::TrayA("Tray 2", 0x12, 213, 297, PMINFO_MEDIA_SECOND, 0x100));
    any_size.pSecondMediaBit = &second;
    trays.Add(test::TrayA("Bypass Tray", kNone, 211, kNone, kNone, kNone));
    PMInfoMachine info{};
    info.pTraysA = trays.list();
    TestRecord record;
    record->dwTrayState = 5;
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_TRAYS_A, record.get()), 0u);
    const auto nodes = ChainNodes(record->pTrayInfo);
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(record->nTrayInfo, 3u);
    EXPECT_EQ(record->dwTrayState, 0u);

    EXPECT_EQ(nodes[0]->size, sizeof(TrayInfoNode));
    EXPECT_EQ(nodes[0]->wTrayCode, 3u);
    EXPECT_EQ(nodes[0]->wPaperSize, 8u);
    EXPECT_EQ(nodes[0]->wPaperLevel, 10u);
    EXPECT_EQ(nodes[0]->wMediaCode, 8u);
    EXPECT_EQ(nodes[0]->dwAttributes, 0x205u);

    EXPECT_EQ(nodes[1]->wTrayCode, 4u);
    EXPECT_EQ(nodes[1]->wPaperSize, 2u);
    EXPECT_EQ(nodes[1]->wPaperLevel, 0u);
    EXPECT_EQ(nodes[1]->wMediaCode, 7u);  // from the second media bit
    EXPECT_EQ(nodes[1]->dwAttributes, 0u);  // the any-size bit is not stored

    EXPECT_EQ(nodes[2]->wTrayCode, 1u);
    EXPECT_EQ(nodes[2]->wPaperSize, 41u);
    EXPECT_EQ(nodes[2]->wPaperLevel, 100u);
    EXPECT_EQ(nodes[2]->wMediaCode, 0u);
    EXPECT_EQ(nodes[2]->dwAttributes, kNone);
}

TEST(ConvertMachine, TrayEntryFormBKeepsItsAttributeWordAndFollowsFormA) {
    PMListOf<PMTrayEntryA> form_a;
    form_a.Add(test::TrayA("Tray 1"));
    PMListOf<PMTrayEntryB> form_b;
    form_b.Add(test::TrayB("LCT", 0x800, 297, 210, 0x2, 0x108));
    form_b.Add(test::TrayB("Tray 3", 0x400, 210, 297, PMINFO_MEDIA_SECOND, 0));
    PMInfoMachine info{};
    info.pTraysA = form_a.list();
    info.pTraysB = form_b.list();
    TestRecord record;
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_TRAYS_A | PMINFO_MACHINE_TRAYS_B, record.get()), 0u);
    EXPECT_EQ(TrayCodes(record.get()), (std::vector<uint16_t>{3, 11, 5}));
    const auto nodes = ChainNodes(record->pTrayInfo);
    EXPECT_EQ(nodes[1]->wPaperSize, 2u);
    EXPECT_EQ(nodes[1]->wPaperLevel, 75u);
    EXPECT_EQ(nodes[1]->wMediaCode, 2u);
    EXPECT_EQ(nodes[1]->dwAttributes, 0x108u);
    EXPECT_EQ(nodes[2]->wMediaCode, 0u);
    EXPECT_EQ(nodes[2]->wPaperLevel, 50u);
}

TEST(ConvertMachine, TrayChainIsRebuiltWhenTraysAreAskedFor) {
    PMListOf<PMTrayEntryA> form_a;
    form_a.Add(test::TrayA("Tray 4"));
    PMInfoMachine info{};
    info.pTraysA = form_a.list();
    TestRecord record;
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_TRAYS_A, record.get()), 0u);
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_TRAYS_A, record.get()), 0u);
    EXPECT_EQ(TrayCodes(record.get()), (std::vector<uint16_t>{6}));

    // Without the flags the trays stay, whatever the PMInfo holds.
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_OUTBINS, record.get()), 0u);
    EXPECT_EQ(record->nTrayInfo, 1u);

    // Form B alone, not supplied: the chain is cleared, the tray state kept.
    record->dwTrayState = 9;
    info.pTraysA = nullptr;
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_TRAYS_B, record.get()), 0u);
    EXPECT_EQ(record->pTrayInfo, nullptr);
    EXPECT_EQ(record->nTrayInfo, 0u);
    EXPECT_EQ(record->dwTrayState, 9u);

    // An empty form B list sets the tray state.
    PMListOf<PMTrayEntryB> empty;
    info.pTraysB = empty.list();
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_TRAYS_B, record.get()), 0u);
    EXPECT_EQ(record->dwTrayState, 0u);
}

TEST(ConvertMachine, ListsNotSuppliedLeaveTheChainsAndMissingEntriesAreSkipped) {
    TestRecord record;
    test::AppendDevice(record.get(), 38);
    PMListOf<PMOutBinEntry> bins;
    bins.Add(test::OutBin("Copy Tray"));
    PMInfoMachine info{};
    info.pOutBins = bins.list();
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_OUTBINS, record.get()), 0u);

    // Options: a list whose count is 0xFFFFFFFF, an all-ones list pointer,
    // an entry array that is not there: nothing is supplied.
    const PMList not_counted{kNone, 0, nullptr};
    const PMList no_array{2, 0, nullptr};
    for (const PMList* list : {&not_counted, &no_array, static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER),
                               static_cast<const PMList*>(nullptr)}) {
        info.pOptions = list;
        info.pOutBins = list;
        record->dwOutBinState = 7;
        ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_OPTIONS | PMINFO_MACHINE_OUTBINS, record.get()), 0u);
        EXPECT_EQ(record->nDeviceInfo, 1u);
        EXPECT_EQ(record->nOutBinInfo, 1u);
        EXPECT_EQ(record->dwOutBinState, 7u);
    }

    // Entry pointers that are not supplied stand for no entry.
    PMListOf<PMOptionEntry> options;
    options.AddMissing(nullptr);
    options.Add(test::Option(648));
    options.AddMissing(PMINFO_NOT_SUPPLIED_POINTER);
    options.Add(test::Option(642));
    info.pOptions = options.list();
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_OPTIONS, record.get()), 0u);
    const auto nodes = ChainNodes(record->pDeviceInfo);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(record->nDeviceInfo, 2u);
    EXPECT_EQ(nodes[0]->wOptionCode, 8u);
    EXPECT_EQ(nodes[1]->wOptionCode, 1u);
}

TEST(ConvertMachine, OutputBins) {
    PMListOf<PMOutBinEntry> bins;
    bins.Add(test::OutBin("Finisher Shift Tray 2", 1));
    bins.Add(test::OutBin("Copy Tray", kNone));
    bins.Add(test::OutBin("Mailbox Tray 3", 0x2));
    bins.Add(test::OutBin(nullptr, 0x3));
    PMInfoMachine info{};
    info.pOutBins = bins.list();
    TestRecord record;
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_OUTBINS, record.get()), 0u);
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_OUTBINS, record.get()), 0u);  // replaces, not adds
    const auto nodes = ChainNodes(record->pOutBinInfo);
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(record->nOutBinInfo, 4u);
    EXPECT_EQ(record->dwOutBinState, 255u);
    const uint16_t expected[][2] = {{27, 2}, {3, 0}, {9, 0}, {255, 2}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(nodes[i]->wBinCode, expected[i][0]) << i;
        EXPECT_EQ(nodes[i]->wState, expected[i][1]) << i;
    }
}

TEST(ConvertMachine, AllocationFailures) {
    PMListOf<PMTrayEntryA> trays;
    trays.Add(test::TrayA("Tray 1"));
    trays.Add(test::TrayA("Tray 2"));
    trays.Add(test::TrayA("Tray 3"));
    PMListOf<PMOutBinEntry> bins;
    bins.Add(test::OutBin("Copy Tray"));
    bins.Add(test::OutBin("Mailbox Tray 1"));
    PMListOf<PMOptionEntry> options;
    options.Add(test::Option(661));
    PMInfoMachine info{};
    info.pTraysA = trays.list();
    info.pOutBins = bins.list();
    info.pOptions = options.list();
    const uint32_t all = PMINFO_MACHINE_TRAYS_A | PMINFO_MACHINE_OUTBINS | PMINFO_MACHINE_OPTIONS;

    {  // the second tray node: reported as 87; the first tray stays
        TestRecord record;
        record->dwTrayState = 4;
        AllocationSwitchGuard fail(1);
        EXPECT_EQ(ConvertMachine(info, all, record.get()), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
        EXPECT_EQ(TrayCodes(record.get()), (std::vector<uint16_t>{3}));
        EXPECT_EQ(record->nTrayInfo, 1u);
        EXPECT_EQ(record->dwTrayState, 4u);
        EXPECT_EQ(record->pOutBinInfo, nullptr);
    }
    {  // the second bin node: 8; trays rebuilt, one bin, bin state not set
        TestRecord record;
        record->dwOutBinState = 4;
        test::AppendDevice(record.get(), 38);
        AllocationSwitchGuard fail(4);
        EXPECT_EQ(ConvertMachine(info, all, record.get()), static_cast<uint32_t>(ERROR_NOT_ENOUGH_MEMORY));
        EXPECT_EQ(record->nTrayInfo, 3u);
        EXPECT_EQ(record->dwTrayState, 0u);
        EXPECT_EQ(record->nOutBinInfo, 1u);
        EXPECT_EQ(record->dwOutBinState, 4u);
        EXPECT_EQ(record->nDeviceInfo, 1u);  // the options step did not run
        EXPECT_EQ(record->pDeviceInfo->wOptionCode, 38u);
    }
    {  // the option node: 8; the option chain was cleared
        TestRecord record;
        test::AppendDevice(record.get(), 38);
        AllocationSwitchGuard fail(5);
        EXPECT_EQ(ConvertMachine(info, all, record.get()), static_cast<uint32_t>(ERROR_NOT_ENOUGH_MEMORY));
        EXPECT_EQ(record->nOutBinInfo, 2u);
        EXPECT_EQ(record->pDeviceInfo, nullptr);
        EXPECT_EQ(record->nDeviceInfo, 0u);
    }
}

// ---- Kind 1 ---------------------------------------------------------------

TEST(ConvertPrinter, StatusWordSetsTheStateBytesAndConditions) {
    TestRecord record;
    PrnInfoExAddEngineStatus(record.get(), 42001);
    const uint32_t word = 0x08400081;
    PMInfoPrinter info{};
    info.pStatusWord = &word;
    ASSERT_EQ(ConvertPrinter(info, PMINFO_STATUS_WORD, false, record.get()), 0u);
    EXPECT_EQ(record->bOnline, 1u);
    EXPECT_EQ(record->bOffline, 0u);
    EXPECT_EQ(record->bNoResponse, 1u);
    EXPECT_EQ(record->bPrinting, 1u);
    EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{-254, 10003, 10023}));

    const uint32_t idle = 0x0;
    info.pStatusWord = &idle;
    ASSERT_EQ(ConvertPrinter(info, PMINFO_STATUS_WORD, false, record.get()), 0u);
    EXPECT_EQ(record->bOnline, 0u);
    EXPECT_EQ(record->bOffline, 1u);
    EXPECT_EQ(record->bNoResponse, 0u);
    EXPECT_EQ(record->bPrinting, 0u);
    EXPECT_EQ(record->nEngineStatus, 0u);  // cleared; no ready code without the entries flag
}

TEST(ConvertPrinter, StatusWordNotSuppliedLeavesTheStateBytes) {
    const uint32_t none = kNone;
    for (const uint32_t* word : {&none, static_cast<const uint32_t*>(nullptr),
                                 static_cast<const uint32_t*>(PMINFO_NOT_SUPPLIED_POINTER)}) {
        TestRecord record;
        record->bOnline = 1;
        record->bPrinting = 1;
        PrnInfoExAddEngineStatus(record.get(), 42001);
        PMInfoPrinter info{};
        info.pStatusWord = word;
        ASSERT_EQ(ConvertPrinter(info, PMINFO_STATUS_WORD, false, record.get()), 0u);
        EXPECT_EQ(record->bOnline, 1u);
        EXPECT_EQ(record->bPrinting, 1u);
        EXPECT_EQ(record->nEngineStatus, 0u);  // the chain is cleared whenever the flag is set
    }
}

TEST(ConvertPrinter, EngineStatusEntries) {
    PMListOf<PMEngineStatusEntry> entries;
    entries.Add(test::EngineStatus(42001, "Misfeed", 1));
    entries.Add(test::EngineStatus(-254, nullptr, 2));
    entries.Add(test::EngineStatus(410023, test::kAllOnesText, 0));
    PMInfoPrinter info{};
    info.pEngineStatus = entries.list();
    TestRecord record;
    record->bError = 1;
    ASSERT_EQ(ConvertPrinter(info, PMINFO_ENGINE_STATUS, false, record.get()), 0u);
    const auto nodes = ChainNodes(record->pEngineStatus);
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0]->size, sizeof(EngineStatusNode));
    EXPECT_EQ(nodes[0]->wCode, 42001u);
    EXPECT_EQ(nodes[0]->dwCode, 42001);
    EXPECT_STREQ(nodes[0]->szText, "Misfeed");
    EXPECT_EQ(nodes[1]->wCode, 0xFF02u);
    EXPECT_EQ(nodes[1]->dwCode, -254);
    EXPECT_STREQ(nodes[1]->szText, "");
    EXPECT_EQ(nodes[2]->wCode, 410023u & 0xFFFF);
    EXPECT_STREQ(nodes[2]->szText, "");
    EXPECT_EQ(record->bError, 0u);  // no entry of severity 3 or not supplied

    for (uint32_t severity : {3u, kNone}) {
        PMListOf<PMEngineStatusEntry> one;
        one.Add(test::EngineStatus(42001, nullptr, 1));
        one.Add(test::EngineStatus(42002, nullptr, severity));
        info.pEngineStatus = one.list();
        ASSERT_EQ(ConvertPrinter(info, PMINFO_ENGINE_STATUS, false, record.get()), 0u);
        EXPECT_EQ(record->bError, 1u) << severity;
        EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{42001, 42002}));
    }
}

TEST(ConvertPrinter, ReadyWhenTheEngineStatusIsEmpty) {
    PMListOf<PMEngineStatusEntry> empty;
    PMInfoPrinter info{};
    for (const PMList* list : {empty.list(), static_cast<const PMList*>(nullptr)}) {
        TestRecord record;
        record->bError = 1;
        PrnInfoExAddEngineStatus(record.get(), 42001);
        info.pEngineStatus = list;
        ASSERT_EQ(ConvertPrinter(info, PMINFO_ENGINE_STATUS, false, record.get()), 0u);
        EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{10001}));
        EXPECT_EQ(record->bError, list == nullptr ? 1u : 0u);  // set only when the list is supplied
    }
}

TEST(ConvertPrinter, NodeTextFieldsAreCutAndTheSourceIsNotReadPastThem) {
    // Texts without a terminator within the field's reach: only what fits
    // is read (AddressSanitizer watches the arrays' bounds).
    char version[17];
    std::memset(version, 'v', sizeof version);
    char text[259];
    std::memset(text, 't', sizeof text);
    PMListOf<PMEmulEntry> emulations;
    emulations.Add(test::Emulation("PCL 6 Emulation", version));
    emulations.Add(test::Emulation("TIFF", "1234567890123456789012345"));
    PMListOf<PMEngineStatusEntry> entries;
    entries.Add(test::EngineStatus(42001, text));
    const std::string long_text(400, 'x');
    entries.Add(test::EngineStatus(42002, long_text.c_str()));
    PMInfoPrinter info{};
    info.pEmulations = emulations.list();
    info.pEngineStatus = entries.list();
    TestRecord record;
    ASSERT_EQ(ConvertPrinter(info, PMINFO_EMULATIONS | PMINFO_ENGINE_STATUS, false, record.get()), 0u);

    const auto emuls = ChainNodes(record->pLoadedEmul);
    ASSERT_EQ(emuls.size(), 2u);
    EXPECT_EQ(std::string(emuls[0]->szVersion), std::string(17, 'v'));
    EXPECT_EQ(std::string(emuls[1]->szVersion), "12345678901234567");
    const auto nodes = ChainNodes(record->pEngineStatus);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(std::string(nodes[0]->szText), std::string(259, 't'));
    EXPECT_EQ(std::string(nodes[1]->szText), std::string(259, 'x'));
    // The node after each text field is intact.
    EXPECT_EQ(emuls[0]->next, emuls[1]);
}

TEST(ConvertPrinter, EmulationVersionsAndFonts) {
    PMListOf<PMEmulEntry> emulations;
    emulations.Add(test::Emulation("WEXA", "V1.10"));
    emulations.Add(test::Emulation("Adobe PostScript 3", "3017.102"));
    emulations.Add(test::Emulation("PCL 6 Emulation", "2.0"));
    emulations.Add(test::Emulation("Unknown", "9.9"));
    emulations.Add(test::Emulation("WEXA", nullptr));  // no version: the text stays
    PMListOf<PMFontEntry> fonts;
    fonts.Add(test::Font("Courier"));
    fonts.Add(test::Font(nullptr));
    PMInfoPrinter info{};
    info.pEmulations = emulations.list();
    info.pFonts = fonts.list();
    TestRecord record;
    record->dwLoadedEmulState = 3;
    ASSERT_EQ(ConvertPrinter(info, PMINFO_EMULATIONS | PMINFO_FONTS, false, record.get()), 0u);
    EXPECT_STREQ(record->pMainProgVersion, "V1.10");
    EXPECT_STREQ(record->pQXSVersion, "3017.102");
    EXPECT_EQ(record->dwLoadedEmulState, 0u);
    const auto emuls = ChainNodes(record->pLoadedEmul);
    ASSERT_EQ(emuls.size(), 5u);
    EXPECT_EQ(record->nLoadedEmul, 5u);
    const uint16_t codes[] = {1, 2, 17, 0, 1};
    const char* versions[] = {"V1.10", "3017.102", "2.0", "9.9", ""};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(emuls[i]->size, sizeof(LoadedEmulNode));
        EXPECT_EQ(emuls[i]->wEmulCode, codes[i]) << i;
        EXPECT_STREQ(emuls[i]->szVersion, versions[i]) << i;
    }
    const auto font_nodes = ChainNodes(record->pLoadedFont);
    ASSERT_EQ(font_nodes.size(), 2u);
    EXPECT_EQ(record->nLoadedFont, 2u);
    EXPECT_EQ(font_nodes[0]->size, sizeof(LoadedFontNode));
    EXPECT_EQ(font_nodes[0]->wFontCode, 0u);
    // The engine status was not asked for: no ready code.
    EXPECT_EQ(record->nEngineStatus, 0u);
}

TEST(ConvertPrinter, AllocationFailures) {
    PMListOf<PMEmulEntry> emulations;
    emulations.Add(test::Emulation("PCL 6 Emulation", "2.0"));
    emulations.Add(test::Emulation("WEXA", "V1.10"));
    PMListOf<PMEngineStatusEntry> entries;
    entries.Add(test::EngineStatus(42001));
    entries.Add(test::EngineStatus(42002));
    entries.Add(test::EngineStatus(42003));
    PMInfoPrinter info{};
    info.pEmulations = emulations.list();
    info.pEngineStatus = entries.list();
    const uint32_t flags = PMINFO_EMULATIONS | PMINFO_ENGINE_STATUS;

    {  // the main program version cannot be stored: 8, its node is not added
        TestRecord record;
        ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pMainProgVersion, "old"), 1);
        PrnInfoExAddEngineStatus(record.get(), 42001);
        AllocationSwitchGuard fail(2);
        EXPECT_EQ(ConvertPrinter(info, flags, false, record.get()), static_cast<uint32_t>(ERROR_NOT_ENOUGH_MEMORY));
        EXPECT_EQ(record->pMainProgVersion, nullptr);
        const auto emuls = ChainNodes(record->pLoadedEmul);
        ASSERT_EQ(emuls.size(), 1u);
        EXPECT_EQ(record->nLoadedEmul, 1u);
        EXPECT_EQ(emuls[0]->wEmulCode, 17u);
        EXPECT_EQ(record->nEngineStatus, 0u);  // cleared first; no ready code after a failure
    }
    {  // the second engine status node: 8, one node, no ready code
        TestRecord record;
        AllocationSwitchGuard fail(4);
        EXPECT_EQ(ConvertPrinter(info, flags, false, record.get()), static_cast<uint32_t>(ERROR_NOT_ENOUGH_MEMORY));
        EXPECT_STREQ(record->pMainProgVersion, "V1.10");
        EXPECT_EQ(record->nLoadedEmul, 2u);
        EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{42001}));
    }
    {  // the font node
        PMListOf<PMFontEntry> fonts;
        fonts.Add(test::Font("Courier"));
        PMInfoPrinter font_info{};
        font_info.pFonts = fonts.list();
        TestRecord record;
        AllocationSwitchGuard fail(0);
        EXPECT_EQ(ConvertPrinter(font_info, PMINFO_FONTS, false, record.get()),
                  static_cast<uint32_t>(ERROR_NOT_ENOUGH_MEMORY));
        EXPECT_EQ(record->nLoadedFont, 0u);
    }
    {  // a status word code that cannot be stored is lost silently
        const uint32_t word = 0x08000000;
        PMInfoPrinter word_info{};
        word_info.pStatusWord = &word;
        TestRecord record;
        AllocationSwitchGuard fail(0);
        EXPECT_EQ(ConvertPrinter(word_info, PMINFO_STATUS_WORD, false, record.get()), 0u);
        EXPECT_EQ(record->bNoResponse, 1u);
        EXPECT_EQ(record->nEngineStatus, 0u);
    }
}

// ---- Kinds 2 and 8 --------------------------------------------------------

TEST(ConvertFunction, EntriesAreAddedThenTheStatusWord) {
    TestRecord record;
    PrnInfoExAddEngineStatus(record.get(), 42001);
    record->bOnline = 1;
    const uint32_t word = 0x08000008;
    PMListOf<PMEngineStatusEntry> entries;
    entries.Add(test::EngineStatus(50001, "jam", 3));
    PMInfoFunction info{};
    info.pStatusWord = &word;
    info.pEngineStatus = entries.list();
    ASSERT_EQ(ConvertFunction(info, 8, PMINFO_STATUS_WORD | PMINFO_ENGINE_STATUS, false, record.get()), 0u);
    EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{42001, 50001, -254, 10003}));
    EXPECT_EQ(record->nEngineStatus, 4u);
    EXPECT_EQ(record->bError, 1u);
    EXPECT_EQ(record->bOnline, 1u);        // the state bytes belong to kind 1
    EXPECT_EQ(record->bNoResponse, 0u);
}

TEST(ConvertFunction, ReadyOnlyWhenNothingStands) {
    const uint32_t scanner_word = 0x00200000;
    PMInfoFunction info{};
    info.pStatusWord = &scanner_word;
    {
        TestRecord record;
        ASSERT_EQ(ConvertFunction(info, 2, PMINFO_STATUS_WORD | PMINFO_ENGINE_STATUS, false, record.get()), 0u);
        EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{410023}));
    }
    {
        TestRecord record;
        ASSERT_EQ(ConvertFunction(info, 2, PMINFO_STATUS_WORD | PMINFO_ENGINE_STATUS, true, record.get()), 0u);
        EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{10001}));  // suppressed, then ready
    }
    {
        TestRecord record;
        const uint32_t none = kNone;
        info.pStatusWord = &none;
        ASSERT_EQ(ConvertFunction(info, 2, PMINFO_STATUS_WORD, false, record.get()), 0u);
        EXPECT_EQ(record->nEngineStatus, 0u);  // no ready code without the entries flag
    }
}

TEST(ConvertFunction, EngineStatusNodeFailureEndsTheCall) {
    PMListOf<PMEngineStatusEntry> entries;
    entries.Add(test::EngineStatus(50001));
    const uint32_t word = 0x08000000;
    PMInfoFunction info{};
    info.pStatusWord = &word;
    info.pEngineStatus = entries.list();
    TestRecord record;
    AllocationSwitchGuard fail(0);
    EXPECT_EQ(ConvertFunction(info, 8, PMINFO_STATUS_WORD | PMINFO_ENGINE_STATUS, false, record.get()),
              static_cast<uint32_t>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(record->nEngineStatus, 0u);  // the status word step did not run
}

TEST(ConvertKinds, VariantLetters) {
    EXPECT_TRUE(VariantMatchesKind(1, 'd'));
    EXPECT_TRUE(VariantMatchesKind(0x80010001u, 0x7700 | 'd'));
    EXPECT_TRUE(VariantMatchesKind(2, 'e'));
    EXPECT_TRUE(VariantMatchesKind(8, 'f'));
    EXPECT_TRUE(VariantMatchesKind(0x8000, 'h'));
    EXPECT_FALSE(VariantMatchesKind(1, 'e'));
    EXPECT_FALSE(VariantMatchesKind(0x8000, 'H'));
    EXPECT_FALSE(VariantMatchesKind(4, 'd'));
    EXPECT_FALSE(VariantMatchesKind(16, 'f'));
}

}  // namespace
