#include "report/model/VariableList.h"

#include "base/AsciiCase.h"
#include "report/model/PropertyText.h"

namespace velkaro::report {

size_t VariableList::indexOf(std::string_view name) const {
    for (size_t i = 0; i < variables_.size(); ++i) {
        if (equalsIgnoreAsciiCase(variables_[i].name, name))
            return i;
    }
    return npos;
}

const Variant* VariableList::find(std::string_view name) const {
    const size_t index = indexOf(name);
    return index == npos ? nullptr : &variables_[index].value;
}

bool VariableList::isCategoryMarker(const Variable& variable) {
    return !variable.name.empty() && variable.name.front() == ' ' && variable.value.isNull();
}

void VariableList::set(std::string_view name, Variant value) {
    const size_t index = indexOf(name);
    if (index == npos)
        variables_.push_back({std::string(name), std::move(value), {}});
    else
        variables_[index].value = std::move(value);
}

void VariableList::addToCategory(std::string_view category, std::string_view name, Variant value) {
    const size_t marker = indexOf(" " + std::string(category));
    if (marker == npos)
        return;
    if (const size_t existing = indexOf(name); existing != npos) {
        variables_[existing].value = std::move(value);
        return;
    }
    size_t insertAt = marker + 1;
    while (insertAt < variables_.size() && !isCategoryMarker(variables_[insertAt]))
        ++insertAt;
    variables_.insert(variables_.begin() + std::ptrdiff_t(insertAt),
                      Variable{std::string(name), std::move(value), {}});
}

void VariableList::remove(size_t index) {
    if (index < variables_.size())
        variables_.erase(variables_.begin() + std::ptrdiff_t(index));
}

std::string variableValueText(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Null:
        return {};
    case Variant::Type::Boolean:
        return formatBoolean(value.asBoolean());
    case Variant::Type::Integer:
        return std::to_string(value.asInteger());
    case Variant::Type::Float:
        return formatNumber(value.asFloat());
    case Variant::Type::Currency: {
        const int64_t scaled = value.asCurrency().scaled;
        const uint64_t magnitude = scaled < 0 ? uint64_t(0) - uint64_t(scaled) : uint64_t(scaled);
        std::string text = (scaled < 0 ? "-" : "") + std::to_string(magnitude / 10000);
        const auto fraction = unsigned(magnitude % 10000);
        if (fraction != 0) {
            std::string digits = std::to_string(10000 + fraction).substr(1);
            while (digits.back() == '0')
                digits.pop_back();
            text += '.' + digits;
        }
        return text;
    }
    case Variant::Type::DateTime:
        return formatNumber(value.asDateTime().serial);
    case Variant::Type::String:
        return value.asString();
    }
    return {};
}

} // namespace velkaro::report
