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
constexpr int kMaximumWidth = 4096;

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
        out.insert(0, "-");
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

// --- Format ------------------------------------------------------------------------------------

namespace {

std::string scientificText(double value, int precision, const FormatSettings& format) {
    precision = std::clamp(precision, 1, 17);
    DecimalDigits number = decimalDigits(value, precision);
    std::string out = number.negative ? "-" : "";
    std::string digits = number.digits;
    int exponent = number.isZero() ? 0 : number.exponent - 1;
    digits.resize(static_cast<size_t>(precision), '0');
    out += digits[0];
    if (precision > 1) {
        out += format.decimalSeparator;
        out.append(digits, 1);
    }
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
    if (e.size() < 3)
        e.insert(0, 3 - e.size(), '0');
    return out + e;
}

class FormatReader {
public:
    FormatReader(std::string_view pattern, std::span<const Variant> arguments, const ValueRules& rules)
        : pattern_(pattern), arguments_(arguments), rules_(rules) {}

    std::string run() {
        std::string out;
        size_t i = 0;
        while (i < pattern_.size()) {
            const char c = pattern_[i];
            if (c != '%') {
                out += c;
                ++i;
                continue;
            }
            if (i + 1 < pattern_.size() && pattern_[i + 1] == '%') {
                out += '%';
                i += 2;
                continue;
            }
            const size_t start = i;
            ++i;
            out += specification(i, start);
        }
        return out;
    }

private:
    [[noreturn]] void invalid(size_t start) const {
        throw EvaluationError("Formato no válido: '" + std::string(pattern_.substr(start)) + "'");
    }

    const Variant& nextArgument(size_t start) {
        if (next_ >= arguments_.size())
            throw EvaluationError("Faltan valores para el formato '" + std::string(pattern_) + "'");
        (void)start;
        return arguments_[next_++];
    }

    // A number or "*"; -1 when none is there.
    int readCount(size_t& i, size_t start) {
        if (i < pattern_.size() && pattern_[i] == '*') {
            ++i;
            const int64_t value = valueToInteger(nextArgument(start), rules_);
            return static_cast<int>(std::clamp<int64_t>(value, 0, kMaximumWidth));
        }
        if (i >= pattern_.size() || pattern_[i] < '0' || pattern_[i] > '9')
            return -1;
        int64_t value = 0;
        while (i < pattern_.size() && pattern_[i] >= '0' && pattern_[i] <= '9') {
            value = std::min<int64_t>(value * 10 + (pattern_[i] - '0'), kMaximumWidth);
            ++i;
        }
        return static_cast<int>(value);
    }

    std::string specification(size_t& i, size_t start) {
        // Optional argument index "n:".
        size_t probe = i;
        while (probe < pattern_.size() && pattern_[probe] >= '0' && pattern_[probe] <= '9')
            ++probe;
        if (probe > i && probe < pattern_.size() && pattern_[probe] == ':') {
            next_ = static_cast<size_t>(
                std::stoul(std::string(pattern_.substr(i, std::min<size_t>(probe - i, 9)))));
            i = probe + 1;
        }
        bool leftAligned = false;
        if (i < pattern_.size() && pattern_[i] == '-') {
            leftAligned = true;
            ++i;
        }
        const int width = readCount(i, start);
        int precision = -1;
        if (i < pattern_.size() && (pattern_[i] == '.' || pattern_[i] == ',')) {
            ++i;
            precision = readCount(i, start);
            if (precision < 0)
                precision = 0;
        }
        if (i >= pattern_.size())
            invalid(start);
        const char type = static_cast<char>(pattern_[i] | 0x20);
        ++i;
        const Variant& argument = nextArgument(start);
        const FormatSettings& format = rules_.settings();
        std::string text;
        switch (type) {
        case 'd':
        case 'u': {
            int64_t value = valueToInteger(argument, rules_);
            if (type == 'u' && value < 0)
                text = std::to_string(static_cast<uint64_t>(value));
            else
                text = std::to_string(value < 0 ? 0 - static_cast<uint64_t>(value)
                                                : static_cast<uint64_t>(value));
            if (precision > 0 && static_cast<int>(text.size()) < precision)
                text.insert(0, static_cast<size_t>(precision - static_cast<int>(text.size())), '0');
            if (type == 'd' && value < 0)
                text.insert(0, "-");
            break;
        }
        case 'x': {
            static constexpr char kHex[] = "0123456789ABCDEF";
            auto value = static_cast<uint64_t>(valueToInteger(argument, rules_));
            do {
                text.insert(text.begin(), kHex[value & 15]);
                value >>= 4;
            } while (value != 0);
            if (precision > 0 && static_cast<int>(text.size()) < precision)
                text.insert(0, static_cast<size_t>(precision - static_cast<int>(text.size())), '0');
            break;
        }
        case 'e':
            text = scientificText(valueToNumber(argument, rules_), precision < 0 ? 15 : precision, format);
            break;
        case 'f':
            text = fixedNumberText(valueToNumber(argument, rules_), precision < 0 ? 2 : precision,
                                   ThousandsGrouping::None, format);
            break;
        case 'n':
            text = fixedNumberText(valueToNumber(argument, rules_), precision < 0 ? 2 : precision,
                                   ThousandsGrouping::Grouped, format);
            break;
        case 'm':
            text = currencyAmountText(valueToNumber(argument, rules_),
                                      precision < 0 ? format.currencyDecimals : precision, format);
            break;
        case 'g':
            text = generalNumberText(valueToNumber(argument, rules_), format,
                                     precision <= 0 ? 15 : std::min(precision, 17));
            break;
        case 's':
            text = valueToText(argument, format);
            if (precision >= 0 && characterCount(text) > static_cast<size_t>(precision))
                text = std::string(characterRange(text, 0, static_cast<size_t>(precision)));
            break;
        default:
            invalid(start);
        }
        const size_t length = characterCount(text);
        if (width > 0 && length < static_cast<size_t>(width)) {
            const std::string padding(static_cast<size_t>(width) - length, ' ');
            text = leftAligned ? text + padding : padding + text;
        }
        return text;
    }

    std::string_view pattern_;
    std::span<const Variant> arguments_;
    const ValueRules& rules_;
    size_t next_ = 0;
};

} // namespace

std::string formatArguments(std::string_view pattern, std::span<const Variant> arguments,
                            const ValueRules& rules) {
    return FormatReader(pattern, arguments, rules).run();
}

bool containsFormatSpecification(std::string_view pattern) {
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%')
            continue;
        size_t j = i + 1;
        while (j < pattern.size() &&
               (std::string_view("0123456789.,:-*").find(pattern[j]) != std::string_view::npos))
            ++j;
        if (j < pattern.size() &&
            std::string_view("dDuUxXeEfFgGnNmMsS").find(pattern[j]) != std::string_view::npos)
            return true;
    }
    return false;
}

} // namespace velkaro::report
