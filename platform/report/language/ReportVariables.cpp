#include "report/language/ReportVariables.h"

#include "base/AsciiCase.h"
#include "report/language/LanguageError.h"

namespace velkaro::report {

bool ReportVariables::isCategoryMarker(std::string_view name, const Variant& value) {
    return !name.empty() && name.front() == ' ' && value.isNull();
}

void ReportVariables::add(std::string name, Variant value) {
    Entry entry;
    entry.name = std::move(name);
    entry.value = std::move(value);
    entries_.push_back(std::move(entry));
}

void ReportVariables::set(std::string_view name, Variant value) {
    for (Entry& entry : entries_) {
        if (equalsIgnoreAsciiCase(entry.name, name)) {
            entry.value = std::move(value);
            entry.state = State::NotCompiled;
            entry.expression.reset();
            return;
        }
    }
    add(std::string(name), std::move(value));
}

std::optional<size_t> ReportVariables::find(std::string_view name) const {
    for (size_t i = 0; i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        if (!isCategoryMarker(entry.name, entry.value) && equalsIgnoreAsciiCase(entry.name, name))
            return i;
    }
    return std::nullopt;
}

void ReportVariables::prepare(Entry& entry, const CompileEnvironment& environment) {
    if (!entry.value.isString()) {
        entry.constant = entry.value;
        entry.state = State::Constant;
        return;
    }
    const std::string& text = entry.value.asString();
    if (text.find("\r\n") != std::string::npos) {
        // Used unchanged; but the apostrophes that made a received value a string literal are
        // not part of the value, and printing them would show 'text' in quotes.
        const bool quoted = text.size() >= 2 && text.front() == '\'' && text.back() == '\'';
        entry.constant = quoted ? Variant(text.substr(1, text.size() - 2)) : entry.value;
        entry.state = State::Constant;
        return;
    }
    if (trimControls(text).empty()) {
        entry.constant = Variant();
        entry.state = State::Constant;
        return;
    }
    try {
        CompiledExpression compiled = compileExpression(text, environment);
        if (const Variant* constant = compiled.constantValue()) {
            entry.constant = *constant;
            entry.state = State::Constant;
        } else {
            entry.expression = std::move(compiled);
            entry.state = State::Compiled;
        }
    } catch (const CompileError& error) {
        // A value put between apostrophes that itself holds one ('O'Brien') is no longer one
        // string literal; what was meant is plain: the text between the outer apostrophes.
        if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'') {
            entry.constant = Variant(text.substr(1, text.size() - 2));
            entry.state = State::Constant;
            return;
        }
        entry.failure = "La variable " + entry.name + " contiene una expresión no válida: " + error.what();
        entry.state = State::Failed;
    }
}

Variant ReportVariables::evaluate(size_t index, EvaluationContext& context,
                                  const CompileEnvironment& environment) {
    Entry& entry = entries_.at(index);
    if (entry.state == State::NotCompiled)
        prepare(entry, environment);
    switch (entry.state) {
    case State::Constant:
        return entry.constant;
    case State::Failed:
        throw EvaluationError(entry.failure);
    case State::NotCompiled:
    case State::Compiled:
        break;
    }
    if (entry.evaluating)
        throw EvaluationError("La variable " + entry.name + " se nombra a sí misma");
    EvaluationContext::NestingGuard nesting(context);
    entry.evaluating = true;
    // By index: evaluating may add variables (a script's Set) and move the entries.
    struct Reset {
        std::vector<Entry>& entries;
        size_t index;
        ~Reset() {
            if (index < entries.size())
                entries[index].evaluating = false;
        }
    } reset{entries_, index};
    const std::shared_ptr<const ExpressionNode> root = entry.expression->root();
    return root->evaluate(context);
}

} // namespace velkaro::report
