#pragma once

#include "base/AsciiCase.h"
#include "report/language/Compiler.h"
#include "report/language/FunctionRegistry.h"
#include "report/language/Host.h"
#include "report/language/ReportVariables.h"

#include <map>
#include <string>
#include <vector>

namespace velkaro::report::testing {

// A host with named fields, report variables and recorded aggregates, for the tests.
class TestHost : public ExpressionHost {
public:
    TestHost() : environment_{*this, functions_} {}

    void setField(const std::string& dataset, const std::string& field, Variant value) {
        fields_[key(dataset, field)] = std::move(value);
    }
    ReportVariables& variables() { return variables_; }
    void addBand(std::string name) { bands_.push_back(std::move(name)); }
    void setAggregateResult(Variant value) { aggregateResult_ = std::move(value); }
    const std::vector<AggregateDefinition>& aggregates() const { return aggregates_; }
    const CompileEnvironment& environment() const { return environment_; }
    FunctionRegistry& functions() { return functions_; }
    int fieldReads() const { return fieldReads_; }

    std::optional<FieldHandle> bindField(std::string_view dataset, std::string_view field) override {
        const auto it = fieldIndex_.find(key(dataset, field));
        if (it != fieldIndex_.end())
            return FieldHandle{it->second};
        if (!fields_.count(key(dataset, field)))
            return std::nullopt;
        keys_.push_back(key(dataset, field));
        fieldIndex_[keys_.back()] = keys_.size() - 1;
        return FieldHandle{keys_.size() - 1};
    }
    std::optional<NameHandle> bindName(std::string_view name) override {
        if (const auto index = variables_.find(name))
            return NameHandle{*index};
        return std::nullopt;
    }
    std::optional<AggregateHandle> bindAggregate(const AggregateDefinition& definition) override {
        bool known = definition.bandName.empty();
        for (const std::string& band : bands_)
            known = known || equalsIgnoreAsciiCase(band, definition.bandName);
        if (!known)
            return std::nullopt;
        aggregates_.push_back(definition);
        return AggregateHandle{aggregates_.size() - 1};
    }
    Variant fieldValue(FieldHandle field) override {
        ++fieldReads_;
        return fields_.at(keys_.at(field.id));
    }
    Variant nameValue(NameHandle name, EvaluationContext& context) override {
        return variables_.evaluate(name.id, context, environment_);
    }
    Variant aggregateValue(AggregateHandle) override { return aggregateResult_; }

private:
    static std::string key(std::string_view dataset, std::string_view field) {
        return toAsciiUpper(dataset) + "." + toAsciiUpper(field);
    }

    FunctionRegistry functions_ = standardFunctions();
    CompileEnvironment environment_;
    std::map<std::string, Variant> fields_;
    std::vector<std::string> keys_;
    std::map<std::string, uint64_t> fieldIndex_;
    ReportVariables variables_;
    std::vector<std::string> bands_;
    std::vector<AggregateDefinition> aggregates_;
    Variant aggregateResult_;
    int fieldReads_ = 0;
};

// Compiles and evaluates in one go, for table tests.
class Evaluator {
public:
    Evaluator() : context_(host_, system_) { system_.setNow(45306.5); } // 2024-01-15 12:00

    TestHost& host() { return host_; }
    FixedSystemVariables& system() { return system_; }
    EvaluationContext& context() { return context_; }
    void setOptions(EvaluationOptions options) { context_.setRules(ValueRules{options, &format_}); }
    FormatSettings& format() { return format_; }
    void useFormat() { context_.setRules(ValueRules{context_.rules().options, &format_}); }

    Variant evaluate(std::string_view text) {
        return compileExpression(text, host_.environment()).evaluate(context_);
    }
    std::string text(std::string_view expression) {
        return valueToText(evaluate(expression), context_.format());
    }

private:
    TestHost host_;
    FixedSystemVariables system_;
    FormatSettings format_;
    EvaluationContext context_;
};

} // namespace velkaro::report::testing
