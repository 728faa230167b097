#include "sim/agent_bindings.h"

#include <limits>
#include <string>

#include "sim/scenario_mib.h"

namespace tb58mon {
namespace {

// The column of a cell of the table entry, or 0.
uint32_t ColumnOf(const MibBinding& binding, const ObjectId& entry) {
    if (binding.oid.size() != entry.size() + 3 || !OidStartsWith(binding.oid, entry)) return 0;
    return binding.oid[entry.size()];
}

constexpr uint32_t kInputMaxCapacity = 9, kInputCurrentLevel = 10;
constexpr uint32_t kOutputRemaining = 5;
constexpr uint32_t kSupplyMaxCapacity = 8, kSupplyLevel = 9;
constexpr int64_t kUint32Max = std::numeric_limits<uint32_t>::max();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();

void Set(MibBinding& binding, int64_t value, MibType type = MibType::kInteger) {
    binding.type = type;
    binding.number = value;
}

}  // namespace

void AddRows(PrinterMib& mib, size_t rows) {
    while (mib.inputs.size() < rows) {
        MibInput input;
        input.index = static_cast<uint32_t>(mib.inputs.size() + 1);
        input.name = "Tray " + std::to_string(input.index);
        input.media_name = "PLAIN";
        input.status = kSubUnitAvailableIdle;
        input.dim_unit = kDimMicrometers;
        input.feed_dim = 210000;
        input.xfeed_dim = 297000;
        input.max_capacity = 500;
        input.current_level = static_cast<int32_t>(input.index % 501);
        mib.inputs.push_back(input);
    }
    while (mib.supplies.size() < rows) {
        MibSupply supply;
        supply.index = static_cast<uint32_t>(mib.supplies.size() + 1);
        supply.description = "Toner " + std::to_string(supply.index);
        supply.colorant_index = 0;
        supply.supply_class = kSupplyClassConsumed;
        supply.type = kSupplyTypeToner;
        supply.unit = kSupplyUnitPercent;
        supply.max_capacity = 100;
        supply.level = static_cast<int32_t>(supply.index % 101);
        mib.supplies.push_back(supply);
    }
}

void MakeExtreme(std::vector<MibBinding>& bindings) {
    for (MibBinding& b : bindings) {
        switch (ColumnOf(b, mib_oid::kPrtMarkerSuppliesEntry)) {
            case kSupplyLevel: Set(b, -5); break;
            case kSupplyMaxCapacity: Set(b, kInt32Max); break;
            default: break;
        }
        switch (ColumnOf(b, mib_oid::kPrtInputEntry)) {
            case kInputCurrentLevel: Set(b, kUint32Max, MibType::kGauge); break;
            case kInputMaxCapacity: Set(b, kInt32Max); break;
            default: break;
        }
        if (ColumnOf(b, mib_oid::kPrtOutputEntry) == kOutputRemaining) Set(b, kInt32Min);
        if (b.oid == mib_oid::kPrtMarkerLifeCount) Set(b, kUint32Max, MibType::kCounter);
        if (b.oid == mib_oid::kHrMemorySize) Set(b, kInt32Max);
    }
}

void SwapTypes(std::vector<MibBinding>& bindings) {
    for (MibBinding& b : bindings) {
        if (b.type == MibType::kOctets) {
            Set(b, static_cast<int64_t>(b.text.size()));
            b.text.clear();
        } else if (b.type != MibType::kObjectId) {
            b.text = std::to_string(b.number);
            b.type = MibType::kOctets;
        }
    }
}

std::vector<MibBinding> AgentBindings(const Scenario& scenario, const FaultSwitches& faults) {
    PrinterMib mib = ScenarioMib(scenario);
    if (faults.snmp_rows > 0) AddRows(mib, faults.snmp_rows);
    std::vector<MibBinding> bindings = FlattenPrinterMib(mib);
    if (faults.snmp_extreme) MakeExtreme(bindings);
    if (faults.snmp_wrong_types) SwapTypes(bindings);
    return bindings;
}

}  // namespace tb58mon
