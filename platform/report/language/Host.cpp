#include "report/language/Host.h"

#include "base/AsciiCase.h"
#include "report/language/DateTimeMath.h"

#include <array>
#include <cmath>
#include <utility>

namespace velkaro::report {

std::optional<NameHandle> ExpressionHost::bindUndeclaredName(std::string_view) {
    return std::nullopt;
}
std::optional<AggregateHandle> ExpressionHost::bindAggregate(const AggregateDefinition&) {
    return std::nullopt;
}
Variant ExpressionHost::aggregateValue(AggregateHandle) {
    return Variant();
}

namespace {

constexpr std::array<std::pair<std::string_view, SystemVariable>, 10> kSystemVariables{{
    {"Date", SystemVariable::Date},
    {"Time", SystemVariable::Time},
    {"Page", SystemVariable::Page},
    {"Page#", SystemVariable::PageNumber},
    {"TotalPages", SystemVariable::TotalPages},
    {"TotalPages#", SystemVariable::TotalPagesNumber},
    {"Line", SystemVariable::Line},
    {"Line#", SystemVariable::LineNumber},
    {"CopyName#", SystemVariable::CopyName},
    {"Value", SystemVariable::Value},
}};

} // namespace

std::optional<SystemVariable> findSystemVariable(std::string_view name) {
    for (const auto& [spelling, variable] : kSystemVariables) {
        if (equalsIgnoreAsciiCase(spelling, name))
            return variable;
    }
    return std::nullopt;
}

std::string_view systemVariableName(SystemVariable variable) {
    for (const auto& [spelling, candidate] : kSystemVariables) {
        if (candidate == variable)
            return spelling;
    }
    return {};
}

Variant FixedSystemVariables::systemVariable(SystemVariable variable) {
    const double now = now_ ? *now_ : currentDateTime();
    switch (variable) {
    case SystemVariable::Date:
        return Variant(DateTime{std::trunc(now)});
    case SystemVariable::Time:
        return Variant(DateTime{now - std::trunc(now)});
    case SystemVariable::Page:
    case SystemVariable::PageNumber:
        return Variant(page_);
    case SystemVariable::TotalPages:
    case SystemVariable::TotalPagesNumber:
        return Variant(totalPages_);
    case SystemVariable::Line:
    case SystemVariable::LineNumber:
        return Variant(line_);
    case SystemVariable::CopyName:
        return Variant(copyName_);
    case SystemVariable::Value:
        return value_;
    }
    return Variant();
}

} // namespace velkaro::report
