#include "report/language/NumberFormat.h"

#include "report/language/LanguageError.h"
#include "report/language/NumberText.h"
#include "report/language/UnicodeText.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velkaro::report {

namespace {

constexpr int kMaximumDecimals = 100;

// Integer and fraction digit strings of a rounded number ("" integer digits below 1).
struct SplitDigits {
    std::string integer;
    std::string fraction;
};

SplitDigits splitDigits(const DecimalDigits& number) {
    SplitDigits out;
    const std::string& d = number.digits;
    const int e = number.exponent;
    if (number.isZero())
        return out;
    if (e <= 0) {
        out.fraction.assign(static_cast<size_t>(-e), '0');
        out.fraction += d;
    } else if (static_cast<size_t>(e) >= d.size()) {
        out.integer = d;
        out.integer.append(static_cast<size_t>(e) - d.size(), '0');
    } else {
        out.integer = d.substr(0, static_cast<size_t>(e));
        out.fraction = d.substr(static_cast<size_t>(e));
    }
    return out;
}

std::string thousandSeparatorOf(const FormatSettings& format) {
    return std::string(1, format.thousandSeparator);
}

// --- FormatFloat -------------------------------------------------------------------------------

std::vector<std::string_view> splitSections(std::string_view pattern) {
    std::vector<std::string_view> sections;
    char quote = 0;
    size_t start = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';' && sections.size() < 2) {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(pattern.substr(start));
    return sections;
}

struct SectionToken {
    enum class Kind { Literal, IntegerDigit, DecimalPoint, FractionDigit, Exponent };
    Kind kind;
    std::string text; // literal text; for Exponent the sign character
    char placeholder = 0;
    int exponentDigits = 0;
};

struct Section {
    std::vector<SectionToken> tokens;
    int integerPlaceholders = 0;
    int minimumIntegerDigits = 0;
    int maximumDecimals = 0;
    int minimumDecimals = 0;
    bool thousands = false;
    bool scientific = false;
    bool hasDecimalPoint = false;
};

Section parseSection(std::string_view text) {
    Section s;
    bool afterPoint = false;
    bool afterExponent = false;
    int firstZero = -1;
    int fractionIndex = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            const size_t end = text.find(c, i + 1);
            const size_t stop = end == std::string_view::npos ? text.size() : end;
            s.tokens.push_back({SectionToken::Kind::Literal, std::string(text.substr(i + 1, stop - i - 1))});
            i = stop;
            continue;
        }
        if ((c == '0' || c == '#') && !afterExponent) {
            if (!afterPoint) {
                if (c == '0' && firstZero < 0)
                    firstZero = s.integerPlaceholders;
                s.tokens.push_back({SectionToken::Kind::IntegerDigit, {}, c});
                ++s.integerPlaceholders;
            } else {
                s.tokens.push_back({SectionToken::Kind::FractionDigit, {}, c});
                ++fractionIndex;
                if (c == '0')
                    s.minimumDecimals = fractionIndex;
                s.maximumDecimals = fractionIndex;
            }
            continue;
        }
        if (c == '.' && !afterExponent) {
            if (!afterPoint) {
                afterPoint = true;
                s.hasDecimalPoint = true;
                s.tokens.push_back({SectionToken::Kind::DecimalPoint, {}});
            }
            continue;
        }
        if (c == ',' && !afterExponent) {
            if (!afterPoint)
                s.thousands = true;
            continue;
        }
        if ((c == 'E' || c == 'e') && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-') &&
            !afterExponent) {
            SectionToken token{SectionToken::Kind::Exponent, std::string(1, text[i + 1])};
            token.placeholder = c;
            size_t j = i + 2;
            while (j < text.size() && text[j] == '0' && token.exponentDigits < 4) {
                ++token.exponentDigits;
                ++j;
            }
            s.tokens.push_back(token);
            s.scientific = true;
            afterExponent = true;
            i = j - 1;
            continue;
        }
        if (!s.tokens.empty() && s.tokens.back().kind == SectionToken::Kind::Literal)
            s.tokens.back().text += c;
        else
            s.tokens.push_back({SectionToken::Kind::Literal, std::string(1, c)});
    }
    s.minimumIntegerDigits = firstZero < 0 ? 0 : s.integerPlaceholders - firstZero;
    return s;
}

// Writes a number (already rounded, sign handled by the caller) through a section's tokens.
std::string renderSection(const Section& s, const SplitDigits& parts, int exponent,
                          const FormatSettings& format) {
    std::string integer = parts.integer;
    if (static_cast<int>(integer.size()) < s.minimumIntegerDigits)
        integer.insert(0, static_cast<size_t>(s.minimumIntegerDigits - static_cast<int>(integer.size())),
                       '0');
    std::string fraction = parts.fraction.substr(0, static_cast<size_t>(s.maximumDecimals));
    while (static_cast<int>(fraction.size()) > s.minimumDecimals && !fraction.empty() &&
           fraction.back() == '0')
        fraction.pop_back();
    if (static_cast<int>(fraction.size()) < s.minimumDecimals)
        fraction.append(static_cast<size_t>(s.minimumDecimals - static_cast<int>(fraction.size())), '0');

    const int digitCount = static_cast<int>(integer.size());
    const std::string separator = thousandSeparatorOf(format);
    std::string out;
    auto emitDigit = [&](int position) { // position from the right, 0 = units
        out += integer[static_cast<size_t>(digitCount - 1 - position)];
        if (s.thousands && !s.scientific && position > 0 && position % 3 == 0)
            out += separator;
    };
    auto emitAllIntegerDigits = [&]() {
        for (int position = digitCount - 1; position >= 0; --position)
            emitDigit(position);
    };
    int placeholderIndex = 0;
    size_t fractionIndex = 0;
    bool integerWritten = s.integerPlaceholders > 0;
    for (const SectionToken& token : s.tokens) {
        switch (token.kind) {
        case SectionToken::Kind::Literal:
            out += token.text;
            break;
        case SectionToken::Kind::IntegerDigit: {
            const int position = s.integerPlaceholders - 1 - placeholderIndex;
            if (placeholderIndex == 0) {
                for (int p = digitCount - 1; p >= position && p >= 0; --p)
                    emitDigit(p);
            } else if (position < digitCount) {
                emitDigit(position);
            }
            ++placeholderIndex;
            break;
        }
        case SectionToken::Kind::DecimalPoint:
            if (!integerWritten) {
                emitAllIntegerDigits();
                integerWritten = true;
            }
            if (!fraction.empty())
                out += format.decimalSeparator;
            break;
        case SectionToken::Kind::FractionDigit:
            if (fractionIndex < fraction.size())
                out += fraction[fractionIndex];
            ++fractionIndex;
            break;
        case SectionToken::Kind::Exponent: {
            if (!integerWritten) {
                emitAllIntegerDigits();
                integerWritten = true;
            }
            out += token.placeholder;
            if (exponent < 0)
                out += '-';
            else if (token.text == "+")
                out += '+';
            std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
            if (static_cast<int>(digits.size()) < token.exponentDigits)
                digits.insert(0, static_cast<size_t>(token.exponentDigits - static_cast<int>(digits.size())),
                              '0');
            out += digits;
            break;
        }
        }
    }
    if (!integerWritten)
        emitAllIntegerDigits();
    return out;
}

// Rounds for a section; returns the parts and the exponent (scientific sections).
SplitDigits roundForSection(const Section& s, double magnitude, int& exponent) {
    DecimalDigits number = decimalDigits(magnitude);
    exponent = 0;
    if (s.scientific) {
        const int integerDigits = std::max(s.integerPlaceholders, 1);
        if (!number.isZero()) {
            roundToSignificant(number, integerDigits + s.maximumDecimals);
            exponent = number.exponent - integerDigits;
            number.exponent = integerDigits;
        }
    } else {
        roundToDecimals(number, s.maximumDecimals);
    }
    return splitDigits(number);
}

} // namespace

std::string formatFloat(std::string_view pattern, double value, const FormatSettings& format) {
    if (pattern.empty() || !std::isfinite(value))
        return generalNumberText(value, format);
    const std::vector<std::string_view> sections = splitSections(pattern);
    size_t chosen = 0;
    if (value < 0 && sections.size() >= 2 && !sections[1].empty())
        chosen = 1;
    else if (value == 0 && sections.size() >= 3 && !sections[2].empty())
        chosen = 2;
    Section section = parseSection(sections[chosen]);
    int exponent = 0;
    SplitDigits parts = roundForSection(section, std::fabs(value), exponent);
    const bool roundedToZero =
        parts.integer.empty() && parts.fraction.find_first_not_of('0') == std::string::npos;
    if (roundedToZero && value != 0 && sections.size() >= 3 && !sections[2].empty()) {
        section = parseSection(sections[2]);
        parts = roundForSection(section, 0.0, exponent);
        return renderSection(section, parts, exponent, format);
    }
    std::string out = renderSection(section, parts, exponent, format);
    if (value < 0 && chosen == 0 && !roundedToZero)
        out = "-" + out;
    return out;
}

std::string fixedNumberText(double value, int decimals, ThousandsGrouping grouping,
                            const FormatSettings& format) {
    if (!std::isfinite(value))
        return generalNumberText(value, format);
    decimals = std::clamp(decimals, 0, kMaximumDecimals);
    DecimalDigits number = decimalDigits(value);
    roundToDecimals(number, decimals);
    const SplitDigits parts = splitDigits(number);
    std::string integer = parts.integer.empty() ? "0" : parts.integer;
    if (grouping == ThousandsGrouping::Grouped)
        integer = groupThousands(integer, thousandSeparatorOf(format));
    std::string out = number.negative ? "-" : "";
    out += integer;
    if (decimals > 0) {
        std::string fraction = parts.fraction;
        fraction.resize(static_cast<size_t>(decimals), '0');
        out += format.decimalSeparator;
        out += fraction;
    }
    return out;
}

std::string currencyAmountText(double value, int decimals, const FormatSettings& format) {
    std::string amount = fixedNumberText(std::fabs(value), decimals, ThousandsGrouping::Grouped, format);
    const std::string& symbol = format.currencyString;
    // Negative only when something is left after rounding: -0.001 is "$0.00".
    const bool negative = fixedNumberText(value, decimals, ThousandsGrouping::None, format)[0] == '-';
    if (!negative) {
        switch (format.currencyFormat) {
        case 1:
            return amount + symbol;
        case 2:
            return symbol + " " + amount;
        case 3:
            return amount + " " + symbol;
        default:
            return symbol + amount;
        }
    }
    switch (format.negativeCurrencyFormat) {
    case 0:
        return "(" + symbol + amount + ")";
    case 2:
        return symbol + "-" + amount;
    case 3:
        return symbol + amount + "-";
    case 4:
        return "(" + amount + symbol + ")";
    case 5:
        return "-" + amount + symbol;
    case 6:
        return amount + "-" + symbol;
    case 7:
        return amount + symbol + "-";
    case 8:
        return "-" + amount + " " + symbol;
    case 9:
        return "-" + symbol + " " + amount;
    case 10:
        return amount + " " + symbol + "-";
    case 11:
        return symbol + " " + amount + "-";
    case 12:
        return symbol + " -" + amount;
    case 13:
        return amount + "- " + symbol;
    case 14:
        return "(" + symbol + " " + amount + ")";
    case 15:
        return "(" + amount + " " + symbol + ")";
    default:
        return "-" + symbol + amount;
    }
}

} // namespace velkaro::report
