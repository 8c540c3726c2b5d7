#include "report/language/ExpressionText.h"

namespace velkaro::report {

namespace {

bool startsAt(std::string_view text, size_t pos, std::string_view piece) {
    return !piece.empty() && text.size() - pos >= piece.size() && text.compare(pos, piece.size(), piece) == 0;
}

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Position of the close delimiter that ends an expression starting at `from`, or npos.
size_t findClose(std::string_view text, size_t from, const ExpressionDelimiters& delimiters) {
    const bool nests = delimiters.open != delimiters.close;
    int depth = 0;
    size_t i = from;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\'' || c == '"') {
            const size_t end = text.find(c, i + 1);
            if (end == std::string_view::npos) {
                if (c == '\'')
                    return std::string_view::npos; // an open string literal never ends the expression
                ++i;
                continue;
            }
            i = end + 1;
            continue;
        }
        if (nests && startsAt(text, i, delimiters.open)) {
            ++depth;
            i += delimiters.open.size();
            continue;
        }
        if (startsAt(text, i, delimiters.close)) {
            if (depth == 0)
                return i;
            --depth;
            i += delimiters.close.size();
            continue;
        }
        ++i;
    }
    return std::string_view::npos;
}

} // namespace

ExpressionDelimiters ExpressionDelimiters::fromProperty(std::string_view text) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos || comma == 0 || comma + 1 >= text.size())
        return ExpressionDelimiters{};
    return ExpressionDelimiters{std::string(text.substr(0, comma)), std::string(text.substr(comma + 1))};
}

std::vector<TextPart> splitExpressionText(std::string_view text, const ExpressionDelimiters& delimiters) {
    std::vector<TextPart> parts;
    if (delimiters.open.empty() || delimiters.close.empty()) {
        parts.push_back(TextPart{TextPart::Kind::Literal, std::string(text), std::nullopt, 0, text.size()});
        return parts;
    }
    std::string literal;
    size_t literalStart = 0;
    size_t pos = 0;
    auto flushLiteral = [&]() {
        if (!literal.empty()) {
            const size_t length = literal.size();
            parts.push_back(
                TextPart{TextPart::Kind::Literal, std::move(literal), std::nullopt, literalStart, length});
        }
        literal.clear();
    };
    while (pos < text.size()) {
        if (startsAt(text, pos, delimiters.open)) {
            const size_t contentStart = pos + delimiters.open.size();
            const size_t end = findClose(text, contentStart, delimiters);
            if (end != std::string_view::npos) {
                flushLiteral();
                const InlineFormatSplit split =
                    splitInlineFormat(text.substr(contentStart, end - contentStart));
                const size_t next = end + delimiters.close.size();
                parts.push_back(TextPart{TextPart::Kind::Expression, std::string(split.expression),
                                         split.format, pos, next - pos});
                pos = next;
                literalStart = pos;
                continue;
            }
            if (literal.empty())
                literalStart = pos;
            literal += delimiters.open;
            pos = contentStart;
            continue;
        }
        if (literal.empty())
            literalStart = pos;
        literal += text[pos++];
    }
    flushLiteral();
    return parts;
}

InlineFormatSplit splitInlineFormat(std::string_view expression) {
    size_t i = 0;
    while (i < expression.size()) {
        const char c = expression[i];
        if (c == '\'' || c == '"') {
            const size_t end = expression.find(c, i + 1);
            if (end == std::string_view::npos)
                break;
            i = end + 1;
            continue;
        }
        if (c == '#' && i + 1 < expression.size() && (i == 0 || !isNameCharacter(expression[i - 1]))) {
            const char kind = static_cast<char>(expression[i + 1] | 0x20);
            if (kind == 'n' || kind == 'd' || kind == 'b') {
                DisplayFormat format;
                format.kind = kind == 'n'   ? DisplayKind::Numeric
                              : kind == 'd' ? DisplayKind::DateTime
                                            : DisplayKind::Boolean;
                format.formatString = std::string(expression.substr(i + 2));
                std::string_view head = expression.substr(0, i);
                while (!head.empty() && static_cast<unsigned char>(head.back()) <= ' ')
                    head.remove_suffix(1);
                return InlineFormatSplit{head, std::move(format)};
            }
        }
        ++i;
    }
    return InlineFormatSplit{expression, std::nullopt};
}

} // namespace velkaro::report
