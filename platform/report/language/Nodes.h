#pragma once

#include "report/language/Expression.h"
#include "report/language/FunctionRegistry.h"
#include "report/language/Host.h"
#include "report/language/Values.h"

#include <memory>
#include <vector>

namespace velkaro::report {

// The node kinds of compiled expressions. The parser builds them; the script layer reuses them
// inside statements.

using NodePointer = std::unique_ptr<ExpressionNode>;

class LiteralNode final : public ExpressionNode {
public:
    explicit LiteralNode(Variant value) : value_(std::move(value)) {}
    Variant evaluate(EvaluationContext&) const override { return value_; }
    const Variant* constantValue() const override { return &value_; }

private:
    Variant value_;
};

class FieldNode final : public ExpressionNode {
public:
    explicit FieldNode(FieldHandle field) : field_(field) {}
    Variant evaluate(EvaluationContext& context) const override { return context.host().fieldValue(field_); }

private:
    FieldHandle field_;
};

class NameNode final : public ExpressionNode {
public:
    explicit NameNode(NameHandle name) : name_(name) {}
    Variant evaluate(EvaluationContext& context) const override {
        return context.host().nameValue(name_, context);
    }

private:
    NameHandle name_;
};

class SystemVariableNode final : public ExpressionNode {
public:
    explicit SystemVariableNode(SystemVariable variable) : variable_(variable) {}
    Variant evaluate(EvaluationContext& context) const override {
        return context.system().systemVariable(variable_);
    }

private:
    SystemVariable variable_;
};

class LocalNode final : public ExpressionNode {
public:
    explicit LocalNode(size_t slot) : slot_(slot) {}
    Variant evaluate(EvaluationContext& context) const override;
    std::optional<size_t> localSlot() const override { return slot_; }

private:
    size_t slot_;
};

enum class UnaryOperator { Negate, Plus, Not };

class UnaryNode final : public ExpressionNode {
public:
    UnaryNode(UnaryOperator op, NodePointer operand) : op_(op), operand_(std::move(operand)) {}
    Variant evaluate(EvaluationContext& context) const override;

private:
    UnaryOperator op_;
    NodePointer operand_;
};

class BinaryNode final : public ExpressionNode {
public:
    BinaryNode(BinaryOperator op, NodePointer left, NodePointer right)
        : op_(op), left_(std::move(left)), right_(std::move(right)) {}
    Variant evaluate(EvaluationContext& context) const override;

private:
    BinaryOperator op_;
    NodePointer left_;
    NodePointer right_;
};

// "and" / "or" that skip the right side when a boolean left side decides (Pascal's short
// evaluation); integers still combine bitwise.
class ShortCircuitNode final : public ExpressionNode {
public:
    ShortCircuitNode(BinaryOperator op, NodePointer left, NodePointer right)
        : op_(op), left_(std::move(left)), right_(std::move(right)) {}
    Variant evaluate(EvaluationContext& context) const override;

private:
    BinaryOperator op_;
    NodePointer left_;
    NodePointer right_;
};

// IIF(condition, a, b): only the chosen branch is evaluated, so IIF(<n> = 0, '', <x> / <n>)
// never divides by zero.
class ConditionalNode final : public ExpressionNode {
public:
    ConditionalNode(NodePointer condition, NodePointer whenTrue, NodePointer whenFalse)
        : condition_(std::move(condition)), whenTrue_(std::move(whenTrue)), whenFalse_(std::move(whenFalse)) {
    }
    Variant evaluate(EvaluationContext& context) const override;

private:
    NodePointer condition_;
    NodePointer whenTrue_;
    NodePointer whenFalse_;
};

// [a, b, c] and [1..5]: only as an open-array argument or the right side of "in".
class ArrayNode final : public ExpressionNode {
public:
    struct Item {
        NodePointer first;
        NodePointer last; // null unless a range first..last
    };
    explicit ArrayNode(std::vector<Item> items) : items_(std::move(items)) {}
    Variant evaluate(EvaluationContext& context) const override;
    [[nodiscard]] const std::vector<Item>& items() const { return items_; }
    // The items' values (ranges are not allowed here).
    [[nodiscard]] std::vector<Variant> evaluateItems(EvaluationContext& context) const;

private:
    std::vector<Item> items_;
};

class MembershipNode final : public ExpressionNode {
public:
    MembershipNode(NodePointer value, std::unique_ptr<ArrayNode> set)
        : value_(std::move(value)), set_(std::move(set)) {}
    Variant evaluate(EvaluationContext& context) const override;

private:
    NodePointer value_;
    std::unique_ptr<ArrayNode> set_;
};

// text[i]: the i-th character (from 1).
class IndexNode final : public ExpressionNode {
public:
    IndexNode(NodePointer base, NodePointer index) : base_(std::move(base)), index_(std::move(index)) {}
    Variant evaluate(EvaluationContext& context) const override;

private:
    NodePointer base_;
    NodePointer index_;
};

class CallNode final : public ExpressionNode {
public:
    // `arguments` holds one node per parameter; an open-array argument is an ArrayNode (or a
    // single value, taken as a one-item array).
    CallNode(std::shared_ptr<const FunctionDefinition> function, std::vector<NodePointer> arguments)
        : function_(std::move(function)), arguments_(std::move(arguments)) {}
    Variant evaluate(EvaluationContext& context) const override;

private:
    std::shared_ptr<const FunctionDefinition> function_;
    std::vector<NodePointer> arguments_;
};

// A subtree shared with someone else (an aggregate's argument reused as a plain value).
class SharedNode final : public ExpressionNode {
public:
    explicit SharedNode(std::shared_ptr<const ExpressionNode> node) : node_(std::move(node)) {}
    Variant evaluate(EvaluationContext& context) const override { return node_->evaluate(context); }
    const Variant* constantValue() const override { return node_->constantValue(); }

private:
    std::shared_ptr<const ExpressionNode> node_;
};

class AggregateNode final : public ExpressionNode {
public:
    explicit AggregateNode(AggregateHandle aggregate) : aggregate_(aggregate) {}
    Variant evaluate(EvaluationContext& context) const override {
        return context.host().aggregateValue(aggregate_);
    }

private:
    AggregateHandle aggregate_;
};

} // namespace velkaro::report
