#include "report/language/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace velkaro::report {

namespace {

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

void stripTrailingZeros(DecimalDigits& number) {
    while (!number.digits.empty() && number.digits.back() == '0')
        number.digits.pop_back();
    if (number.digits.empty()) {
        number.exponent = 0;
        number.negative = false;
    }
}

// Keeps `keep` leading digits, rounding half away from zero.
void roundToDigitCount(DecimalDigits& number, long keep) {
    if (keep >= static_cast<long>(number.digits.size()))
        return;
    if (keep < 0) {
        number.digits.clear();
        stripTrailingZeros(number);
        return;
    }
    const bool roundUp = number.digits[static_cast<size_t>(keep)] >= '5';
    number.digits.resize(static_cast<size_t>(keep));
    if (roundUp) {
        size_t i = number.digits.size();
        while (i > 0 && number.digits[i - 1] == '9') {
            number.digits[i - 1] = '0';
            --i;
        }
        if (i == 0) {
            number.digits.insert(number.digits.begin(), '1');
            ++number.exponent;
        } else {
            ++number.digits[i - 1];
        }
    }
    stripTrailingZeros(number);
}

} // namespace

DecimalDigits decimalDigits(double value, int significantDigits) {
    DecimalDigits result;
    if (!std::isfinite(value) || value == 0.0)
        return result;
    if (significantDigits < 1)
        significantDigits = 1;
    if (significantDigits > 17)
        significantDigits = 17;
    result.negative = value < 0;
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                            std::chars_format::scientific, significantDigits - 1);
    if (error != std::errc())
        return DecimalDigits{};
    const std::string_view text(buffer, static_cast<size_t>(end - buffer));
    const size_t e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (c != '.')
            result.digits.push_back(c);
    }
    result.exponent = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
    stripTrailingZeros(result);
    return result;
}

void roundToDecimals(DecimalDigits& number, int decimals) {
    if (number.isZero())
        return;
    roundToDigitCount(number, static_cast<long>(number.exponent) + decimals);
}

void roundToSignificant(DecimalDigits& number, int significant) {
    roundToDigitCount(number, significant);
}

std::string generalNumberText(double value, const FormatSettings& format, int precision) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (precision < 1 || precision > 17)
        precision = 15;
    const DecimalDigits number = decimalDigits(value, precision);
    if (number.isZero())
        return "0";
    std::string out = number.negative ? "-" : "";
    const std::string& d = number.digits;
    const int e = number.exponent;
    if (e >= -4 && e <= precision) {
        if (e <= 0) {
            out += '0';
            out += format.decimalSeparator;
            out.append(static_cast<size_t>(-e), '0');
            out += d;
        } else {
            const auto integerDigits = static_cast<size_t>(e);
            if (d.size() <= integerDigits) {
                out += d;
                out.append(integerDigits - d.size(), '0');
            } else {
                out.append(d, 0, integerDigits);
                out += format.decimalSeparator;
                out.append(d, integerDigits);
            }
        }
        return out;
    }
    out += d[0];
    if (d.size() > 1) {
        out += format.decimalSeparator;
        out.append(d, 1);
    }
    out += 'E';
    out += std::to_string(e - 1);
    return out;
}

std::string currencyText(Currency value, const FormatSettings& format) {
    const bool negative = value.scaled < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(value.scaled) : static_cast<uint64_t>(value.scaled);
    std::string out = negative ? "-" : "";
    out += std::to_string(magnitude / Currency::kScale);
    uint64_t fraction = magnitude % Currency::kScale;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction + Currency::kScale).substr(1);
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        out += format.decimalSeparator;
        out += digits;
    }
    return out;
}

std::string groupThousands(std::string_view integerDigits, std::string_view separator) {
    std::string out;
    const size_t n = integerDigits.size();
    out.reserve(n + n / 3 * separator.size());
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += integerDigits[i];
    }
    return out;
}

std::optional<double> parseFloatText(std::string_view text, const FormatSettings& format) {
    text = trimBlanks(text);
    std::string plain;
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        plain += text[i++];
        ++digits;
    }
    if (i < text.size() && text[i] == format.decimalSeparator) {
        plain += '.';
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            plain += text[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        size_t exponentDigits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            plain += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int64_t> parseIntegerText(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (negative) {
        if (magnitude > kMax + 1)
            return std::nullopt;
        return static_cast<int64_t>(0 - magnitude);
    }
    if (magnitude > kMax)
        return std::nullopt;
    return static_cast<int64_t>(magnitude);
}

std::optional<Variant> parseNumberText(std::string_view text, const FormatSettings& format) {
    const std::string_view trimmed = trimBlanks(text);
    if (!trimmed.empty() && trimmed.find_first_not_of("+-0123456789") == std::string_view::npos) {
        if (const auto integer = parseIntegerText(trimmed))
            return Variant(*integer);
    }
    if (const auto real = parseFloatText(trimmed, format))
        return Variant(*real);
    return std::nullopt;
}

double currencyToDouble(Currency value) {
    return static_cast<double>(value.scaled) / Currency::kScale;
}

std::optional<Currency> currencyFromDouble(double value) {
    const double scaled = value * Currency::kScale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2233720368547758e18)
        return std::nullopt;
    return Currency{std::llround(scaled)};
}

} // namespace velkaro::report
