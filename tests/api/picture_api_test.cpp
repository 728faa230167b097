// PatCreateBitmapInfo and PatDisposeBitmapInfo through the library, as a
// status monitor calls them: the layers for the machine's configuration,
// the drawing order with masks, argument checks and releasing.
#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "Tb58Wk31Platform.h"
#include "support/status_packet.h"
#include "support/tray_chain.h"

namespace {

using tb58::test::AppendDevice;
using tb58::test::AppendTray;
using tb58::test::StatusPacket;

// A layer as the caller draws it.
struct Layer {
    std::string name;
    int32_t x;
    int32_t y;
    uint32_t rop;
    int layer;
    bool operator==(const Layer&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Layer& l) {
    return os << l.name << " (" << l.x << ", " << l.y << ") " << l.layer << " rop " << std::hex << l.rop << std::dec;
}

constexpr uint32_t kCopy = TB58_ROP_SRCCOPY;
constexpr uint32_t kAnd = TB58_ROP_SRCAND;
constexpr uint32_t kPaint = TB58_ROP_SRCPAINT;

// A machine: its installed options and whether Tray 4 is there.
struct Machine {
    std::initializer_list<uint16_t> devices;
    bool fourth_tray = true;
};

class Picture {
public:
    Picture(uint32_t kind, std::initializer_list<int32_t> codes, Machine machine) {
        packet_.SetCodes(codes);
        for (uint16_t device : machine.devices) AppendDevice(packet_.machine(), device);
        if (machine.fourth_tray) AppendTray(packet_.machine(), tb58::test::kTray4);
        info_ = PatCreateBitmapInfo(kind, packet_.root(), TB58_REVISION_STATUS);
        error_ = GetLastError();
    }
    ~Picture() {
        if (info_ != nullptr) PatDisposeBitmapInfo(info_);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    const BitmapInfo* info() const { return info_; }
    uint32_t error() const { return error_; }

    // The layers of the only list, walked by the size fields as a caller does.
    std::vector<Layer> Layers() const {
        std::vector<Layer> out;
        if (info_ == nullptr) return out;
        const auto* list = reinterpret_cast<const BitmapLayerList*>(info_->pLists);
        const auto* bytes = reinterpret_cast<const char*>(list->pLayers);
        for (uint32_t i = 0; i < list->dwCount; ++i) {
            const auto* layer = reinterpret_cast<const BitmapLayer*>(bytes + size_t{i} * list->dwSize);
            out.push_back({layer->szName, layer->x, layer->y, layer->dwRop, layer->bLayer});
        }
        return out;
    }

private:
    StatusPacket packet_;
    BitmapInfo* info_ = nullptr;
    uint32_t error_ = 0;
};

// A layer drawn through its mask.
std::vector<Layer> Masked(const std::string& name, int32_t x, int32_t y, int layer) {
    return {{name + "_B", x, y, kAnd, layer}, {name, x, y, kPaint, layer}};
}

std::vector<Layer> Join(std::initializer_list<std::vector<Layer>> parts) {
    std::vector<Layer> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

const std::vector<Layer> kBase1 = {{"BM_BASE1", 0, 0, kCopy, 1}};
const std::vector<Layer> kBase2 = {{"BM_BASE2", 0, 0, kCopy, 1}};

TEST(PictureApi, DescriptionShape) {
    Picture picture(1, {46123}, {});
    ASSERT_NE(picture.info(), nullptr);
    EXPECT_EQ(picture.error(), 0u);
    EXPECT_EQ(picture.info()->bCode, TB58_BITMAP_INFO_CODE);
    EXPECT_EQ(picture.info()->dwCount, 1u);
    EXPECT_EQ(picture.info()->dwSize, 24u);
    ASSERT_NE(picture.info()->pLists, nullptr);
    EXPECT_EQ(picture.info()->pLists[0].bCode, TB58_BITMAP_LIST_CODE);
    EXPECT_EQ(picture.info()->pLists[0].dwSize, 48u);
    // The bypass tray's marker over the main body.
    EXPECT_EQ(picture.Layers(), Join({kBase1, Masked("BM_POINT_8", 248, 84, 100)}));
}

TEST(PictureApi, TrayMarkersFollowTheFourthTray) {
    // Tray 1: its marker differs with and without Tray 4.
    EXPECT_EQ(Picture(1, {46223}, {}).Layers(), Join({kBase1, Masked("BM_POINT_3", 153, 122, 108)}));
    EXPECT_EQ(Picture(1, {46223}, {{}, false}).Layers(),
              Join({kBase2, Masked("BM_POINT_2", 153, 124, 208)}));
    // Tray 2 and 3 move down one place without Tray 4.
    EXPECT_EQ(Picture(1, {41301}, {{}, false}).Layers(),
              Join({kBase2, Masked("BM_POINT_3", 153, 148, 210)}));
    EXPECT_EQ(Picture(1, {41401}, {}).Layers(), Join({kBase1, Masked("BM_POINT_3", 153, 148, 112)}));
    // Layer 114 is removed by neither branch.
    EXPECT_EQ(Picture(1, {46501}, {{}, false}).Layers(),
              Join({kBase2, Masked("BM_POINT_3", 153, 161, 114)}));
    // Two trays out of paper: both markers, in layer order.
    EXPECT_EQ(Picture(1, {41301, 41201}, {}).Layers(),
              Join({kBase1, Masked("BM_POINT_3", 153, 122, 108), Masked("BM_POINT_3", 153, 135, 110)}));
}

TEST(PictureApi, FinisherKeysAreLookedUpExactlyEverywhere) {
    // 40540 is a key of the finisher tables: the main body has no such key
    // and gives its default picture.
    EXPECT_EQ(Picture(1, {40540}, {{21}}).Layers(),
              Join({kBase1, Masked("BM_FIN1A", 0, 0, 60), Masked("BM_POINT_18", 81, 62, 154)}));
    // Without the finisher the main body's default stands alone.
    EXPECT_EQ(Picture(1, {40540}, {}).Layers(), kBase1);
}

TEST(PictureApi, InterposerAndZFoldMoveTheUnitsBehindThem) {
    EXPECT_EQ(Picture(1, {40540}, {{21, 41, 113}}).Layers(),
              Join({kBase1, Masked("BM_INSER", -30, 0, 20), Masked("BM_ZORI", 0, 0, 50),
                    Masked("BM_FIN1A", -43, 0, 60), Masked("BM_POINT_18", 38, 62, 154)}));
    // With the interposer alone: the finisher moves by its width only, and
    // a misfeed marks the finisher's cover beside it and the interposer's.
    EXPECT_EQ(Picture(1, {42010}, {{41, 21}}).Layers(),
              Join({kBase1, Masked("BM_INSER", 0, 0, 20), Masked("BM_FIN1A", -13, 0, 60),
                    Masked("BM_POINT_16", 126, 28, 120), Masked("BM_POINT_19", 68, 64, 152)}));
    // The finisher of device 38 stands at x = 30 of its own.
    EXPECT_EQ(Picture(1, {40341}, {{38, 41}}).Layers(),
              Join({kBase1, Masked("BM_INSER", 0, 0, 20), Masked("BM_FIN2A", 17, 0, 60),
                    Masked("BM_POINT_13", 61, 71, 158)}));
}

TEST(PictureApi, BookletProcessorReplacesTheFinisherPicture) {
    // Even without a finisher.
    EXPECT_EQ(Picture(1, {10001}, {{22}}).Layers(),
              Join({kBase1, Masked("BM_FIN5B", 0, 0, 60), Masked("BM_PLOCK", -69, 0, 70)}));
    // The finisher's markers stay; with the interposer everything moves left.
    EXPECT_EQ(Picture(1, {42015}, {{115, 22, 41}}).Layers(),
              Join({kBase1, Masked("BM_INSER", 0, 0, 20), Masked("BM_FIN5B", -13, 0, 60),
                    Masked("BM_PLOCK", -82, 0, 70), Masked("BM_POINT_29", -19, 79, 180)}));
    EXPECT_EQ(Picture(1, {40341}, {{114, 22}}).Layers(),
              Join({kBase1, Masked("BM_FIN5B", 0, 0, 60), Masked("BM_PLOCK", -69, 0, 70),
                    Masked("BM_POINT_28", 57, 73, 158)}));
}

TEST(PictureApi, OptionsInChainOrderAndMergedOverlays) {
    // The same overlay from two codes is drawn once.
    EXPECT_EQ(Picture(1, {340101, 440101}, {}).Layers(), Join({kBase1, Masked("BM_CAUTION", 0, 0, 250)}));
    // The LCT's table adds its marker to the main body's for a misfeed.
    EXPECT_EQ(Picture(1, {42000}, {{104}}).Layers(),
              Join({kBase1, Masked("BM_LCT", 0, 0, 10), Masked("BM_POINT_14", 248, 105, 102),
                    Masked("BM_POINT_5", 146, 60, 106)}));
    // Mailbox bin 9 and a device without a table.
    EXPECT_EQ(Picture(1, {40359}, {{77, 8}}).Layers(),
              Join({kBase1, Masked("BM_MAILBOX", 0, 0, 40), Masked("BM_POINT_10", 54, 3, 130)}));
}

TEST(PictureApi, OverlayFollowsThePresentation) {
    EXPECT_EQ(Picture(1, {40722}, {}).Layers(), Join({kBase1, Masked("BM_CAUTION", 0, 0, 246)}));
    EXPECT_EQ(Picture(TB58_KIND_ALTERNATE | 1, {40722}, {}).Layers(),
              Join({kBase1, Masked("BM_SERVICE", 0, 0, 248)}));
}

TEST(PictureApi, NoResponseIsThePowerOffOverlay) {
    StatusPacket packet;
    packet.SetCodes({10001});
    packet.function()->bNoResponse = 1;  // the kind's own record says so
    AppendTray(packet.machine(), tb58::test::kTray4);
    BitmapInfo* info = PatCreateBitmapInfo(1, packet.root(), 3);
    ASSERT_NE(info, nullptr);
    const BitmapLayerList& list = info->pLists[0];
    ASSERT_EQ(list.dwCount, 3u);
    EXPECT_STREQ(list.pLayers[0].szName, "BM_BASE1");
    EXPECT_STREQ(list.pLayers[1].szName, "BM_POWEROFF_B");
    EXPECT_STREQ(list.pLayers[2].szName, "BM_POWEROFF");
    EXPECT_EQ(list.pLayers[2].bLayer, 250);
    EXPECT_EQ(PatDisposeBitmapInfo(info), 1);
}

TEST(PictureApi, EmptyPictures) {
    // No status code: only the fourth-tray rule adds anything.
    EXPECT_TRUE(Picture(1, {}, {}).Layers().empty());
    EXPECT_EQ(Picture(1, {}, {{}, false}).Layers(), kBase2);
    // The machine kind has no status priorities: one empty list, still with
    // an array.
    StatusPacket packet(9, 9);
    packet.SetCodes({40540});
    BitmapInfo* info = PatCreateBitmapInfo(TB58_KIND_MACHINE, packet.root(), 3);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(info->dwCount, 1u);
    EXPECT_EQ(info->pLists[0].dwCount, 0u);
    EXPECT_NE(info->pLists[0].pLayers, nullptr);
    EXPECT_EQ(PatDisposeBitmapInfo(info), 1);
}

TEST(PictureApi, ArgumentChecks) {
    StatusPacket packet;
    packet.SetCodes({10001});
    SetLastError(0);
    EXPECT_EQ(PatCreateBitmapInfo(1, nullptr, 3), nullptr);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    for (uint32_t kind : {4u, 16u, 0u}) {
        SetLastError(0);
        EXPECT_EQ(PatCreateBitmapInfo(kind, packet.root(), 3), nullptr) << kind;
        EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER) << kind;
    }
    EXPECT_EQ(PatCreateBitmapInfo(1, packet.root(), 2), nullptr);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    // Only the revision's low byte and the kind's low half are checked.
    BitmapInfo* info = PatCreateBitmapInfo(0x00010001u, packet.root(), 0x1203);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(PatDisposeBitmapInfo(info), 1);
    // Not a status packet, and a record too short.
    packet.root()->key = ITEM_QUERY_INFO;
    EXPECT_EQ(PatCreateBitmapInfo(1, packet.root(), 3), nullptr);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    packet.root()->key = ITEM_STATUS;
    packet.function()->dwSize = 403;
    EXPECT_EQ(PatCreateBitmapInfo(1, packet.root(), 3), nullptr);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
}

TEST(PictureApi, DisposeChecksBeforeItFrees) {
    EXPECT_EQ(PatDisposeBitmapInfo(nullptr), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);

    auto* stray = static_cast<uint8_t*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 24));
    stray[0] = 199;
    EXPECT_EQ(PatDisposeBitmapInfo(stray), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    GlobalFree(stray);

    // A description whose list is damaged is refused whole: nothing is
    // freed, so mending the code and disposing again releases everything
    // exactly once.
    StatusPacket packet;
    packet.SetCodes({46223});
    BitmapInfo* two = PatCreateBitmapInfo(1, packet.root(), 3);
    ASSERT_NE(two, nullptr);
    two->pLists[0].bCode = 7;
    EXPECT_EQ(PatDisposeBitmapInfo(two), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    two->pLists[0].bCode = TB58_BITMAP_LIST_CODE;
    EXPECT_EQ(PatDisposeBitmapInfo(two), 1);
    EXPECT_EQ(GetLastError(), 0u);

    // A lone layer list (code 200) is released with its array.
    auto* list = static_cast<BitmapLayerList*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(BitmapLayerList)));
    list->bCode = TB58_BITMAP_LIST_CODE;
    list->pLayers = static_cast<BitmapLayer*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(BitmapLayer)));
    EXPECT_EQ(PatDisposeBitmapInfo(list), 1);
    EXPECT_EQ(GetLastError(), 0u);
}

TEST(PictureApi, DrawingOrder) {
    // Everything at once: layers ascend, every even layer follows its mask,
    // only the main body is copied.
    Picture picture(1, {40540, 40380}, {{104, 41, 6, 8, 113, 115, 22}});
    const std::vector<Layer> layers = picture.Layers();
    ASSERT_GE(layers.size(), 3u);
    for (size_t i = 0; i < layers.size(); ++i) {
        if (i > 0) {
            EXPECT_LE(layers[i - 1].layer, layers[i].layer) << layers[i];
        }
        if (layers[i].layer % 2 != 0) {
            EXPECT_EQ(layers[i].rop, kCopy) << layers[i];
        } else if (layers[i].rop == kPaint) {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(layers[i - 1], (Layer{layers[i].name + "_B", layers[i].x, layers[i].y, kAnd, layers[i].layer}));
        } else {
            EXPECT_EQ(layers[i].rop, kAnd) << layers[i];
        }
    }
    EXPECT_EQ(layers.front(), kBase1.front());
}

}  // namespace
