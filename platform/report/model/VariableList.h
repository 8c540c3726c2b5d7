#pragma once

#include "report/model/Component.h"
#include "report/model/Variant.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

struct Variable {
    std::string name;
    Variant value;
    std::vector<Attribute> otherAttributes; // what a template stored besides Name and Value
    friend bool operator==(const Variable&, const Variable&) = default;
};

// The report's variables, in order. Names are looked up ignoring the case of a to z; the first
// match wins. A category is marked by a variable whose name begins with a blank and whose value
// is Null; the variables after it, up to the next marker, belong to it.
class VariableList {
public:
    static constexpr size_t npos = size_t(-1);

    [[nodiscard]] size_t size() const { return variables_.size(); }
    [[nodiscard]] bool empty() const { return variables_.empty(); }
    [[nodiscard]] const Variable& operator[](size_t index) const { return variables_[index]; }
    [[nodiscard]] auto begin() const { return variables_.begin(); }
    [[nodiscard]] auto end() const { return variables_.end(); }

    [[nodiscard]] size_t indexOf(std::string_view name) const;
    // The value of the variable, or nullptr when there is none of that name.
    [[nodiscard]] const Variant* find(std::string_view name) const;
    [[nodiscard]] static bool isCategoryMarker(const Variable& variable);

    // Replaces the value of the variable of that name where it stands, or appends a new one.
    void set(std::string_view name, Variant value);
    // Adds a variable to a category: nothing happens when there is no marker " " + category
    // (compared ignoring a-z case). A variable of that name anywhere in the list gets the value
    // where it stands, whatever its category; otherwise the new variable goes to the end of the
    // category, that is before the next marker, or at the end of the list.
    void addToCategory(std::string_view category, std::string_view name, Variant value);
    // Appends without looking for the name (templates may hold duplicates; they are kept).
    void append(Variable variable) { variables_.push_back(std::move(variable)); }
    void remove(size_t index);
    void clear() { variables_.clear(); }

    friend bool operator==(const VariableList&, const VariableList&) = default;

private:
    std::vector<Variable> variables_;
};

// The value as a template stores it in a variable's Value attribute (report expression text).
[[nodiscard]] std::string variableValueText(const Variant& value);

} // namespace velkaro::report
