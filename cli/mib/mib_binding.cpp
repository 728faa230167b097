#include "mib/mib_binding.h"

#include <algorithm>
#include <limits>
#include <map>

namespace tb58mon {
namespace {

// The printer's device index in hrDeviceTable, the first index of every
// Printer MIB table.
constexpr uint32_t kPrinterDevice = 1;

namespace column {
// prtInputEntry
constexpr uint32_t kInputDimUnit = 3, kInputFeedDim = 4, kInputXFeedDim = 5, kInputMaxCapacity = 9,
                   kInputCurrentLevel = 10, kInputStatus = 11, kInputMediaName = 12, kInputName = 13;
// prtOutputEntry
constexpr uint32_t kOutputMaxCapacity = 4, kOutputRemaining = 5, kOutputStatus = 6, kOutputName = 7;
// prtMarkerSuppliesEntry
constexpr uint32_t kSupplyColorant = 3, kSupplyClass = 4, kSupplyType = 5, kSupplyDescription = 6, kSupplyUnit = 7,
                   kSupplyMaxCapacity = 8, kSupplyLevel = 9;
// prtMarkerColorantEntry
constexpr uint32_t kColorantValue = 4;
// prtMediaPathEntry
constexpr uint32_t kMediaPathType = 9;
}  // namespace column

ObjectId Cell(const ObjectId& entry, uint32_t column, uint32_t index) {
    ObjectId oid = entry;
    oid.push_back(column);
    oid.push_back(kPrinterDevice);
    oid.push_back(index);
    return oid;
}

// Adds the bindings of one table row.
class RowWriter {
public:
    RowWriter(std::vector<MibBinding>& out, const ObjectId& entry, uint32_t index)
        : out_(out), entry_(entry), index_(index) {}
    void Number(uint32_t column, const std::optional<int32_t>& value) {
        if (value) out_.push_back(NumberBinding(Cell(entry_, column, index_), *value));
    }
    void Text(uint32_t column, const std::string& text, bool always = false) {
        if (always || !text.empty()) out_.push_back(TextBinding(Cell(entry_, column, index_), text));
    }

private:
    std::vector<MibBinding>& out_;
    const ObjectId& entry_;
    uint32_t index_;
};

void FlattenTables(const PrinterMib& mib, std::vector<MibBinding>& out) {
    for (const MibInput& input : mib.inputs) {
        RowWriter row(out, mib_oid::kPrtInputEntry, input.index);
        row.Number(column::kInputDimUnit, input.dim_unit);
        row.Number(column::kInputFeedDim, input.feed_dim);
        row.Number(column::kInputXFeedDim, input.xfeed_dim);
        row.Number(column::kInputMaxCapacity, input.max_capacity);
        row.Number(column::kInputCurrentLevel, input.current_level);
        row.Number(column::kInputStatus, input.status);
        row.Text(column::kInputMediaName, input.media_name);
        row.Text(column::kInputName, input.name, true);
    }
    for (const MibOutput& output : mib.outputs) {
        RowWriter row(out, mib_oid::kPrtOutputEntry, output.index);
        row.Number(column::kOutputMaxCapacity, output.max_capacity);
        row.Number(column::kOutputRemaining, output.remaining);
        row.Number(column::kOutputStatus, output.status);
        row.Text(column::kOutputName, output.name, true);
    }
    for (const MibSupply& supply : mib.supplies) {
        RowWriter row(out, mib_oid::kPrtMarkerSuppliesEntry, supply.index);
        row.Number(column::kSupplyColorant, supply.colorant_index);
        row.Number(column::kSupplyClass, supply.supply_class);
        row.Number(column::kSupplyType, supply.type);
        row.Text(column::kSupplyDescription, supply.description, true);
        row.Number(column::kSupplyUnit, supply.unit);
        row.Number(column::kSupplyMaxCapacity, supply.max_capacity);
        row.Number(column::kSupplyLevel, supply.level);
    }
    for (const MibColorant& colorant : mib.colorants) {
        RowWriter(out, mib_oid::kPrtMarkerColorantEntry, colorant.index).Text(column::kColorantValue, colorant.value, true);
    }
    for (const MibMediaPath& path : mib.media_paths) {
        RowWriter(out, mib_oid::kPrtMediaPathEntry, path.index).Number(column::kMediaPathType, path.type);
    }
}

bool FitsInt32(const MibBinding& binding) {
    return binding.type == MibType::kInteger && binding.number >= std::numeric_limits<int32_t>::min() &&
           binding.number <= std::numeric_limits<int32_t>::max();
}

// The rows of one table as they are read, by index.
template <typename Row>
Row* RowFor(std::map<uint32_t, Row>& rows, uint32_t index) {
    const auto found = rows.find(index);
    if (found != rows.end()) return &found->second;
    if (rows.size() >= kMaxMibRows || index == 0) return nullptr;
    Row& row = rows[index];
    row.index = index;
    return &row;
}

// Reads one cell; false when the binding is no cell of the entry (or of
// another device).
struct CellAddress {
    uint32_t column = 0;
    uint32_t index = 0;
};
std::optional<CellAddress> CellOf(const MibBinding& binding, const ObjectId& entry) {
    if (binding.oid.size() != entry.size() + 3 || !OidStartsWith(binding.oid, entry)) return std::nullopt;
    if (binding.oid[entry.size() + 1] != kPrinterDevice) return std::nullopt;
    return CellAddress{binding.oid[entry.size()], binding.oid[entry.size() + 2]};
}

void SetNumber(std::optional<int32_t>& field, const MibBinding& binding) {
    if (FitsInt32(binding)) field = static_cast<int32_t>(binding.number);
}

void SetText(std::string& field, const MibBinding& binding) {
    if (binding.type == MibType::kOctets) field = binding.text;
}

struct Tables {
    std::map<uint32_t, MibInput> inputs;
    std::map<uint32_t, MibOutput> outputs;
    std::map<uint32_t, MibSupply> supplies;
    std::map<uint32_t, MibColorant> colorants;
    std::map<uint32_t, MibMediaPath> media_paths;
};

bool ReadInputCell(const MibBinding& binding, Tables& tables) {
    const auto cell = CellOf(binding, mib_oid::kPrtInputEntry);
    if (!cell) return false;
    MibInput* row = RowFor(tables.inputs, cell->index);
    if (row == nullptr) return true;
    switch (cell->column) {
        case column::kInputDimUnit: SetNumber(row->dim_unit, binding); break;
        case column::kInputFeedDim: SetNumber(row->feed_dim, binding); break;
        case column::kInputXFeedDim: SetNumber(row->xfeed_dim, binding); break;
        case column::kInputMaxCapacity: SetNumber(row->max_capacity, binding); break;
        case column::kInputCurrentLevel: SetNumber(row->current_level, binding); break;
        case column::kInputStatus: SetNumber(row->status, binding); break;
        case column::kInputMediaName: SetText(row->media_name, binding); break;
        case column::kInputName: SetText(row->name, binding); break;
        default: break;
    }
    return true;
}

bool ReadOutputCell(const MibBinding& binding, Tables& tables) {
    const auto cell = CellOf(binding, mib_oid::kPrtOutputEntry);
    if (!cell) return false;
    MibOutput* row = RowFor(tables.outputs, cell->index);
    if (row == nullptr) return true;
    switch (cell->column) {
        case column::kOutputMaxCapacity: SetNumber(row->max_capacity, binding); break;
        case column::kOutputRemaining: SetNumber(row->remaining, binding); break;
        case column::kOutputStatus: SetNumber(row->status, binding); break;
        case column::kOutputName: SetText(row->name, binding); break;
        default: break;
    }
    return true;
}

bool ReadSupplyCell(const MibBinding& binding, Tables& tables) {
    const auto cell = CellOf(binding, mib_oid::kPrtMarkerSuppliesEntry);
    if (!cell) return false;
    MibSupply* row = RowFor(tables.supplies, cell->index);
    if (row == nullptr) return true;
    switch (cell->column) {
        case column::kSupplyColorant: SetNumber(row->colorant_index, binding); break;
        case column::kSupplyClass: SetNumber(row->supply_class, binding); break;
        case column::kSupplyType: SetNumber(row->type, binding); break;
        case column::kSupplyDescription: SetText(row->description, binding); break;
        case column::kSupplyUnit: SetNumber(row->unit, binding); break;
        case column::kSupplyMaxCapacity: SetNumber(row->max_capacity, binding); break;
        case column::kSupplyLevel: SetNumber(row->level, binding); break;
        default: break;
    }
    return true;
}

bool ReadColorantCell(const MibBinding& binding, Tables& tables) {
    const auto cell = CellOf(binding, mib_oid::kPrtMarkerColorantEntry);
    if (!cell) return false;
    MibColorant* row = RowFor(tables.colorants, cell->index);
    if (row != nullptr && cell->column == column::kColorantValue) SetText(row->value, binding);
    return true;
}

bool ReadMediaPathCell(const MibBinding& binding, Tables& tables) {
    const auto cell = CellOf(binding, mib_oid::kPrtMediaPathEntry);
    if (!cell) return false;
    MibMediaPath* row = RowFor(tables.media_paths, cell->index);
    if (row != nullptr && cell->column == column::kMediaPathType) SetNumber(row->type, binding);
    return true;
}

// The single objects; true when the binding was one of them.
bool ReadScalar(const MibBinding& binding, PrinterMib& mib) {
    const ObjectId& oid = binding.oid;
    if (oid == mib_oid::kPpmPrinterIEEE1284DeviceId) SetText(mib.device_id, binding);
    else if (oid == mib_oid::kSysDescr) SetText(mib.sys_descr, binding);
    else if (oid == mib_oid::kHrDeviceDescr) SetText(mib.hr_descr, binding);
    else if (oid == mib_oid::kHrPrinterDetectedErrorState) SetText(mib.detected_error_state, binding);
    else if (oid == mib_oid::kHrDeviceStatus) SetNumber(mib.hr_device_status, binding);
    else if (oid == mib_oid::kHrPrinterStatus) SetNumber(mib.hr_printer_status, binding);
    else if (oid == mib_oid::kHrMemorySize) {
        if (FitsInt32(binding) && binding.number >= 0) mib.memory_kib = binding.number;
    } else if (oid == mib_oid::kPrtGeneralSerialNumber) {
        SetText(mib.serial_number, binding);
        mib.printer_mib = mib.printer_mib || binding.type == MibType::kOctets;
    } else if (oid == mib_oid::kPrtMarkerLifeCount) {
        if (binding.type == MibType::kCounter && binding.number >= 0 && binding.number <= 0xFFFFFFFFLL) {
            mib.life_count = binding.number;
            mib.printer_mib = true;
        }
    } else {
        return false;
    }
    return true;
}

template <typename Row>
std::vector<Row> RowsOf(std::map<uint32_t, Row>& rows) {
    std::vector<Row> list;
    list.reserve(rows.size());
    for (auto& [index, row] : rows) list.push_back(std::move(row));
    return list;
}

}  // namespace

MibBinding NumberBinding(ObjectId oid, int64_t value, MibType type) {
    MibBinding binding;
    binding.oid = std::move(oid);
    binding.type = type;
    binding.number = value;
    return binding;
}

MibBinding TextBinding(ObjectId oid, std::string text) {
    MibBinding binding;
    binding.oid = std::move(oid);
    binding.type = MibType::kOctets;
    binding.text = std::move(text);
    return binding;
}

bool OidLess(const ObjectId& a, const ObjectId& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

bool OidStartsWith(const ObjectId& oid, const ObjectId& prefix) {
    return oid.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), oid.begin());
}

std::string OidText(const ObjectId& oid) {
    std::string text;
    for (const uint32_t part : oid) text += (text.empty() ? "" : ".") + std::to_string(part);
    return text;
}

std::vector<ObjectId> PrinterMibScalars() {
    return {mib_oid::kSysDescr,         mib_oid::kHrMemorySize,        mib_oid::kHrDeviceDescr,
            mib_oid::kHrDeviceStatus,   mib_oid::kHrPrinterStatus,     mib_oid::kHrPrinterDetectedErrorState,
            mib_oid::kPrtGeneralSerialNumber, mib_oid::kPrtMarkerLifeCount, mib_oid::kPpmPrinterIEEE1284DeviceId};
}

std::vector<ObjectId> PrinterMibColumns() {
    std::vector<ObjectId> columns;
    const auto add = [&columns](const ObjectId& entry, std::initializer_list<uint32_t> numbers) {
        for (const uint32_t number : numbers) {
            columns.push_back(entry);
            columns.back().push_back(number);
        }
    };
    add(mib_oid::kPrtInputEntry,
        {column::kInputDimUnit, column::kInputFeedDim, column::kInputXFeedDim, column::kInputMaxCapacity,
         column::kInputCurrentLevel, column::kInputStatus, column::kInputMediaName, column::kInputName});
    add(mib_oid::kPrtOutputEntry,
        {column::kOutputMaxCapacity, column::kOutputRemaining, column::kOutputStatus, column::kOutputName});
    add(mib_oid::kPrtMarkerSuppliesEntry,
        {column::kSupplyColorant, column::kSupplyClass, column::kSupplyType, column::kSupplyDescription,
         column::kSupplyUnit, column::kSupplyMaxCapacity, column::kSupplyLevel});
    add(mib_oid::kPrtMarkerColorantEntry, {column::kColorantValue});
    add(mib_oid::kPrtMediaPathEntry, {column::kMediaPathType});
    return columns;
}

std::vector<MibBinding> FlattenPrinterMib(const PrinterMib& mib) {
    std::vector<MibBinding> out;
    if (!mib.sys_descr.empty()) out.push_back(TextBinding(mib_oid::kSysDescr, mib.sys_descr));
    if (mib.memory_kib) out.push_back(NumberBinding(mib_oid::kHrMemorySize, *mib.memory_kib));
    out.push_back(MibBinding{mib_oid::kHrDeviceType, MibType::kObjectId, 0, {}, mib_oid::kHrDevicePrinter});
    if (!mib.hr_descr.empty()) out.push_back(TextBinding(mib_oid::kHrDeviceDescr, mib.hr_descr));
    if (mib.hr_device_status) out.push_back(NumberBinding(mib_oid::kHrDeviceStatus, *mib.hr_device_status));
    if (mib.hr_printer_status) out.push_back(NumberBinding(mib_oid::kHrPrinterStatus, *mib.hr_printer_status));
    if (mib.hr_printer_status || !mib.detected_error_state.empty()) {
        out.push_back(TextBinding(mib_oid::kHrPrinterDetectedErrorState, mib.detected_error_state));
    }
    if (!mib.serial_number.empty()) out.push_back(TextBinding(mib_oid::kPrtGeneralSerialNumber, mib.serial_number));
    if (mib.life_count) out.push_back(NumberBinding(mib_oid::kPrtMarkerLifeCount, *mib.life_count, MibType::kCounter));
    if (!mib.device_id.empty()) out.push_back(TextBinding(mib_oid::kPpmPrinterIEEE1284DeviceId, mib.device_id));
    FlattenTables(mib, out);
    std::stable_sort(out.begin(), out.end(), [](const MibBinding& a, const MibBinding& b) { return OidLess(a.oid, b.oid); });
    return out;
}

PrinterMib ParsePrinterMib(std::span<const MibBinding> bindings) {
    PrinterMib mib;
    Tables tables;
    for (const MibBinding& binding : bindings) {
        if (ReadScalar(binding, mib)) continue;
        const bool table_cell = ReadInputCell(binding, tables) || ReadOutputCell(binding, tables) ||
                                ReadSupplyCell(binding, tables) || ReadColorantCell(binding, tables) ||
                                ReadMediaPathCell(binding, tables);
        if (table_cell) mib.printer_mib = true;
    }
    mib.inputs = RowsOf(tables.inputs);
    mib.outputs = RowsOf(tables.outputs);
    mib.supplies = RowsOf(tables.supplies);
    mib.colorants = RowsOf(tables.colorants);
    mib.media_paths = RowsOf(tables.media_paths);
    return mib;
}

}  // namespace tb58mon
