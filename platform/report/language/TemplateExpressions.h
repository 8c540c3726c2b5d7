#pragma once

#include "report/language/CompiledText.h"
#include "report/language/Diagnostics.h"
#include "report/language/FunctionRegistry.h"

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

// Whether an item is a text with bracketed expressions or one whole expression (a condition).
enum class ExpressionSource { BracketedText, WholeExpression };

// A report text to check: a text object's text, a group condition, a highlight condition...
struct ExpressionItem {
    std::string objectName; // "Memo12", "GroupHeader1.Condition"
    std::string text;
    ExpressionSource source = ExpressionSource::BracketedText;
    TextOptions options; // delimiters and AllowExpressions of the text object
};

// The expressions of a template plus the names they may refer to.
struct TemplateExpressions {
    std::vector<ExpressionItem> items;
    std::vector<std::string> componentNames; // every Name="..." (bands for SUM/COUNT)
    std::vector<std::string> variableNames;  // <Variables> items, markers excluded
};

// Reads an fr3 template as found in files: UTF-8 with runs in the user's Windows code page, and
// stray "&" escaped when the XML reader refuses them. Collects the Text / Memo.Text of text
// objects (not those with AllowExpressions="False"), every Condition, Highlight.Condition,
// Expression and Filter. Throws velkaro::Error when the bytes are not XML.
[[nodiscard]] TemplateExpressions collectTemplateExpressions(std::string_view fr3Bytes);

// Compiles every item against the registry, with fields, variables and bands accepted as a report
// would provide them, and returns what does not compile (object name, expression, message).
[[nodiscard]] std::vector<ReportDiagnostic> checkExpressions(const TemplateExpressions& expressions,
                                                             const FunctionRegistry& functions);

[[nodiscard]] std::vector<ReportDiagnostic> checkTemplateExpressions(std::string_view fr3Bytes,
                                                                     const FunctionRegistry& functions);

} // namespace velkaro::report
