#include "report/language/UnicodeText.h"

#include "base/CodePage.h"

namespace velkaro::report {

size_t characterCount(std::string_view text) {
    size_t count = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t length = utf8SequenceLength(text, pos);
        pos += length == 0 ? 1 : length;
        ++count;
    }
    return count;
}

size_t byteOffsetOfCharacter(std::string_view text, size_t characterIndex) {
    size_t pos = 0;
    while (characterIndex > 0 && pos < text.size()) {
        const size_t length = utf8SequenceLength(text, pos);
        pos += length == 0 ? 1 : length;
        --characterIndex;
    }
    return pos;
}

std::string_view characterRange(std::string_view text, size_t first, size_t count) {
    const size_t begin = byteOffsetOfCharacter(text, first);
    const size_t end = begin + byteOffsetOfCharacter(text.substr(begin), count);
    return text.substr(begin, end - begin);
}

char32_t decodeCharacter(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const size_t length = utf8SequenceLength(text, pos);
    if (length <= 1) {
        ++pos;
        return lead;
    }
    char32_t c = lead & (0xFF >> (length + 1));
    for (size_t i = 1; i < length; ++i)
        c = (c << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    pos += length;
    return c;
}

namespace {

// Latin Extended-A pairs: which member of a pair is the capital.
bool evenIsCapital(char32_t c) {
    return (c >= 0x0100 && c <= 0x012F) || (c >= 0x0132 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177) ||
           (c >= 0x0460 && c <= 0x0481) || (c >= 0x048A && c <= 0x04BF) || (c >= 0x04D0 && c <= 0x04FF);
}
bool oddIsCapital(char32_t c) {
    return (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
}

template <typename Map> std::string mapText(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = pos;
        const size_t length = utf8SequenceLength(text, pos);
        if (length == 0) {
            out.push_back(text[pos]); // keep stray bytes as they are
            ++pos;
            continue;
        }
        const char32_t c = decodeCharacter(text, pos);
        const char32_t mapped = map(c);
        if (mapped == c)
            out.append(text.substr(start, pos - start));
        else
            appendUtf8(out, mapped);
    }
    return out;
}

} // namespace

char32_t upperCharacter(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    if (c == 0xFF)
        return 0x178;
    if (c == 0x131)
        return 'I';
    if (c == 0x17F)
        return 'S';
    if (evenIsCapital(c))
        return (c % 2 == 1) ? c - 1 : c;
    if (oddIsCapital(c))
        return (c % 2 == 0) ? c - 1 : c;
    if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3CB))
        return c - 32;
    if (c == 0x3C2)
        return 0x3A3;
    if (c == 0x3AC)
        return 0x386;
    if (c >= 0x3AD && c <= 0x3AF)
        return c - 37;
    if (c == 0x3CC)
        return 0x38C;
    if (c >= 0x3CD && c <= 0x3CE)
        return c - 63;
    if (c >= 0x430 && c <= 0x44F)
        return c - 32;
    if (c >= 0x450 && c <= 0x45F)
        return c - 80;
    return c;
}

char32_t lowerCharacter(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    if (c == 0x178)
        return 0xFF;
    if (c == 0x130)
        return 'i';
    if (evenIsCapital(c))
        return (c % 2 == 0) ? c + 1 : c;
    if (oddIsCapital(c))
        return (c % 2 == 1) ? c + 1 : c;
    if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB))
        return c + 32;
    if (c == 0x386)
        return 0x3AC;
    if (c >= 0x388 && c <= 0x38A)
        return c + 37;
    if (c == 0x38C)
        return 0x3CC;
    if (c >= 0x38E && c <= 0x38F)
        return c + 63;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    return c;
}

std::string upperCaseText(std::string_view text) {
    return mapText(text, upperCharacter);
}
std::string lowerCaseText(std::string_view text) {
    return mapText(text, lowerCharacter);
}

} // namespace velkaro::report
