#include "report/language/ValueSupport.h"
#include "report/language/Values.h"

#include "base/AsciiCase.h"
#include "report/language/DateTimeText.h"
#include "report/language/LanguageError.h"
#include "report/language/NumberText.h"
#include "report/language/UnicodeText.h"

#include <cmath>
#include <limits>

namespace velkaro::report {

namespace {

using Type = Variant::Type;
using namespace detail;

template <typename T> Ordering orderOf(const T& x, const T& y) {
    if (x < y)
        return Ordering::Less;
    if (y < x)
        return Ordering::Greater;
    return Ordering::Equal;
}

Ordering compareNumbers(const Variant& a, const Variant& b) {
    const Type ta = a.type();
    const Type tb = b.type();
    if (ta == Type::Integer && tb == Type::Integer)
        return orderOf(a.asInteger(), b.asInteger());
    const bool exactA = ta == Type::Integer || ta == Type::Currency;
    const bool exactB = tb == Type::Integer || tb == Type::Currency;
    if (exactA && exactB) {
        const __int128 x = ta == Type::Currency ? __int128(a.asCurrency().scaled)
                                                : __int128(a.asInteger()) * Currency::kScale;
        const __int128 y = tb == Type::Currency ? __int128(b.asCurrency().scaled)
                                                : __int128(b.asInteger()) * Currency::kScale;
        return orderOf(x, y);
    }
    return orderOf(asDouble(a), asDouble(b));
}

bool isNumberKind(Type t) {
    return t == Type::Integer || t == Type::Float || t == Type::Currency || t == Type::DateTime;
}

Ordering compareTexts(const std::string& x, const std::string& y) {
    return orderOf(x, y);
}

Ordering compareStringWith(const std::string& text, const Variant& other, const ValueRules& rules,
                           bool textIsLeft) {
    auto oriented = [textIsLeft](Ordering o) {
        if (textIsLeft || o == Ordering::Equal || o == Ordering::Unordered)
            return o;
        return o == Ordering::Less ? Ordering::Greater : Ordering::Less;
    };
    switch (other.type()) {
    case Type::Boolean:
        if (const auto word = booleanWord(text))
            return oriented(orderOf(*word, other.asBoolean()));
        break;
    case Type::DateTime:
        if (const auto serial = parseDateTimeText(text, rules.settings()))
            return oriented(orderOf(*serial, other.asDateTime().serial));
        [[fallthrough]];
    case Type::Integer:
    case Type::Float:
    case Type::Currency:
        if (const auto number = parseNumberText(text, rules.settings()))
            return oriented(compareNumbers(*number, other));
        break;
    default:
        break;
    }
    return oriented(compareTexts(text, valueToText(other, rules.settings())));
}

Variant emptyLike(const Variant& other) {
    switch (other.type()) {
    case Type::String:
        return Variant(std::string());
    case Type::Boolean:
        return Variant(false);
    case Type::DateTime:
        return Variant(DateTime{0.0});
    default:
        return Variant(int64_t(0));
    }
}

} // namespace

Ordering compareValues(const Variant& a, const Variant& b, const ValueRules& rules) {
    if (a.isNull() || b.isNull()) {
        if (a.isNull() && b.isNull())
            return Ordering::Equal;
        if (rules.options.nulls == NullConversion::KeepNull)
            return Ordering::Unordered;
        return a.isNull() ? compareValues(emptyLike(b), b, rules) : compareValues(a, emptyLike(a), rules);
    }
    const Type ta = a.type();
    const Type tb = b.type();
    if (ta == Type::String && tb == Type::String)
        return compareTexts(a.asString(), b.asString());
    if (ta == Type::String)
        return compareStringWith(a.asString(), b, rules, true);
    if (tb == Type::String)
        return compareStringWith(b.asString(), a, rules, false);
    if (ta == Type::Boolean || tb == Type::Boolean) {
        const bool x = ta == Type::Boolean ? a.asBoolean() : asDouble(a) != 0.0;
        const bool y = tb == Type::Boolean ? b.asBoolean() : asDouble(b) != 0.0;
        return orderOf(x, y);
    }
    if (isNumberKind(ta) && isNumberKind(tb))
        return compareNumbers(a, b);
    return Ordering::Unordered;
}

} // namespace velkaro::report
