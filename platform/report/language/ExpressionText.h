#pragma once

#include "report/language/DisplayFormat.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

// The report's ExpressionDelimiters: "[,]" by default, "%,%" and others seen.
struct ExpressionDelimiters {
    std::string open = "[";
    std::string close = "]";

    // Reads the property text "open,close"; a text without a comma (or with an empty side) gives
    // the default.
    [[nodiscard]] static ExpressionDelimiters fromProperty(std::string_view text);
};

// A piece of a text object's text: literal text, or the source of one expression (without the
// delimiters and without an inline format suffix).
struct TextPart {
    enum class Kind { Literal, Expression };
    Kind kind = Kind::Literal;
    std::string text;
    std::optional<DisplayFormat> inlineFormat; // [<x> #n%2.2f]
    size_t offset = 0;                         // where the part starts in the text
    size_t length = 0;                         // bytes in the text, delimiters included
};

// Splits a text into literal text and expressions. Delimiters nest ([Copy(<s>, 1, [n])]) when
// open and close differ, and are not counted inside 'string literals' or "quoted names", so
// [IIF(<a> > 0, '[x]', '')] is one expression. A bracket that never closes is literal text.
[[nodiscard]] std::vector<TextPart> splitExpressionText(std::string_view text,
                                                        const ExpressionDelimiters& delimiters);

// Splits "Date #ddd/mm/yyyy" into the expression and its display format. The suffix starts at a
// "#" followed by n, d or b (numeric, date-time, boolean) that is not part of a name (Page#) or a
// character code (#13), outside quotes.
struct InlineFormatSplit {
    std::string_view expression;
    std::optional<DisplayFormat> format;
};
[[nodiscard]] InlineFormatSplit splitInlineFormat(std::string_view expression);

} // namespace velkaro::report
