#pragma once

#include "report/language/LanguageError.h"
#include "report/language/Parser.h"

namespace velkaro::report {

// Counts the parser's recursion so that a text nested thousands of levels deep is refused
// instead of exhausting the stack.
class ParserDepthGuard {
public:
    ParserDepthGuard(int& depth, size_t position) : depth_(depth) {
        if (++depth_ > ExpressionParser::kMaximumHeight) {
            --depth_;
            throw CompileError(CompileErrorKind::TooComplex, "La expresión está demasiado anidada", position);
        }
    }
    ~ParserDepthGuard() { --depth_; }
    ParserDepthGuard(const ParserDepthGuard&) = delete;
    ParserDepthGuard& operator=(const ParserDepthGuard&) = delete;

private:
    int& depth_;
};

} // namespace velkaro::report
