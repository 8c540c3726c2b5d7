#pragma once

#include "report/model/Variant.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velkaro::report {

class EvaluationContext;
class ExpressionNode;

// Handles the host hands out when a name is bound at compile time and resolves per row. Their
// meaning is the host's; the language only carries them.
struct FieldHandle {
    uint64_t id = 0;
};
struct NameHandle {
    uint64_t id = 0;
};
struct AggregateHandle {
    uint64_t id = 0;
};

enum class AggregateFunction { Sum, Count, Average, Minimum, Maximum };

// Flags of an aggregate's third argument.
inline constexpr int kAggregateCountsInvisibleBands = 1;
inline constexpr int kAggregateRunningTotal = 2;

// SUM(<x>, MasterData1, 2) as the compiler found it. The host (the engine) evaluates `argument`
// for each row of the band and answers aggregateValue() with the running result.
struct AggregateDefinition {
    AggregateFunction function = AggregateFunction::Sum;
    std::shared_ptr<const ExpressionNode> argument; // null for COUNT
    std::string argumentText;
    std::string bandName; // empty: the band the expression is printed in
    int flags = 0;
};

// What an expression can name, supplied by whoever evaluates it (the engine, a tool, a test).
// Binding happens once, when a text is compiled; the handles are resolved per row, so no text is
// parsed while a report runs. A bind function answering nullopt means "not mine": the compiler
// goes on with the next kind of name and finally reports an unknown name. The value callbacks
// report failures as velkaro::Error, which the text being printed turns into a diagnostic.
class ExpressionHost {
public:
    virtual ~ExpressionHost() = default;

    // <Dataset."Field"> and Dataset."Field".
    virtual std::optional<FieldHandle> bindField(std::string_view dataset, std::string_view field) = 0;
    // A declared name: a report variable, an object or "Object.Property". Asked before system
    // variables, constants and functions.
    virtual std::optional<NameHandle> bindName(std::string_view name) = 0;
    // Last chance for a name nothing else knows (a variable a script creates while the report
    // runs, for instance). The default refuses.
    virtual std::optional<NameHandle> bindUndeclaredName(std::string_view name);
    // SUM/COUNT/AVG/MIN/MAX. nullopt when the band does not exist (or aggregates are not
    // available here). The default refuses.
    virtual std::optional<AggregateHandle> bindAggregate(const AggregateDefinition& definition);

    virtual Variant fieldValue(FieldHandle field) = 0;
    // The context lets a variable whose value is an expression evaluate it.
    virtual Variant nameValue(NameHandle name, EvaluationContext& context) = 0;
    virtual Variant aggregateValue(AggregateHandle aggregate);
};

// The report's system variables. Page and Page# differ once pages are renumbered (Page# is the
// printed number); Line# is the row number of the band being printed, Line the line within the
// current group; Value is the value of the object being formatted or highlighted.
enum class SystemVariable {
    Date,
    Time,
    Page,
    PageNumber,
    TotalPages,
    TotalPagesNumber,
    Line,
    LineNumber,
    CopyName,
    Value,
};

// Spelling without regard to case: "Page#" and "PAGE#" are the same.
[[nodiscard]] std::optional<SystemVariable> findSystemVariable(std::string_view name);
[[nodiscard]] std::string_view systemVariableName(SystemVariable variable);

// Where system variables come from while a report runs (the engine's page state).
class SystemVariableSource {
public:
    virtual ~SystemVariableSource() = default;
    virtual Variant systemVariable(SystemVariable variable) = 0;
};

// A source for evaluation outside a running report: Date and Time from the clock, page and
// line numbers 1, TotalPages 0 until set, Value Null until set.
class FixedSystemVariables : public SystemVariableSource {
public:
    Variant systemVariable(SystemVariable variable) override;

    // Fixes Date and Time (a day serial) instead of reading the clock.
    void setNow(double serial) { now_ = serial; }
    void setPage(int64_t page) { page_ = page; }
    void setTotalPages(int64_t total) { totalPages_ = total; }
    void setLine(int64_t line) { line_ = line; }
    void setValue(Variant value) { value_ = std::move(value); }
    void setCopyName(std::string name) { copyName_ = std::move(name); }

private:
    std::optional<double> now_;
    int64_t page_ = 1;
    int64_t totalPages_ = 0;
    int64_t line_ = 1;
    Variant value_;
    std::string copyName_;
};

// A host that binds nothing: texts that name only literals, system variables and functions.
class EmptyHost : public ExpressionHost {
public:
    std::optional<FieldHandle> bindField(std::string_view, std::string_view) override { return std::nullopt; }
    std::optional<NameHandle> bindName(std::string_view) override { return std::nullopt; }
    Variant fieldValue(FieldHandle) override { return Variant(); }
    Variant nameValue(NameHandle, EvaluationContext&) override { return Variant(); }
};

} // namespace velkaro::report
