#pragma once

#include "report/language/Compiler.h"
#include "report/model/Variant.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

// The report's variables as the language evaluates them. A variable whose value is a text holds
// an expression ('text' between apostrophes is a string literal, <ds."f"> a field...) that is
// compiled on first use and evaluated each time the variable is named; a text that contains a
// CR LF pair is used unchanged (without the apostrophes around it, when it has them); other
// values are used as they are. A text between apostrophes that does not compile (the value
// O'Brien put between apostrophes) gives the text between the outer apostrophes. A category
// marker (a name that starts with a blank and a Null value) stays in the list but is not a
// variable.
//
// A host keeps one of these and forwards bindName() to find() and nameValue() to evaluate().
class ReportVariables {
public:
    // Appends a variable (or marker) at the end.
    void add(std::string name, Variant value);
    // Replaces the value of the variable of that name (without regard to case), or appends one.
    // A script's Set() lands here; the new value is compiled again on its next use.
    void set(std::string_view name, Variant value);
    void clear() { entries_.clear(); }

    [[nodiscard]] std::optional<size_t> find(std::string_view name) const;
    [[nodiscard]] size_t size() const { return entries_.size(); }
    [[nodiscard]] const std::string& name(size_t index) const { return entries_.at(index).name; }
    [[nodiscard]] const Variant& storedValue(size_t index) const { return entries_.at(index).value; }

    // The variable's value now. Throws EvaluationError for an expression that does not compile
    // (naming the variable), fails, or names itself through other variables.
    [[nodiscard]] Variant evaluate(size_t index, EvaluationContext& context,
                                   const CompileEnvironment& environment);

    [[nodiscard]] static bool isCategoryMarker(std::string_view name, const Variant& value);

private:
    enum class State { NotCompiled, Compiled, Constant, Failed };
    struct Entry {
        std::string name;
        Variant value;
        State state = State::NotCompiled;
        std::optional<CompiledExpression> expression;
        Variant constant;
        std::string failure;
        bool evaluating = false;
    };

    void prepare(Entry& entry, const CompileEnvironment& environment);

    std::vector<Entry> entries_;
};

} // namespace velkaro::report
