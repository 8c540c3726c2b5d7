#pragma once

#include "report/language/Expression.h"
#include "report/model/Variant.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velkaro::report {

// How a parameter receives its argument: by value; by reference (Pascal "var": the argument must
// be an assignable place, which only scripts have); or as an open array ([a, b, c]).
enum class ParameterMode { Value, Reference, OpenArray };

class FunctionDefinition;

// The arguments of one call, evaluated, with conversions that follow the evaluation rules and
// fail with a message naming the function.
class FunctionArguments {
public:
    FunctionArguments(std::span<Variant> values, std::span<const Variant> arrayItems,
                      EvaluationContext& context, const FunctionDefinition& function)
        : values_(values), arrayItems_(arrayItems), context_(context), function_(function) {}

    [[nodiscard]] size_t count() const { return values_.size(); }
    [[nodiscard]] const Variant& value(size_t index) const { return values_[index]; }
    // A by-reference argument; what is stored here is written back to the caller's place.
    [[nodiscard]] Variant& reference(size_t index) { return values_[index]; }
    [[nodiscard]] std::span<const Variant> arrayItems() const { return arrayItems_; }

    [[nodiscard]] std::string text(size_t index) const;
    [[nodiscard]] int64_t integer(size_t index) const;
    [[nodiscard]] double number(size_t index) const;
    [[nodiscard]] bool boolean(size_t index) const;
    [[nodiscard]] double dateTime(size_t index) const;

    [[nodiscard]] EvaluationContext& context() const { return context_; }
    [[nodiscard]] const ValueRules& rules() const { return context_.rules(); }
    [[nodiscard]] const FormatSettings& format() const { return context_.format(); }

    // Throws EvaluationError "<Function>: <message>".
    [[noreturn]] void fail(const std::string& message) const;

private:
    std::span<Variant> values_;
    std::span<const Variant> arrayItems_;
    EvaluationContext& context_;
    const FunctionDefinition& function_;
};

using FunctionImplementation = std::function<Variant(FunctionArguments&)>;

// A function the language can call. At most one parameter is an open array.
class FunctionDefinition {
public:
    FunctionDefinition(std::string name, std::string signature, int minimumArguments, int maximumArguments,
                       FunctionImplementation implementation, std::vector<ParameterMode> modes = {})
        : name_(std::move(name)), signature_(std::move(signature)), minimumArguments_(minimumArguments),
          maximumArguments_(maximumArguments), modes_(std::move(modes)),
          implementation_(std::move(implementation)) {}

    [[nodiscard]] const std::string& name() const { return name_; }
    // Shown by the designer's function list, e.g. "Copy(S: String; Index, Count: Integer): String".
    [[nodiscard]] const std::string& signature() const { return signature_; }
    [[nodiscard]] int minimumArguments() const { return minimumArguments_; }
    [[nodiscard]] int maximumArguments() const { return maximumArguments_; }
    [[nodiscard]] ParameterMode mode(size_t index) const {
        return index < modes_.size() ? modes_[index] : ParameterMode::Value;
    }
    [[nodiscard]] Variant call(FunctionArguments& arguments) const { return implementation_(arguments); }

private:
    std::string name_;
    std::string signature_;
    int minimumArguments_;
    int maximumArguments_;
    std::vector<ParameterMode> modes_;
    FunctionImplementation implementation_;
};

// The functions and named constants expressions can use. An object owned by whoever compiles
// (no process-wide list); names are found without regard to case.
class FunctionRegistry {
public:
    // Replaces a function of the same name.
    void add(FunctionDefinition function);
    void addConstant(std::string name, Variant value);
    // A function that the application a template was written for provides (CallHbFunc...):
    // calling it is a clear compile error instead of "unknown function".
    void addHostApplicationFunction(std::string name);

    // Compiled calls keep the definition alive on their own.
    [[nodiscard]] std::shared_ptr<const FunctionDefinition> findFunction(std::string_view name) const;
    [[nodiscard]] const Variant* findConstant(std::string_view name) const;
    [[nodiscard]] bool isHostApplicationFunction(std::string_view name) const;
    // In the order added.
    [[nodiscard]] std::vector<const FunctionDefinition*> functions() const;

private:
    std::unordered_map<std::string, std::shared_ptr<const FunctionDefinition>> functions_;
    std::vector<std::string> order_;
    std::unordered_map<std::string, Variant> constants_;
    std::unordered_map<std::string, std::string> hostApplicationFunctions_;
};

// The language's built-in functions (strings, numbers, dates, conversions, formatting) and
// constants (True, False, Null, Pi, rfReplaceAll, rfIgnoreCase), plus the known functions of
// other host applications.
[[nodiscard]] FunctionRegistry standardFunctions();
void addStringFunctions(FunctionRegistry& registry);
void addNumberFunctions(FunctionRegistry& registry);
void addDateFunctions(FunctionRegistry& registry);
void addConversionFunctions(FunctionRegistry& registry);

} // namespace velkaro::report
