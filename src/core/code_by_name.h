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
#include <cstddef>
#include <cstdint>
#include <string_view>

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

}  // namespace tb58
