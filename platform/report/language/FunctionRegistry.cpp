#include "report/language/FunctionRegistry.h"

#include "base/AsciiCase.h"
#include "report/language/LanguageError.h"

namespace velkaro::report {

namespace {

template <typename T>
T withFunctionName(const FunctionDefinition& function, T (*convert)(const Variant&, const ValueRules&),
                   const Variant& value, const ValueRules& rules) {
    try {
        return convert(value, rules);
    } catch (const EvaluationError& error) {
        throw EvaluationError(function.name() + ": " + error.what());
    }
}

} // namespace

std::string FunctionArguments::text(size_t index) const {
    return valueToText(values_[index], format());
}

int64_t FunctionArguments::integer(size_t index) const {
    return withFunctionName(function_, valueToInteger, values_[index], rules());
}

double FunctionArguments::number(size_t index) const {
    return withFunctionName(function_, valueToNumber, values_[index], rules());
}

bool FunctionArguments::boolean(size_t index) const {
    return withFunctionName(function_, valueToBoolean, values_[index], rules());
}

double FunctionArguments::dateTime(size_t index) const {
    return withFunctionName(function_, valueToDateTime, values_[index], rules());
}

void FunctionArguments::fail(const std::string& message) const {
    throw EvaluationError(function_.name() + ": " + message);
}

void FunctionRegistry::add(FunctionDefinition function) {
    std::string key = toAsciiUpper(function.name());
    if (!functions_.count(key))
        order_.push_back(key);
    functions_[key] = std::make_shared<const FunctionDefinition>(std::move(function));
}

void FunctionRegistry::addConstant(std::string name, Variant value) {
    constants_[toAsciiUpper(name)] = std::move(value);
}

void FunctionRegistry::addHostApplicationFunction(std::string name) {
    std::string key = toAsciiUpper(name);
    hostApplicationFunctions_[key] = std::move(name);
}

std::shared_ptr<const FunctionDefinition> FunctionRegistry::findFunction(std::string_view name) const {
    const auto it = functions_.find(toAsciiUpper(name));
    return it == functions_.end() ? nullptr : it->second;
}

const Variant* FunctionRegistry::findConstant(std::string_view name) const {
    const auto it = constants_.find(toAsciiUpper(name));
    return it == constants_.end() ? nullptr : &it->second;
}

bool FunctionRegistry::isHostApplicationFunction(std::string_view name) const {
    return hostApplicationFunctions_.count(toAsciiUpper(name)) != 0;
}

std::vector<const FunctionDefinition*> FunctionRegistry::functions() const {
    std::vector<const FunctionDefinition*> list;
    list.reserve(order_.size());
    for (const std::string& key : order_)
        list.push_back(functions_.at(key).get());
    return list;
}

FunctionRegistry standardFunctions() {
    FunctionRegistry registry;
    addStringFunctions(registry);
    addNumberFunctions(registry);
    addDateFunctions(registry);
    addConversionFunctions(registry);
    registry.addConstant("True", Variant(true));
    registry.addConstant("False", Variant(false));
    registry.addConstant("Null", Variant());
    registry.addConstant("Unassigned", Variant());
    registry.addConstant("rfReplaceAll", Variant(int64_t(1)));
    registry.addConstant("rfIgnoreCase", Variant(int64_t(2)));
    // Functions that other report host applications add to their reports.
    registry.addHostApplicationFunction("CallHbFunc");
    return registry;
}

} // namespace velkaro::report
