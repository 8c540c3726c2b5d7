#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace velkaro::report {

// Money as the report language holds it: fixed point with four decimal places.
struct Currency {
    int64_t scaled = 0; // value * 10000
    static constexpr int64_t kScale = 10000;
    friend bool operator==(Currency, Currency) = default;
};

// A point in time as a day count: days since 1899-12-30, the fraction is the time of day.
struct DateTime {
    double serial = 0.0;
    friend bool operator==(DateTime, DateTime) = default;
};

// The value type of report variables, dataset fields and expressions. Strings are UTF-8.
// Conversions and operators live with the report language; this is only the data.
class Variant {
public:
    enum class Type { Null, Boolean, Integer, Float, Currency, DateTime, String };

    Variant() = default; // Null
    Variant(bool v) : value_(v) {}
    Variant(int v) : value_(int64_t(v)) {}
    Variant(int64_t v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(Currency v) : value_(v) {}
    Variant(DateTime v) : value_(v) {}
    Variant(std::string v) : value_(std::move(v)) {}
    Variant(std::string_view v) : value_(std::string(v)) {}
    Variant(const char* v) : value_(std::string(v)) {}

    static Variant null() { return Variant(); }

    [[nodiscard]] Type type() const { return static_cast<Type>(value_.index()); }
    [[nodiscard]] bool isNull() const { return type() == Type::Null; }
    [[nodiscard]] bool isString() const { return type() == Type::String; }
    [[nodiscard]] bool isNumeric() const {
        const Type t = type();
        return t == Type::Integer || t == Type::Float || t == Type::Currency;
    }

    // Unchecked accessors: call only for the matching type().
    [[nodiscard]] bool asBoolean() const { return std::get<bool>(value_); }
    [[nodiscard]] int64_t asInteger() const { return std::get<int64_t>(value_); }
    [[nodiscard]] double asFloat() const { return std::get<double>(value_); }
    [[nodiscard]] Currency asCurrency() const { return std::get<Currency>(value_); }
    [[nodiscard]] DateTime asDateTime() const { return std::get<DateTime>(value_); }
    [[nodiscard]] const std::string& asString() const { return std::get<std::string>(value_); }
    [[nodiscard]] std::string& asString() { return std::get<std::string>(value_); }

    // Same type and same value (no conversion).
    friend bool operator==(const Variant&, const Variant&) = default;

private:
    std::variant<std::monostate, bool, int64_t, double, Currency, DateTime, std::string> value_;
};

} // namespace velkaro::report
