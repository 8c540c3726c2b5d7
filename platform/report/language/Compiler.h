#pragma once

#include "report/language/Expression.h"
#include "report/language/FunctionRegistry.h"
#include "report/language/Host.h"

#include <string_view>

namespace velkaro::report {

// What names resolve against while a text is compiled. The host and the registry must outlive
// the compile call; compiled expressions keep what they need of the registry themselves but call
// the host (through its handles) when evaluated.
struct CompileEnvironment {
    ExpressionHost& host;
    const FunctionRegistry& functions;
    const LocalScope* scope = nullptr; // script locals, none in report texts
};

// Compiles one expression (the text between a memo's brackets, a condition, a variable's
// value). Names are bound now, in this order: locals, the host's declared names, system
// variables, constants, functions without arguments, the host's undeclared names. Throws
// CompileError (syntax, unknown names and functions, argument counts, nesting too deep).
[[nodiscard]] CompiledExpression compileExpression(std::string_view text,
                                                   const CompileEnvironment& environment);

} // namespace velkaro::report
