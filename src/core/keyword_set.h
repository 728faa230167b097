// Keyword sets built at compile time: a text is found among the set's words
// with one hash, one table probe and one comparison, however many words
// the set holds.
//
//   constexpr std::string_view kNames[] = {"INFO", "INQUIRE"};
//   constexpr auto kWords = MakeKeywordSet<6>(kNames);  // 64 slots
//   uint32_t number = kWords.Find(text);  // 1 + the word's place, or 0
//
// The hash reads a text's length and, for texts up to 16 bytes, every byte
// (an overlapping load of the first and of the last 4 or 8 bytes), so that
// for these the hashed key alone decides; longer texts are hashed by their
// first and last 8 bytes and compared whole.  The seed that spreads the words
// over the slots without two sharing one is searched when the set is
// built; the build fails if there is none.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "core/short_text_equal.h"

namespace tb58 {

static_assert(std::endian::native == std::endian::little, "keyword hashes read bytes in little-endian order");

namespace keyword_detail {

// The bytes [at, at + n) of a text as a little-endian number (n is 4 or 8).
constexpr uint64_t Load(const char* at, size_t n) {
    if (std::is_constant_evaluated()) {
        uint64_t value = 0;
        for (size_t i = 0; i < n; ++i) value |= static_cast<uint64_t>(static_cast<unsigned char>(at[i])) << (8 * i);
        return value;
    }
    if (n == 8) {
        uint64_t value = 0;
        std::memcpy(&value, at, 8);
        return value;
    }
    uint32_t value = 0;
    std::memcpy(&value, at, 4);
    return value;
}

}  // namespace keyword_detail

// What the hash reads of a text: up to 16 bytes, these are the whole text.
struct KeywordKey {
    uint64_t head = 0;
    uint64_t tail = 0;
    uint64_t size = 0;

    constexpr bool operator==(const KeywordKey&) const = default;
};

// Texts longer than this are told apart by more than their keys.
constexpr size_t kWholeKeywordKey = 16;

constexpr KeywordKey KeywordKeyOf(std::string_view text) {
    using keyword_detail::Load;
    const size_t n = text.size();
    const char* at = text.data();
    KeywordKey key;
    key.size = n;
    if (n >= 8) {
        key.head = Load(at, 8);
        key.tail = Load(at + n - 8, 8);
    } else if (n >= 4) {
        key.head = Load(at, 4);
        key.tail = Load(at + n - 4, 4);
    } else if (n > 0) {
        const auto byte = [at](size_t i) { return static_cast<uint64_t>(static_cast<unsigned char>(at[i])); };
        key.head = byte(0) | byte(n / 2) << 8 | byte(n - 1) << 16;
    }
    return key;
}

constexpr uint64_t KeywordHash(const KeywordKey& key) {
    return (key.head * 0x9e3779b97f4a7c15ull) ^ (key.tail * 0xc2b2ae3d27d4eb4full) ^ key.size;
}

// The slot of a hash among 1 << Bits under a seed.
template <unsigned Bits>
constexpr size_t HashSlot(uint64_t hash, uint64_t seed) {
    return static_cast<size_t>(((hash ^ seed) * 0xd6e8feb86659fd93ull) >> (64 - Bits));
}

// The first seed under which no two of the hashes share a slot; 0 if none
// of the seeds tried does.
template <unsigned Bits, typename Hashes>
constexpr uint64_t FindSlotSeed(const Hashes& hashes, size_t count) {
    for (uint64_t attempt = 1; attempt < 100000; ++attempt) {
        const uint64_t seed = attempt * 0x9e3779b97f4a7c15ull;
        std::array<bool, size_t{1} << Bits> taken{};
        bool collision = false;
        for (size_t i = 0; i < count && !collision; ++i) {
            bool& slot = taken[HashSlot<Bits>(hashes[i], seed)];
            collision = slot;
            slot = true;
        }
        if (!collision) return seed;
    }
    return 0;
}

// 1 + the place of the word that equals text, or 0 when none does: a set's
// look-up over its words, their keys, its slots and seed.  A text of up to
// 16 bytes is its key, so the keys alone decide; a longer one is compared.
template <unsigned Bits>
inline uint32_t FindKeyword(std::string_view text, const std::string_view* words, const KeywordKey* keys,
                            const uint8_t* slots, uint64_t seed) {
    const KeywordKey key = KeywordKeyOf(text);
    const uint8_t slot = slots[HashSlot<Bits>(KeywordHash(key), seed)];
    if (slot == 0 || !(keys[slot - 1] == key)) return 0;
    if (key.size > kWholeKeywordKey && !ShortTextEqual(words[slot - 1], text)) return 0;
    return slot;
}

// A set as its tables, without its capacity in the type.
template <unsigned Bits>
struct KeywordSetView {
    const std::string_view* words;
    const KeywordKey* keys;
    const uint8_t* slots;
    uint64_t seed;

    uint32_t Find(std::string_view text) const { return FindKeyword<Bits>(text, words, keys, slots, seed); }
};

// Up to Capacity distinct words (fewer than 255) over 1 << Bits slots.
template <size_t Capacity, unsigned Bits>
struct KeywordSet {
    static_assert(Capacity < 255, "a slot holds a word number below 255");
    std::array<std::string_view, Capacity> words{};
    std::array<KeywordKey, Capacity> keys{};
    std::array<uint8_t, size_t{1} << Bits> slots{};  // 1 + the word's place, or 0
    uint64_t seed = 0;
    size_t count = 0;

    // 1 + the place of the word that equals text, or 0 when none does.
    uint32_t Find(std::string_view text) const {
        return FindKeyword<Bits>(text, words.data(), keys.data(), slots.data(), seed);
    }

    constexpr KeywordSetView<Bits> View() const { return {words.data(), keys.data(), slots.data(), seed}; }

    // The same, for building other tables at compile time.
    constexpr uint32_t FindConstant(std::string_view text) const {
        for (size_t i = 0; i < count; ++i) {
            if (words[i] == text) return static_cast<uint32_t>(i + 1);
        }
        return 0;
    }

    // Adds a word not in the set yet (building only); its number.
    constexpr uint32_t Add(std::string_view word) {
        if (const uint32_t known = FindConstant(word); known != 0) return known;
        if (count == Capacity) throw "more words than the keyword set holds";
        words[count++] = word;
        return static_cast<uint32_t>(count);
    }

    // Spreads the words over the slots (building only, after the last Add).
    constexpr void Seal() {
        std::array<uint64_t, Capacity> hashes{};
        for (size_t i = 0; i < count; ++i) {
            keys[i] = KeywordKeyOf(words[i]);
            hashes[i] = KeywordHash(keys[i]);
        }
        seed = FindSlotSeed<Bits>(hashes, count);
        if (seed == 0) throw "no seed spreads these words over the slots";
        slots = {};
        for (size_t i = 0; i < count; ++i) slots[HashSlot<Bits>(hashes[i], seed)] = static_cast<uint8_t>(i + 1);
    }
};

template <unsigned Bits, size_t Capacity>
consteval KeywordSet<Capacity, Bits> MakeKeywordSet(const std::string_view (&words)[Capacity]) {
    KeywordSet<Capacity, Bits> set{};
    for (const std::string_view word : words) set.Add(word);
    set.Seal();
    return set;
}

}  // namespace tb58
