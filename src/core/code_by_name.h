// Name-to-code tables: constant rows of (name, code), ended by a row with a
// null name whose code is the table's default.  Every filler of a PrnInfoEx
// looks its keywords up in such tables.
//
// Declare a table with MakeCodeByNameTable, which adds the end row:
//
//   constexpr auto kMemoryUsage = MakeCodeByNameTable({{"PAGE", 1}, {"USER", 2}}, 0);
//   uint32_t code = LookupCodeByName(text, kMemoryUsage);
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/keyword_set.h"

namespace tb58 {

struct CodeByNameRow {
    constexpr CodeByNameRow() = default;
    constexpr CodeByNameRow(const char* row_name, uint32_t row_code)
        : name(row_name), code(row_code), length(row_name == nullptr ? 0 : std::string_view(row_name).size()) {}

    const char* name = nullptr;  // nullptr in the end row
    uint32_t code = 0;           // the default code in the end row
    size_t length = 0;           // the name's length, so that a look-up compares bytes only of equal lengths
};

// A table as data: its rows followed by the end row.
template <size_t N>
using CodeByNameTable = std::array<CodeByNameRow, N + 1>;

template <size_t N>
consteval CodeByNameTable<N> MakeCodeByNameTable(const CodeByNameRow (&rows)[N], uint32_t default_code) {
    CodeByNameTable<N> table{};
    for (size_t i = 0; i < N; ++i) {
        if (rows[i].name == nullptr) throw "only the end row has a null name";
        table[i] = rows[i];
    }
    table[N] = CodeByNameRow{nullptr, default_code};
    return table;
}

// A table of the end row alone: every text gives the default code.
consteval CodeByNameTable<0> MakeDefaultOnlyTable(uint32_t default_code) {
    return CodeByNameTable<0>{CodeByNameRow{nullptr, default_code}};
}

// The code of the first row whose name equals text exactly (byte by byte,
// case-sensitive), or the end row's code; 0xFFFFFFFF for a null text or
// table.  rows points at the first row of a table ended by a null name.
uint32_t LookupCodeByName(const char* text, const CodeByNameRow* rows);
// The same look-up of a text that is not zero-terminated.
uint32_t LookupCodeByName(std::string_view text, const CodeByNameRow* rows);

template <size_t Rows>
uint32_t LookupCodeByName(const char* text, const std::array<CodeByNameRow, Rows>& table) {
    return LookupCodeByName(text, table.data());
}

template <size_t Rows>
uint32_t LookupCodeByName(std::string_view text, const std::array<CodeByNameRow, Rows>& table) {
    return LookupCodeByName(text, table.data());
}

// A table whose names are found by a perfect hash (core/keyword_set.h):
// the same code as LookupCodeByName over the table gives, in one probe and
// one comparison.  For the tables read once per reply word.
constexpr unsigned kCodeByNameSlotBits = 8;

struct CodeByNameIndex {
    KeywordSetView<kCodeByNameSlotBits> names;
    const uint32_t* codes;  // by name number - 1
    uint32_t default_code;

    uint32_t Lookup(std::string_view text) const {
        const uint32_t number = names.Find(text);
        return number == 0 ? default_code : codes[number - 1];
    }
};

// The data behind a CodeByNameIndex, built at compile time from a table.
template <size_t N>
struct CodeByNameIndexData {
    KeywordSet<N, kCodeByNameSlotBits> names{};
    std::array<uint32_t, N> codes{};
    uint32_t default_code = 0;

    constexpr CodeByNameIndex View() const { return {names.View(), codes.data(), default_code}; }
};

template <size_t Rows>
consteval CodeByNameIndexData<Rows - 1> IndexCodeByName(const std::array<CodeByNameRow, Rows>& table) {
    constexpr size_t N = Rows - 1;  // the rows before the end row
    CodeByNameIndexData<N> index{};
    for (size_t i = 0; i < N; ++i) {
        const std::string_view name(table[i].name, table[i].length);
        const size_t known = index.names.count;
        const uint32_t number = index.names.Add(name);
        if (index.names.count != known) index.codes[number - 1] = table[i].code;  // the first row of a name counts
    }
    index.names.Seal();
    index.default_code = table[N].code;
    return index;
}

}  // namespace tb58
