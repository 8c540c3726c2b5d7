#include "json/WalkOrder.h"

#include "base/CodePage.h"

#include <algorithm>

namespace velkaro::json {

namespace {

constexpr std::uint32_t kHashStep = 0x9E370001u;

// The code point that starts at text[pos] and the length of its UTF-8 sequence; a byte that starts
// no valid sequence reads as U+FFFD, one byte long.
char32_t decodeAt(std::string_view text, std::size_t pos, std::size_t& length) {
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    length = utf8SequenceLength(text, pos);
    if (length == 0) {
        length = 1;
        return 0xFFFD;
    }
    char32_t codePoint = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i)
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    return codePoint;
}

// The first and, for characters above U+FFFF, second UTF-16 code unit of a code point.
struct CodeUnits {
    char16_t first;
    char16_t second; // 0 when there is none
};

CodeUnits utf16Of(char32_t codePoint) {
    if (codePoint < 0x10000)
        return {static_cast<char16_t>(codePoint), 0};
    const char32_t offset = codePoint - 0x10000;
    return {static_cast<char16_t>(0xD800 + (offset >> 10)), static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
}

} // namespace

std::uint32_t memberNameHash(std::string_view name) {
    std::uint32_t hash = 0;
    std::size_t pos = 0;
    while (pos < name.size()) {
        const unsigned char byte = static_cast<unsigned char>(name[pos]);
        if (byte < 0x80) {
            hash = hash * 129u + byte + kHashStep;
            ++pos;
            continue;
        }
        std::size_t length = 0;
        const CodeUnits units = utf16Of(decodeAt(name, pos, length));
        hash = hash * 129u + units.first + kHashStep;
        if (units.second != 0)
            hash = hash * 129u + units.second + kHashStep;
        pos += length;
    }
    return hash;
}

int compareUtf16(std::string_view a, std::string_view b) {
    const auto continuation = [](char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; };
    for (;;) {
        const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
        std::size_t pos = static_cast<std::size_t>(mismatch.first - a.begin());
        if (pos == a.size() || pos == b.size())
            return pos == a.size() ? (pos == b.size() ? 0 : -1) : 1;
        // Byte order of UTF-8 is code point order, which differs from UTF-16 order only where a
        // character above U+FFFF meets one in U+E000..U+FFFF: compare the differing characters
        // as UTF-16, from the start of the character whose first bytes both texts share.
        while (pos > 0 && (continuation(a[pos]) || continuation(b[pos])))
            --pos;
        std::size_t lengthA = 0;
        std::size_t lengthB = 0;
        const CodeUnits unitsA = utf16Of(decodeAt(a, pos, lengthA));
        const CodeUnits unitsB = utf16Of(decodeAt(b, pos, lengthB));
        if (unitsA.first != unitsB.first)
            return unitsA.first < unitsB.first ? -1 : 1;
        if (unitsA.second != unitsB.second)
            return unitsA.second < unitsB.second ? -1 : 1;
        // The same code units from different bytes (a stray byte against U+FFFD): go on after them.
        a.remove_prefix(pos + lengthA);
        b.remove_prefix(pos + lengthB);
    }
}

} // namespace velkaro::json
