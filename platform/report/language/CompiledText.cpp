#include "report/language/CompiledText.h"

#include "report/language/LanguageError.h"

namespace velkaro::report {

CompiledText CompiledText::compile(std::string_view objectName, std::string_view text,
                                   const TextOptions& options, const CompileEnvironment& environment,
                                   DiagnosticList& diagnostics) {
    CompiledText compiled;
    compiled.objectName_ = std::string(objectName);
    if (options.expressions == ExpressionUse::LiteralText) {
        compiled.segments_.push_back(Segment{std::string(text), std::nullopt, std::nullopt, {}, 0});
        return compiled;
    }
    for (TextPart& part : splitExpressionText(text, options.delimiters)) {
        if (part.kind == TextPart::Kind::Literal) {
            if (!compiled.segments_.empty() && !compiled.segments_.back().expression)
                compiled.segments_.back().literal += part.text;
            else
                compiled.segments_.push_back(
                    Segment{std::move(part.text), std::nullopt, std::nullopt, {}, 0});
            continue;
        }
        Segment segment;
        segment.expressionIndex = compiled.expressionCount_++;
        segment.inlineFormat = std::move(part.inlineFormat);
        segment.source = part.text;
        try {
            segment.expression = compileExpression(part.text, environment);
        } catch (const CompileError& error) {
            diagnostics.add(ReportDiagnostic{compiled.objectName_, part.text, error.what(),
                                             DiagnosticStage::Compile, 1, error.kind()});
            // Printed as written, delimiters included, so the reader sees what did not work.
            segment.literal = std::string(text.substr(part.offset, part.length));
        }
        compiled.segments_.push_back(std::move(segment));
    }
    return compiled;
}

std::string CompiledText::evaluate(EvaluationContext& context, const TextFormats& formats,
                                   DiagnosticList& diagnostics, Variant* lastValue) const {
    std::string out;
    if (lastValue)
        *lastValue = Variant();
    for (const Segment& segment : segments_) {
        if (!segment.expression) {
            out += segment.literal;
            continue;
        }
        try {
            Variant value = segment.expression->evaluate(context);
            const DisplayFormat* format = nullptr;
            if (segment.inlineFormat)
                format = &*segment.inlineFormat;
            else if (segment.expressionIndex < formats.perExpression.size())
                format = &formats.perExpression[segment.expressionIndex];
            else
                format = formats.objectFormat;
            if (!format && formats.zeros == ZeroDisplay::Show && value.isString())
                out += value.asString();
            else
                out += formatDisplayValue(value, format ? *format : DisplayFormat{}, formats.zeros,
                                          context.rules());
            if (lastValue)
                *lastValue = std::move(value);
        } catch (const velkaro::Error& error) {
            diagnostics.add(
                ReportDiagnostic{objectName_, segment.source, error.what(), DiagnosticStage::Evaluate});
        }
    }
    return out;
}

} // namespace velkaro::report
