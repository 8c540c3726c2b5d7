// Format: Pascal's format specifiers applied to a list of values.
#include "report/language/LanguageError.h"
#include "report/language/NumberFormat.h"
#include "report/language/NumberText.h"
#include "report/language/UnicodeText.h"

#include <algorithm>

namespace velkaro::report {

namespace {

constexpr int kMaximumWidth = 4096;

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
            out += specifier(i, start);
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

    std::string specifier(size_t& i, size_t start) {
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
                text = "-" + text;
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

bool containsFormatSpecifier(std::string_view pattern) {
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
