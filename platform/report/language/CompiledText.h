#pragma once

#include "report/language/Compiler.h"
#include "report/language/Diagnostics.h"
#include "report/language/DisplayFormat.h"
#include "report/language/ExpressionText.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

// AllowExpressions of a text object.
enum class ExpressionUse { Evaluate, LiteralText };

struct TextOptions {
    ExpressionDelimiters delimiters;
    ExpressionUse expressions = ExpressionUse::Evaluate;
};

// How the values of a text's expressions are shown. For each expression, in this order: its
// inline suffix, the item of the same position in `perExpression` (the object's <Formats>; an
// item of kind Text means no format), the object's DisplayFormat.
struct TextFormats {
    const DisplayFormat* objectFormat = nullptr;
    std::span<const DisplayFormat> perExpression;
    ZeroDisplay zeros = ZeroDisplay::Show;
};

// A text object's text, compiled once: literal pieces and compiled expressions. Evaluating it
// for a row parses nothing.
class CompiledText {
public:
    // Compiles every expression of the text. One that does not compile is recorded in
    // `diagnostics` (with the object's name) and printed as it was written.
    [[nodiscard]] static CompiledText compile(std::string_view objectName, std::string_view text,
                                              const TextOptions& options,
                                              const CompileEnvironment& environment,
                                              DiagnosticList& diagnostics);

    // The text for the current row. An expression that fails is recorded in `diagnostics` and
    // prints nothing; the rest of the text is still produced. `lastValue`, when given, receives
    // the value of the last expression (Null without one), for the Value system variable.
    [[nodiscard]] std::string evaluate(EvaluationContext& context, const TextFormats& formats,
                                       DiagnosticList& diagnostics, Variant* lastValue = nullptr) const;

    [[nodiscard]] const std::string& objectName() const { return objectName_; }
    [[nodiscard]] size_t expressionCount() const { return expressionCount_; }
    // True when the text has no expression (it prints as it is).
    [[nodiscard]] bool isLiteral() const { return expressionCount_ == 0; }

private:
    struct Segment {
        std::string literal; // literal text, or the source of a failed expression
        std::optional<CompiledExpression> expression;
        std::optional<DisplayFormat> inlineFormat;
        std::string source; // the expression as written, for diagnostics
        size_t expressionIndex = 0;
    };

    std::string objectName_;
    std::vector<Segment> segments_;
    size_t expressionCount_ = 0;
};

} // namespace velkaro::report
