#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velkaro::report {

enum class TokenKind {
    End,
    Identifier, // also keywords (div, mod, and...): the parser decides, without regard to case
    Integer,
    Float,
    String,     // 'text', with '' inside and #13 / #$0D character codes joined on
    QuotedName, // "Field" after a dataset name
    Plus,
    Minus,
    Star,
    Slash,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessOrEqual,
    GreaterOrEqual,
    LeftParen,
    RightParen,
    LeftBracket,
    RightBracket,
    Comma,
    Dot,
    DotDot,
    Colon,
    Semicolon,
    Assign,
    Caret,
    At,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text; // identifier spelling, string value or quoted name
    int64_t integer = 0;
    double real = 0.0;
    size_t position = 0; // byte offset of the token in the source
    size_t end = 0;      // byte offset just past it
};

// The Pascal lexer of report expressions and scripts. Identifiers may end in "#" (Page#, Line#)
// and may hold non-ASCII letters; comments are //, { } and (* *). One token of lookahead:
// current() is the token under consideration, advance() moves on. Throws CompileError.
class Lexer {
public:
    explicit Lexer(std::string_view source);

    [[nodiscard]] const Token& current() const { return current_; }
    void advance();
    [[nodiscard]] std::string_view source() const { return source_; }

    // With current() a "<" that starts a reference, reads the raw text up to the matching ">"
    // (double-quoted parts may hold ">"), returns it, and advances past it.
    [[nodiscard]] std::string readAngleReference();

    // True when current() is the identifier `word`, compared without regard to case.
    [[nodiscard]] bool isWord(std::string_view word) const;

private:
    void skipBlanksAndComments();
    void scanNumber();
    void scanString();
    void scanIdentifier();

    std::string_view source_;
    size_t cursor_ = 0;
    Token current_;
};

} // namespace velkaro::report
