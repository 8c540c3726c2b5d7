#include "base/CodePage.h"

#include "base/AsciiCase.h"
#include "base/CodePageTables.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace velkaro {

namespace {

const char16_t* tableOf(CodePage page) {
    switch (page) {
    case CodePage::Windows1250:
        return codepage_tables::kCp1250;
    case CodePage::Windows1251:
        return codepage_tables::kCp1251;
    case CodePage::Windows1254:
        return codepage_tables::kCp1254;
    case CodePage::Windows1252:
        break;
    }
    return codepage_tables::kCp1252;
}

// Index of the first byte at or after pos that is not ASCII; bytes are tested eight at a time.
size_t skipAscii(std::string_view bytes, size_t pos) {
    constexpr uint64_t kHighBits = 0x8080808080808080ull;
    while (pos + 8 <= bytes.size()) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + pos, 8);
        if ((word & kHighBits) != 0)
            break;
        pos += 8;
    }
    while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80)
        ++pos;
    return pos;
}

// Index of the first byte that does not begin a valid UTF-8 sequence, or the size.
size_t validUtf8Prefix(std::string_view bytes, size_t pos) {
    while (true) {
        pos = skipAscii(bytes, pos);
        if (pos >= bytes.size())
            return bytes.size();
        const size_t n = utf8SequenceLength(bytes, pos);
        if (n == 0)
            return pos;
        pos += n;
    }
}

} // namespace

CodePage codePageForLocale(std::string_view localeName) {
    std::string language;
    for (char c : localeName) {
        if (c == '_' || c == '.' || c == '@' || c == '-')
            break;
        language += asciiLower(c);
    }
    static constexpr std::string_view cyrillic[] = {"ru", "uk", "be", "bg", "sr",
                                                    "mk", "kk", "ky", "tt", "mn"};
    static constexpr std::string_view centralEuropean[] = {"pl", "cs", "sk", "sl", "hu",
                                                           "hr", "ro", "bs", "sq"};
    for (auto l : cyrillic) {
        if (language == l)
            return CodePage::Windows1251;
    }
    if (language == "tr" || language == "az")
        return CodePage::Windows1254;
    for (auto l : centralEuropean) {
        if (language == l)
            return CodePage::Windows1250;
    }
    return CodePage::Windows1252;
}

CodePage userCodePage() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return codePageForLocale(value);
    }
    return CodePage::Windows1252;
}

size_t utf8SequenceLength(std::string_view bytes, size_t pos) {
    const auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const size_t left = bytes.size() - pos;
    const unsigned char b0 = at(pos);
    if (b0 < 0x80)
        return 1;
    const auto cont = [&](size_t i) { return (at(pos + i) & 0xC0) == 0x80; };
    if (b0 >= 0xC2 && b0 <= 0xDF)
        return (left >= 2 && cont(1)) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3 || !cont(1) || !cont(2))
            return 0;
        const unsigned char b1 = at(pos + 1);
        if (b0 == 0xE0 && b1 < 0xA0)
            return 0; // overlong
        if (b0 == 0xED && b1 >= 0xA0)
            return 0; // surrogate
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4 || !cont(1) || !cont(2) || !cont(3))
            return 0;
        const unsigned char b1 = at(pos + 1);
        if (b0 == 0xF0 && b1 < 0x90)
            return 0;
        if (b0 == 0xF4 && b1 >= 0x90)
            return 0;
        return 4;
    }
    return 0;
}

bool isValidUtf8(std::string_view bytes) {
    return validUtf8Prefix(bytes, 0) == bytes.size();
}

void appendUtf8(std::string& out, char32_t cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        cp = 0xFFFD;
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string decodeMixedText(std::string_view bytes, CodePage fallback) {
    // Fast path: most texts are plain UTF-8.
    size_t pos = validUtf8Prefix(bytes, 0);
    if (pos == bytes.size())
        return std::string(bytes);

    const char16_t* table = tableOf(fallback);
    std::string out;
    out.reserve(bytes.size() + 16);
    out.append(bytes.substr(0, pos));
    while (pos < bytes.size()) {
        const size_t valid = validUtf8Prefix(bytes, pos);
        if (valid > pos) {
            out.append(bytes.substr(pos, valid - pos));
            pos = valid;
            continue;
        }
        // Not the start of a UTF-8 sequence: one byte of the Windows code page.
        const unsigned char b = static_cast<unsigned char>(bytes[pos]);
        appendUtf8(out, table[b - 0x80]);
        ++pos;
    }
    return out;
}

} // namespace velkaro
