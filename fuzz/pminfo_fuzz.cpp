// Printer-management records of every kind built from the input: valid
// pointers (or the "not supplied" null and all-ones), arbitrary values and
// texts of any length, into PatPMInfoToPrnInfoEx twice on one record (the
// second call replaces or adds to what the first stored) and then into
// PatPrnInfoExToPrnInfo.
#include <deque>
#include <new>
#include <string>
#include <vector>

#include "fuzz_support.h"

namespace {

using namespace tb58::fuzz;

// Everything a PMInfo points at lives here until the input is done.
class Arena {
public:
    explicit Arena(Input& input) : input_(input) {}

    // Null, all-ones or the given object, as the input says.
    template <typename T>
    T* Maybe(T* object) {
        switch (input_.Byte() % 8) {
            case 0: return nullptr;
            case 1: return static_cast<T*>(PMINFO_NOT_SUPPLIED_POINTER);
            default: return object;
        }
    }

    uint32_t Value() {
        const uint8_t pick = input_.Byte();
        if (pick < 32) return PMINFO_NOT_SUPPLIED;
        if (pick < 128) return pick;
        return input_.Word();
    }

    // A terminated text of any length (a zero inside ends it early).
    const char* Text() {
        const uint8_t pick = input_.Byte();
        const size_t length = pick < 16 ? 250 + input_.Byte() * 4u : pick % 40;
        return Maybe(texts_.emplace_back(input_.Bytes(length)).c_str());
    }

    // A zeroed object that stays put until the input is done.
    template <typename T>
    T& New() {
        static_assert(sizeof(T) <= sizeof(Block) && alignof(T) <= alignof(Block));
        return *new (blocks_.emplace_back().bytes) T{};
    }

    // A list of up to 19 entries, some of them "not supplied".
    template <typename Entry, typename Fill>
    const PMList* List(Fill fill) {
        const uint8_t count = input_.Byte() % 20;
        auto& pointers = pointer_arrays_.emplace_back();
        for (uint8_t i = 0; i < count; ++i) {
            auto& entry = New<Entry>();
            fill(entry);
            pointers.push_back(Maybe(&entry));
        }
        auto& list = New<PMList>();
        list.count = (input_.Byte() % 16) == 0 ? PMINFO_NOT_SUPPLIED : count;
        list.entries = count != 0 ? pointers.data() : Maybe(pointers.data());
        return Maybe(&list);
    }

    const uint32_t* Word() {
        auto& word = New<uint32_t>();
        word = Value();
        return Maybe(&word);
    }

private:
    struct Block {
        alignas(16) unsigned char bytes[128];
    };
    Input& input_;
    std::deque<std::string> texts_;
    std::deque<std::vector<const void*>> pointer_arrays_;
    std::deque<Block> blocks_;
};

const PMList* EngineStatus(Arena& arena) {
    return arena.List<PMEngineStatusEntry>([&](PMEngineStatusEntry& entry) {
        entry.dwCode = static_cast<int32_t>(arena.Value());
        entry.pText = arena.Text();
        entry.dwSeverity = arena.Value() % 5 == 3 ? 3 : arena.Value();
    });
}

// The fields both tray forms have.
template <typename Tray>
void FillTray(Arena& arena, Tray& tray) {
    tray.pTrayName = arena.Text();
    tray.dwState = arena.Value();
    tray.dwDimension1 = arena.Value();
    tray.dwDimension2 = arena.Value();
    tray.pMediaName = arena.Text();
    tray.dwMediaBit = arena.Value();
    tray.dwAttributes = arena.Value();
}

const void* Machine(Arena& arena) {
    auto& info = arena.New<PMInfoMachine>();
    auto& model = arena.New<PMModelEntry>();
    model.pModelName = arena.Text();
    model.pSYSVersion = arena.Text();
    model.dwMemorySize = arena.Value();
    model.pMakerName = arena.Text();
    info.pModel = arena.Maybe(&model);
    info.pTraysA = arena.List<PMTrayEntryA>([&](PMTrayEntryA& tray) {
        FillTray(arena, tray);
        tray.pSecondMediaBit = arena.Word();
    });
    info.pOutBins = arena.List<PMOutBinEntry>([&](PMOutBinEntry& bin) {
        bin.pBinName = arena.Text();
        bin.dwState = arena.Value();
    });
    info.pOptions = arena.List<PMOptionEntry>([&](PMOptionEntry& option) {
        // Mostly the device codes the tables know (637 ...), sometimes anything.
        const uint32_t value = arena.Value();
        option.dwDeviceCode = value < 128 ? 630 + value % 40 : value;
    });
    info.pTraysB = arena.List<PMTrayEntryB>([&](PMTrayEntryB& tray) { FillTray(arena, tray); });
    return &info;
}

const void* Printer(Arena& arena) {
    auto& info = arena.New<PMInfoPrinter>();
    info.pStatusWord = arena.Word();
    info.pFonts = arena.List<PMFontEntry>([&](PMFontEntry& font) { font.pFontName = arena.Text(); });
    info.pEmulations = arena.List<PMEmulEntry>([&](PMEmulEntry& emulation) {
        emulation.pVersion = arena.Text();
        emulation.pEmulName = arena.Text();
    });
    info.pEngineStatus = EngineStatus(arena);
    return &info;
}

const void* Function(Arena& arena) {
    auto& info = arena.New<PMInfoFunction>();
    info.pStatusWord = arena.Word();
    info.pEngineStatus = EngineStatus(arena);
    return &info;
}

// One conversion: the kind, its record and variant from the input.
void Convert(Arena& arena, Input& input, PrnInfoEx& record) {
    static const uint32_t kKinds[] = {TB58_KIND_MACHINE, TB58_KIND_PRINTER, TB58_KIND_SCANNER, TB58_KIND_COPIER};
    static const uint32_t kVariants[] = {PMINFO_VARIANT_MACHINE, PMINFO_VARIANT_PRINTER, PMINFO_VARIANT_SCANNER,
                                         PMINFO_VARIANT_COPIER};
    const uint8_t pick = input.Byte();
    const uint8_t which = pick % 4;
    uint32_t kind = kKinds[which] | ((pick & 0x10) ? PMINFO_KIND_SUPPRESS : 0);
    uint32_t variant = kVariants[which] | (static_cast<uint32_t>(input.Byte()) << 8);
    if (pick >= 0xF0) kind = input.Word();
    if ((pick & 0xE0) == 0xE0) variant = input.Byte();
    const void* info = which == 0 ? Machine(arena) : which == 1 ? Printer(arena) : Function(arena);
    PatPMInfoToPrnInfoEx(kind, (pick & 0x0F) == 0x0F ? nullptr : info, variant, input.Word(), &record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    UseOwnModule();
    Input input(data, size);
    Arena arena(input);
    PrnInfoEx record{};
    record.dwSize = (input.Byte() % 8) == 0 ? 403 : sizeof record;
    Convert(arena, input, record);
    Convert(arena, input, record);
    PrnInfo flat;
    PatPrnInfoExToPrnInfo(&record, &flat, input.Word());
    ReleaseRecord(record);
    return 0;
}
