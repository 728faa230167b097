// Supplies as the monitor shows them: RFC 3805's special values, the
// receptacle that fills up, colours from the colorant table, the type list
// at both ends, hostile descriptions, and the toner state from levels.
#include <gtest/gtest.h>

#include "mib/supply_view.h"
#include "serve/fleet_metrics.h"

namespace tb58mon {
namespace {

MibSupply Supply(int32_t type, int32_t level, int32_t capacity, int32_t colorant = 0, int32_t supply_class = 3) {
    MibSupply supply;
    supply.index = 1;
    supply.description = "Black Toner";
    supply.type = type;
    supply.level = level;
    supply.max_capacity = capacity;
    supply.colorant_index = colorant;
    supply.supply_class = supply_class;
    return supply;
}

SupplyReading Read(const MibSupply& supply) {
    PrinterMib mib;
    mib.supplies = {supply};
    mib.colorants = {MibColorant{1, "Black"}, MibColorant{2, "cyan"}, MibColorant{3, "ultraviolet"}};
    return ReadSupplies(mib).front();
}

TEST(SupplyView, LevelsAndTheSpecialValues) {
    EXPECT_EQ(Read(Supply(3, 8, 100)).level_text, "8 %");
    EXPECT_DOUBLE_EQ(*Read(Supply(3, 8, 100)).ratio, 0.08);
    EXPECT_EQ(Read(Supply(3, 0, 100)).level_text, "0 %");
    EXPECT_EQ(Read(Supply(3, 100, 100)).level_text, "100 %");
    EXPECT_EQ(Read(Supply(3, 500, 100)).level_text, "100 %");  // more than it holds
    EXPECT_EQ(Read(Supply(3, kMibSomeRemaining, 100)).level_text, "some remaining");
    EXPECT_FALSE(Read(Supply(3, kMibSomeRemaining, 100)).ratio);
    EXPECT_EQ(Read(Supply(3, kMibUnknown, 100)).level_text, "unknown");
    EXPECT_EQ(Read(Supply(3, kMibOther, 100)).level_text, "other");
    EXPECT_FALSE(Read(Supply(3, 50, kMibUnknown)).ratio);       // capacity unknown
    EXPECT_FALSE(Read(Supply(3, 50, kMibOther)).ratio);
    EXPECT_FALSE(Read(Supply(3, 50, 0)).ratio);
    EXPECT_FALSE(Read(Supply(3, -5, 100)).ratio);               // not a value RFC 3805 knows
    EXPECT_DOUBLE_EQ(*Read(Supply(3, 2147483647, 2147483647)).ratio, 1.0);
}

TEST(SupplyView, AReceptacleFillsUp) {
    const SupplyReading waste = Read(Supply(4, 5, 100, 0, kSupplyClassReceptacle));
    EXPECT_TRUE(waste.receptacle);
    EXPECT_EQ(waste.type, "waste toner");
    EXPECT_EQ(SupplyLine(waste), "95 % full");
    EXPECT_EQ(SupplyLine(Read(Supply(4, 100, 100, 0, kSupplyClassReceptacle))), "0 % full");
    EXPECT_EQ(SupplyLine(Read(Supply(4, 0, 100, 0, kSupplyClassReceptacle))), "100 % full");
    EXPECT_EQ(SupplyLine(Read(Supply(4, kMibUnknown, 100, 0, kSupplyClassReceptacle))), "unknown");
    EXPECT_EQ(SupplyLine(Read(Supply(3, 8, 100))), "8 %");
}

TEST(SupplyView, TypesAndColoursFromFixedLists) {
    EXPECT_EQ(Read(Supply(1, 1, 1)).type, "other");
    EXPECT_EQ(Read(Supply(3, 1, 1)).type, "toner");
    EXPECT_EQ(Read(Supply(9, 1, 1)).type, "drum");
    EXPECT_EQ(Read(Supply(34, 1, 1)).type, "covers");
    EXPECT_EQ(Read(Supply(35, 1, 1)).type, "other");   // past the list
    EXPECT_EQ(Read(Supply(0, 1, 1)).type, "other");
    EXPECT_EQ(Read(Supply(-7, 1, 1)).type, "other");
    EXPECT_EQ(Read(Supply(3, 1, 1, 1)).color, "black");  // case does not count
    EXPECT_EQ(Read(Supply(3, 1, 1, 2)).color, "cyan");
    EXPECT_EQ(Read(Supply(3, 1, 1, 3)).color, "other");  // a colour no list has
    EXPECT_EQ(Read(Supply(3, 1, 1, 9)).color, "");       // no such colorant
    EXPECT_EQ(Read(Supply(3, 1, 1, 0)).color, "");
}

TEST(SupplyView, HostileDescriptionsArePrintableAndShort) {
    MibSupply supply = Supply(3, 1, 1);
    supply.description = "Toner\x1b[2J\r\nfake\xff" + std::string(200, 'x');
    const SupplyReading reading = Read(supply);
    EXPECT_EQ(reading.description.find('\x1b'), std::string::npos);
    EXPECT_EQ(reading.description.find('\n'), std::string::npos);
    EXPECT_LE(reading.description.size(), 64u * 3);
}

TEST(SupplyView, TonerStateFromTheTonerLevels) {
    const auto state = [](std::vector<MibSupply> supplies) {
        PrinterMib mib;
        mib.supplies = std::move(supplies);
        const std::optional<TonerLevel> toner = TonerStateFromLevels(ReadSupplies(mib));
        return toner ? std::optional<std::string>(TonerName(*toner)) : std::nullopt;
    };
    EXPECT_FALSE(state({}));
    EXPECT_FALSE(state({Supply(3, kMibSomeRemaining, 100)}));  // no level: the codes decide
    EXPECT_EQ(state({Supply(3, 11, 100)}), "ok");
    EXPECT_EQ(state({Supply(3, 10, 100)}), "low");
    EXPECT_EQ(state({Supply(3, 1, 100)}), "low");
    EXPECT_EQ(state({Supply(3, 0, 100)}), "empty");
    EXPECT_EQ(state({Supply(3, 60, 100), Supply(3, 5, 100)}), "low");
    EXPECT_EQ(state({Supply(3, 5, 100), Supply(3, 0, 100)}), "empty");
    EXPECT_EQ(state({Supply(9, 0, 100)}), std::nullopt);        // a drum is no toner
    EXPECT_EQ(state({Supply(4, 0, 100, 0, kSupplyClassReceptacle)}), std::nullopt);
}

TEST(SupplyView, MetricLabelsCarryNoPrinterMarkup) {
    PrinterView view;
    view.name = "lab";
    view.health = PrinterHealth::kReady;
    view.inventory = Inventory{"SN\"} 1\nfake_metric 2", "Model\\x", "", std::nullopt, std::nullopt};
    SupplyReading supply;
    supply.description = "Toner\"}\n# TYPE x";
    supply.type = "toner";
    supply.color = "black";
    supply.ratio = 0.5;
    view.supplies = {supply};
    FleetMetrics metrics;
    metrics.Record(view);
    const std::string text = metrics.Text();
    EXPECT_EQ(text.find("\nfake_metric"), std::string::npos);
    EXPECT_EQ(text.find("# TYPE x"), std::string::npos);
    EXPECT_NE(text.find("serial=\"SN__ 1_fake_metric 2\""), std::string::npos) << text;
    EXPECT_NE(text.find("supply=\"Toner____ TYPE x\""), std::string::npos) << text;
}

}  // namespace
}  // namespace tb58mon
