#pragma once

#include "report/language/Compiler.h"
#include "report/language/Lexer.h"
#include "report/language/Nodes.h"

namespace velkaro::report {

// Recursive-descent parser of Pascal expressions over a Lexer, binding names as it goes. The
// statement parser of scripts calls parseExpression() at the start of each expression and
// continues with the lexer where it stopped.
class ExpressionParser {
public:
    ExpressionParser(Lexer& lexer, const CompileEnvironment& environment);

    // Parses one expression starting at the lexer's current token. Throws CompileError.
    [[nodiscard]] NodePointer parseExpression();

    // Nesting limit of the tree (parentheses, operators, calls); deeper texts are TooComplex.
    static constexpr int kMaximumHeight = 500;

private:
    struct Parsed {
        NodePointer node;
        int height = 1;
    };
    enum class ArrayUse { Refused, Allowed };

    Parsed expression(ArrayUse arrays = ArrayUse::Refused);
    Parsed simple(ArrayUse arrays);
    Parsed term(ArrayUse arrays);
    Parsed factor(ArrayUse arrays);
    Parsed postfix(ArrayUse arrays);
    Parsed primary(ArrayUse arrays);
    Parsed identifierChain();
    Parsed angleReference();
    Parsed setConstructor();
    Parsed call(const std::string& name, size_t position);
    Parsed aggregate(AggregateFunction function, const std::string& name, size_t position);
    Parsed resolveName(const std::string& name, size_t position);
    Parsed field(const std::string& dataset, const std::string& fieldName, size_t position);

    Parsed binary(BinaryOperator op, Parsed left, Parsed right);
    Parsed combine(NodePointer node, int childHeight);
    void expect(TokenKind kind, const char* what);
    [[noreturn]] void syntaxError(const std::string& message) const;
    [[nodiscard]] std::string sourceBetween(size_t begin, size_t end) const;

    Lexer& lexer_;
    const CompileEnvironment& environment_;
    int depth_ = 0;
};

} // namespace velkaro::report
