#pragma once

#include "report/language/Host.h"
#include "report/language/Values.h"
#include "report/model/Variant.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

// Local variables of a script routine, as the compiler sees them: names and slot numbers.
// Expressions in report texts have none; the script layer declares them.
class LocalScope {
public:
    // The slot of a new name (names compare without regard to case; redeclaring returns the
    // existing slot).
    size_t declare(std::string_view name);
    [[nodiscard]] std::optional<size_t> find(std::string_view name) const;
    [[nodiscard]] size_t size() const { return names_.size(); }

private:
    std::vector<std::string> names_;
};

// The values of a scope's locals during one run of a routine.
class LocalFrame {
public:
    explicit LocalFrame(size_t slots) : values_(slots) {}
    [[nodiscard]] Variant& slot(size_t index) { return values_.at(index); }

private:
    std::vector<Variant> values_;
};

// Everything an evaluation reads besides the compiled tree: the host for names, the system
// variables, the conversion rules and (in scripts) the current locals.
class EvaluationContext {
public:
    EvaluationContext(ExpressionHost& host, SystemVariableSource& system, ValueRules rules = {})
        : host_(host), system_(system), rules_(rules) {}
    EvaluationContext(const EvaluationContext&) = delete;
    EvaluationContext& operator=(const EvaluationContext&) = delete;

    [[nodiscard]] ExpressionHost& host() const { return host_; }
    [[nodiscard]] SystemVariableSource& system() const { return system_; }
    [[nodiscard]] const ValueRules& rules() const { return rules_; }
    [[nodiscard]] const FormatSettings& format() const { return rules_.settings(); }
    void setRules(ValueRules rules) { rules_ = rules; }

    [[nodiscard]] LocalFrame* frame() const { return frame_; }
    void setFrame(LocalFrame* frame) { frame_ = frame; }

    // Nested evaluations (a variable naming a variable naming...) are bounded; the guard throws
    // EvaluationError past the limit instead of exhausting the stack.
    class NestingGuard {
    public:
        explicit NestingGuard(EvaluationContext& context);
        ~NestingGuard() { --context_.nesting_; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

    private:
        EvaluationContext& context_;
    };

private:
    ExpressionHost& host_;
    SystemVariableSource& system_;
    ValueRules rules_;
    LocalFrame* frame_ = nullptr;
    int nesting_ = 0;
};

// A node of a compiled expression. Trees are immutable after compiling and may be shared (an
// aggregate's argument is shared with the engine that evaluates it per row).
class ExpressionNode {
public:
    virtual ~ExpressionNode() = default;
    // Throws EvaluationError.
    [[nodiscard]] virtual Variant evaluate(EvaluationContext& context) const = 0;
    // The value of a literal, nullptr for anything else.
    [[nodiscard]] virtual const Variant* constantValue() const { return nullptr; }
    // The local slot when the node names a script local (an assignable place), else nullopt.
    [[nodiscard]] virtual std::optional<size_t> localSlot() const { return std::nullopt; }
};

// A compiled text: the tree plus the source it came from.
class CompiledExpression {
public:
    CompiledExpression(std::shared_ptr<const ExpressionNode> root, std::string text)
        : root_(std::move(root)), text_(std::move(text)) {}

    // Throws EvaluationError.
    [[nodiscard]] Variant evaluate(EvaluationContext& context) const { return root_->evaluate(context); }
    [[nodiscard]] const std::string& text() const { return text_; }
    [[nodiscard]] const std::shared_ptr<const ExpressionNode>& root() const { return root_; }
    [[nodiscard]] const Variant* constantValue() const { return root_->constantValue(); }

private:
    std::shared_ptr<const ExpressionNode> root_;
    std::string text_;
};

} // namespace velkaro::report
