#pragma once

#include <cstdint>
#include <string_view>

namespace velkaro::json {

// The order in which an object's members are walked: largest name hash first, equal hashes by
// ascending UTF-16 comparison of the names. Names are UTF-8.

// h := h * 129 + c + 0x9E370001 (mod 2^32) over the name's UTF-16 code units, from h = 0; a
// character above U+FFFF counts as its surrogate pair.
[[nodiscard]] std::uint32_t memberNameHash(std::string_view name);

// Negative, zero or positive as a sorts before, equal to or after b when both are compared code
// unit by code unit as UTF-16; a prefix sorts first.
[[nodiscard]] int compareUtf16(std::string_view a, std::string_view b);

// True when the member named a (with hash hashA) is walked before the one named b.
[[nodiscard]] inline bool walksBefore(std::uint32_t hashA, std::string_view a, std::uint32_t hashB,
                                      std::string_view b) {
    if (hashA != hashB)
        return hashA > hashB;
    return compareUtf16(a, b) < 0;
}

} // namespace velkaro::json
