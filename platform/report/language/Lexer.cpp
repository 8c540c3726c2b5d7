#include "report/language/Lexer.h"

#include "base/AsciiCase.h"
#include "base/CodePage.h"
#include "report/language/LanguageError.h"

#include <charconv>
#include <cmath>

namespace velkaro::report {

namespace {

bool isIdentifierStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}
bool isIdentifierPart(char c) {
    return isIdentifierStart(c) || (c >= '0' && c <= '9');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

[[noreturn]] void syntaxError(const std::string& message, size_t position) {
    throw CompileError(CompileErrorKind::Syntax, message, position);
}

} // namespace

Lexer::Lexer(std::string_view source) : source_(source) {
    advance();
}

bool Lexer::isWord(std::string_view word) const {
    return current_.kind == TokenKind::Identifier && equalsIgnoreAsciiCase(current_.text, word);
}

void Lexer::skipBlanksAndComments() {
    while (cursor_ < source_.size()) {
        const char c = source_[cursor_];
        if (static_cast<unsigned char>(c) <= ' ') {
            ++cursor_;
        } else if (c == '/' && cursor_ + 1 < source_.size() && source_[cursor_ + 1] == '/') {
            while (cursor_ < source_.size() && source_[cursor_] != '\n' && source_[cursor_] != '\r')
                ++cursor_;
        } else if (c == '{') {
            const size_t end = source_.find('}', cursor_ + 1);
            if (end == std::string_view::npos)
                syntaxError("Comentario sin cerrar", cursor_);
            cursor_ = end + 1;
        } else if (c == '(' && cursor_ + 1 < source_.size() && source_[cursor_ + 1] == '*') {
            const size_t end = source_.find("*)", cursor_ + 2);
            if (end == std::string_view::npos)
                syntaxError("Comentario sin cerrar", cursor_);
            cursor_ = end + 2;
        } else {
            return;
        }
    }
}

void Lexer::advance() {
    skipBlanksAndComments();
    current_ = Token{};
    current_.position = cursor_;
    if (cursor_ >= source_.size()) {
        current_.kind = TokenKind::End;
        current_.end = cursor_;
        return;
    }
    const char c = source_[cursor_];
    const char next = cursor_ + 1 < source_.size() ? source_[cursor_ + 1] : '\0';
    if (isDigit(c) || (c == '$' && isHexDigit(next))) {
        scanNumber();
    } else if (c == '\'' || (c == '#' && (isDigit(next) || next == '$'))) {
        scanString();
    } else if (isIdentifierStart(c)) {
        scanIdentifier();
    } else if (c == '"') {
        const size_t start = cursor_ + 1;
        size_t i = start;
        std::string text;
        while (true) {
            if (i >= source_.size())
                syntaxError("Nombre entre comillas sin cerrar", cursor_);
            if (source_[i] == '"') {
                if (i + 1 < source_.size() && source_[i + 1] == '"') {
                    text += '"';
                    i += 2;
                    continue;
                }
                break;
            }
            text += source_[i++];
        }
        current_.kind = TokenKind::QuotedName;
        current_.text = std::move(text);
        cursor_ = i + 1;
    } else {
        auto two = [&](char second, TokenKind kind) {
            if (next == second) {
                current_.kind = kind;
                cursor_ += 2;
                return true;
            }
            return false;
        };
        switch (c) {
        case '+':
            current_.kind = TokenKind::Plus;
            break;
        case '-':
            current_.kind = TokenKind::Minus;
            break;
        case '*':
            current_.kind = TokenKind::Star;
            break;
        case '/':
            current_.kind = TokenKind::Slash;
            break;
        case '=':
            current_.kind = TokenKind::Equal;
            break;
        case '<':
            if (two('>', TokenKind::NotEqual) || two('=', TokenKind::LessOrEqual)) {
                current_.end = cursor_;
                return;
            }
            current_.kind = TokenKind::Less;
            break;
        case '>':
            if (two('=', TokenKind::GreaterOrEqual)) {
                current_.end = cursor_;
                return;
            }
            current_.kind = TokenKind::Greater;
            break;
        case '(':
            current_.kind = TokenKind::LeftParen;
            break;
        case ')':
            current_.kind = TokenKind::RightParen;
            break;
        case '[':
            current_.kind = TokenKind::LeftBracket;
            break;
        case ']':
            current_.kind = TokenKind::RightBracket;
            break;
        case ',':
            current_.kind = TokenKind::Comma;
            break;
        case '.':
            if (two('.', TokenKind::DotDot)) {
                current_.end = cursor_;
                return;
            }
            current_.kind = TokenKind::Dot;
            break;
        case ':':
            if (two('=', TokenKind::Assign)) {
                current_.end = cursor_;
                return;
            }
            current_.kind = TokenKind::Colon;
            break;
        case ';':
            current_.kind = TokenKind::Semicolon;
            break;
        case '^':
            current_.kind = TokenKind::Caret;
            break;
        case '@':
            current_.kind = TokenKind::At;
            break;
        default:
            syntaxError("Carácter no válido '" + std::string(1, c) + "'", cursor_);
        }
        ++cursor_;
    }
    current_.end = cursor_;
}

void Lexer::scanNumber() {
    const size_t start = cursor_;
    if (source_[cursor_] == '$') {
        ++cursor_;
        const size_t digitsStart = cursor_;
        while (cursor_ < source_.size() && isHexDigit(source_[cursor_]))
            ++cursor_;
        uint64_t value = 0;
        const auto [ptr, error] =
            std::from_chars(source_.data() + digitsStart, source_.data() + cursor_, value, 16);
        if (error != std::errc())
            syntaxError("Número hexadecimal fuera de rango", start);
        current_.kind = TokenKind::Integer;
        current_.integer = static_cast<int64_t>(value);
        return;
    }
    while (cursor_ < source_.size() && isDigit(source_[cursor_]))
        ++cursor_;
    bool isFloat = false;
    // "1..5" is a range, not a fraction.
    if (cursor_ + 1 < source_.size() && source_[cursor_] == '.' && isDigit(source_[cursor_ + 1])) {
        isFloat = true;
        ++cursor_;
        while (cursor_ < source_.size() && isDigit(source_[cursor_]))
            ++cursor_;
    }
    if (cursor_ < source_.size() && (source_[cursor_] == 'e' || source_[cursor_] == 'E')) {
        size_t probe = cursor_ + 1;
        if (probe < source_.size() && (source_[probe] == '+' || source_[probe] == '-'))
            ++probe;
        if (probe < source_.size() && isDigit(source_[probe])) {
            isFloat = true;
            cursor_ = probe;
            while (cursor_ < source_.size() && isDigit(source_[cursor_]))
                ++cursor_;
        }
    }
    const std::string_view text = source_.substr(start, cursor_ - start);
    if (!isFloat) {
        int64_t value = 0;
        const auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc()) {
            current_.kind = TokenKind::Integer;
            current_.integer = value;
            return;
        }
    }
    double value = 0;
    const auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || !std::isfinite(value))
        syntaxError("Número fuera de rango: " + std::string(text), start);
    current_.kind = TokenKind::Float;
    current_.real = value;
}

void Lexer::scanString() {
    std::string value;
    const size_t start = cursor_;
    while (cursor_ < source_.size()) {
        const char c = source_[cursor_];
        if (c == '\'') {
            ++cursor_;
            while (true) {
                if (cursor_ >= source_.size())
                    syntaxError("Cadena sin cerrar", start);
                if (source_[cursor_] == '\'') {
                    if (cursor_ + 1 < source_.size() && source_[cursor_ + 1] == '\'') {
                        value += '\'';
                        cursor_ += 2;
                        continue;
                    }
                    ++cursor_;
                    break;
                }
                value += source_[cursor_++];
            }
        } else if (c == '#' && cursor_ + 1 < source_.size() &&
                   (isDigit(source_[cursor_ + 1]) || source_[cursor_ + 1] == '$')) {
            ++cursor_;
            int base = 10;
            if (source_[cursor_] == '$') {
                base = 16;
                ++cursor_;
            }
            const size_t digitsStart = cursor_;
            while (cursor_ < source_.size() &&
                   (base == 16 ? isHexDigit(source_[cursor_]) : isDigit(source_[cursor_])))
                ++cursor_;
            uint32_t code = 0;
            const auto [ptr, error] =
                std::from_chars(source_.data() + digitsStart, source_.data() + cursor_, code, base);
            if (error != std::errc() || digitsStart == cursor_ || code > 0x10FFFF)
                syntaxError("Código de carácter no válido", digitsStart);
            appendUtf8(value, code);
        } else {
            break;
        }
    }
    current_.kind = TokenKind::String;
    current_.text = std::move(value);
}

void Lexer::scanIdentifier() {
    const size_t start = cursor_;
    while (cursor_ < source_.size() && isIdentifierPart(source_[cursor_]))
        ++cursor_;
    // Page#, Line#: a "#" that does not start a character code belongs to the name.
    if (cursor_ < source_.size() && source_[cursor_] == '#') {
        const char after = cursor_ + 1 < source_.size() ? source_[cursor_ + 1] : '\0';
        if (!isDigit(after) && after != '$')
            ++cursor_;
    }
    current_.kind = TokenKind::Identifier;
    current_.text = std::string(source_.substr(start, cursor_ - start));
}

std::string Lexer::readAngleReference() {
    // current_ is "<"; the cursor stands right after it.
    size_t i = current_.position + 1;
    bool quoted = false;
    while (i < source_.size()) {
        const char c = source_[i];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '>')
            break;
        else if (c == '\r' || c == '\n')
            break;
        ++i;
    }
    if (i >= source_.size() || source_[i] != '>')
        syntaxError("Falta '>' al final de la referencia", current_.position);
    std::string reference(source_.substr(current_.position + 1, i - current_.position - 1));
    cursor_ = i + 1;
    advance();
    return reference;
}

} // namespace velkaro::report
