#include "report/language/Nodes.h"

#include "report/language/LanguageError.h"
#include "report/language/UnicodeText.h"

#include <array>

namespace velkaro::report {

Variant LocalNode::evaluate(EvaluationContext& context) const {
    LocalFrame* frame = context.frame();
    if (!frame)
        throw EvaluationError("Variable local fuera de su rutina");
    return frame->slot(slot_);
}

Variant UnaryNode::evaluate(EvaluationContext& context) const {
    Variant value = operand_->evaluate(context);
    switch (op_) {
    case UnaryOperator::Negate:
        return negateValue(value, context.rules());
    case UnaryOperator::Not:
        return notValue(value, context.rules());
    case UnaryOperator::Plus:
        break;
    }
    if (value.isString() || value.type() == Variant::Type::Boolean)
        return applyBinary(BinaryOperator::Add, Variant(int64_t(0)), value, context.rules());
    return value;
}

Variant BinaryNode::evaluate(EvaluationContext& context) const {
    const Variant left = left_->evaluate(context);
    const Variant right = right_->evaluate(context);
    return applyBinary(op_, left, right, context.rules());
}

Variant ShortCircuitNode::evaluate(EvaluationContext& context) const {
    const Variant left = left_->evaluate(context);
    if (left.type() == Variant::Type::Boolean) {
        if (op_ == BinaryOperator::And && !left.asBoolean())
            return Variant(false);
        if (op_ == BinaryOperator::Or && left.asBoolean())
            return Variant(true);
    }
    const Variant right = right_->evaluate(context);
    return applyBinary(op_, left, right, context.rules());
}

Variant ConditionalNode::evaluate(EvaluationContext& context) const {
    const bool condition = valueToBoolean(condition_->evaluate(context), context.rules());
    return condition ? whenTrue_->evaluate(context) : whenFalse_->evaluate(context);
}

Variant ArrayNode::evaluate(EvaluationContext&) const {
    throw EvaluationError("Un conjunto [...] solo puede usarse con 'in' o como parámetro");
}

std::vector<Variant> ArrayNode::evaluateItems(EvaluationContext& context) const {
    std::vector<Variant> values;
    values.reserve(items_.size());
    for (const Item& item : items_) {
        if (item.last)
            throw EvaluationError("Un rango a..b solo puede usarse con 'in'");
        values.push_back(item.first->evaluate(context));
    }
    return values;
}

Variant MembershipNode::evaluate(EvaluationContext& context) const {
    const Variant value = value_->evaluate(context);
    const ValueRules& rules = context.rules();
    for (const ArrayNode::Item& item : set_->items()) {
        const Variant first = item.first->evaluate(context);
        if (!item.last) {
            if (compareValues(value, first, rules) == Ordering::Equal)
                return Variant(true);
            continue;
        }
        const Variant last = item.last->evaluate(context);
        const Ordering low = compareValues(value, first, rules);
        const Ordering high = compareValues(value, last, rules);
        if ((low == Ordering::Greater || low == Ordering::Equal) &&
            (high == Ordering::Less || high == Ordering::Equal))
            return Variant(true);
    }
    return Variant(false);
}

Variant IndexNode::evaluate(EvaluationContext& context) const {
    const Variant base = base_->evaluate(context);
    const int64_t index = valueToInteger(index_->evaluate(context), context.rules());
    const std::string text = valueToText(base, context.format());
    if (index < 1 || static_cast<uint64_t>(index) > characterCount(text))
        throw EvaluationError("Índice fuera de rango: " + std::to_string(index));
    return Variant(std::string(characterRange(text, static_cast<size_t>(index - 1), 1)));
}

Variant CallNode::evaluate(EvaluationContext& context) const {
    // Small calls keep their arguments on the stack.
    constexpr size_t kInline = 6;
    std::array<Variant, kInline> inlineValues;
    std::vector<Variant> heapValues;
    const size_t count = arguments_.size();
    Variant* values = inlineValues.data();
    if (count > kInline) {
        heapValues.resize(count);
        values = heapValues.data();
    }
    std::vector<Variant> arrayItems;
    for (size_t i = 0; i < count; ++i) {
        if (function_->mode(i) == ParameterMode::OpenArray) {
            if (const auto* array = dynamic_cast<const ArrayNode*>(arguments_[i].get()))
                arrayItems = array->evaluateItems(context);
            else
                arrayItems.push_back(arguments_[i]->evaluate(context));
        } else {
            values[i] = arguments_[i]->evaluate(context);
        }
    }
    FunctionArguments arguments(std::span<Variant>(values, count), arrayItems, context, *function_);
    Variant result = function_->call(arguments);
    for (size_t i = 0; i < count; ++i) {
        if (function_->mode(i) == ParameterMode::Reference) {
            const auto slot = arguments_[i]->localSlot();
            if (slot && context.frame())
                context.frame()->slot(*slot) = std::move(values[i]);
        }
    }
    return result;
}

} // namespace velkaro::report
