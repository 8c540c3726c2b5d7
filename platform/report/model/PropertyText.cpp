#include "report/model/PropertyText.h"

#include "base/AsciiCase.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace velkaro::report {

namespace {

struct NamedColor {
    std::string_view name;
    int32_t value;
};

// The colour constants of the form library, as templates may spell them.
constexpr std::array<NamedColor, 53> kNamedColors{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", int32_t(0xFF000000)},
    {"clBackground", int32_t(0xFF000001)},
    {"clActiveCaption", int32_t(0xFF000002)},
    {"clInactiveCaption", int32_t(0xFF000003)},
    {"clMenu", int32_t(0xFF000004)},
    {"clWindow", int32_t(0xFF000005)},
    {"clWindowFrame", int32_t(0xFF000006)},
    {"clMenuText", int32_t(0xFF000007)},
    {"clWindowText", int32_t(0xFF000008)},
    {"clCaptionText", int32_t(0xFF000009)},
    {"clActiveBorder", int32_t(0xFF00000A)},
    {"clInactiveBorder", int32_t(0xFF00000B)},
    {"clAppWorkSpace", int32_t(0xFF00000C)},
    {"clHighlight", int32_t(0xFF00000D)},
    {"clHighlightText", int32_t(0xFF00000E)},
    {"clBtnFace", int32_t(0xFF00000F)},
    {"clBtnShadow", int32_t(0xFF000010)},
    {"clGrayText", int32_t(0xFF000011)},
    {"clBtnText", int32_t(0xFF000012)},
    {"clInactiveCaptionText", int32_t(0xFF000013)},
    {"clBtnHighlight", int32_t(0xFF000014)},
    {"cl3DDkShadow", int32_t(0xFF000015)},
    {"cl3DLight", int32_t(0xFF000016)},
    {"clInfoText", int32_t(0xFF000017)},
    {"clInfoBk", int32_t(0xFF000018)},
    {"clHotLight", int32_t(0xFF00001A)},
    {"clGradientActiveCaption", int32_t(0xFF00001B)},
    {"clGradientInactiveCaption", int32_t(0xFF00001C)},
    {"clMenuHighlight", int32_t(0xFF00001D)},
}};

} // namespace

std::optional<double> parseNumber(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty() || text.size() > 64)
        return std::nullopt;
    std::array<char, 64> buffer{};
    size_t length = 0;
    for (char c : text) {
        buffer[length++] = (c == ',') ? '.' : c;
    }
    const char* begin = buffer.data();
    const char* end = buffer.data() + length;
    if (*begin == '+')
        ++begin;
    if (begin == end || *begin == '+')
        return std::nullopt;
    // from_chars also takes "inf" and "nan"; property values never mean those.
    for (const char* p = begin; p != end; ++p) {
        const char c = *p;
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return std::nullopt;
    }
    double value = 0;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int64_t> parseInteger(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty())
        return std::nullopt;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    uint64_t magnitude = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    if (base == 16 && !negative) {
        // "$FFFFFFFF" is how 32-bit values are written in hexadecimal: keep the bit pattern.
        if (magnitude <= 0xFFFFFFFFull && text.size() <= 8)
            return int64_t(int32_t(uint32_t(magnitude)));
        return int64_t(magnitude);
    }
    if (negative) {
        if (magnitude > uint64_t(std::numeric_limits<int64_t>::max()) + 1)
            return std::nullopt;
        return magnitude == uint64_t(std::numeric_limits<int64_t>::max()) + 1
                   ? std::numeric_limits<int64_t>::min()
                   : -int64_t(magnitude);
    }
    if (magnitude > uint64_t(std::numeric_limits<int64_t>::max()))
        return std::nullopt;
    return int64_t(magnitude);
}

std::optional<bool> parseBoolean(std::string_view text) {
    text = trimBlanks(text);
    if (equalsIgnoreAsciiCase(text, "True"))
        return true;
    if (equalsIgnoreAsciiCase(text, "False"))
        return false;
    return std::nullopt;
}

std::optional<int32_t> parseColor(std::string_view text) {
    text = trimBlanks(text);
    if (text.size() > 2 && (text[0] == 'c' || text[0] == 'C') && (text[1] == 'l' || text[1] == 'L')) {
        for (const NamedColor& named : kNamedColors) {
            if (equalsIgnoreAsciiCase(named.name, text))
                return named.value;
        }
        return std::nullopt;
    }
    const auto integer = parseInteger(text);
    if (!integer)
        return std::nullopt;
    // TColor is 32 bits; unsigned spellings of negative colours wrap as they do in the file format.
    if (*integer < std::numeric_limits<int32_t>::min() || *integer > int64_t(0xFFFFFFFF))
        return std::nullopt;
    return int32_t(uint32_t(uint64_t(*integer)));
}

std::string formatNumber(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string formatBoolean(bool value) {
    return value ? "True" : "False";
}

} // namespace velkaro::report
