#include "report/language/Expression.h"

#include "base/AsciiCase.h"
#include "report/language/LanguageError.h"

namespace velkaro::report {

namespace {
// Variables naming variables rarely go two deep; a cycle would go on forever.
constexpr int kMaximumNesting = 64;
} // namespace

size_t LocalScope::declare(std::string_view name) {
    if (const auto existing = find(name))
        return *existing;
    names_.emplace_back(name);
    return names_.size() - 1;
}

std::optional<size_t> LocalScope::find(std::string_view name) const {
    for (size_t i = 0; i < names_.size(); ++i) {
        if (equalsIgnoreAsciiCase(names_[i], name))
            return i;
    }
    return std::nullopt;
}

EvaluationContext::NestingGuard::NestingGuard(EvaluationContext& context) : context_(context) {
    if (context_.nesting_ >= kMaximumNesting)
        throw EvaluationError("Demasiadas evaluaciones anidadas (¿una variable que se nombra a sí misma?)");
    ++context_.nesting_;
}

} // namespace velkaro::report
