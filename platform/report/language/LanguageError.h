#pragma once

#include "base/Error.h"

#include <cstddef>
#include <string>

namespace velkaro::report {

// Why a text did not compile. HostApplicationFunction marks calls of functions that the
// application a template was written for provides and we do not: a clear, expected failure.
enum class CompileErrorKind {
    Syntax,
    UnknownName,
    UnknownFunction,
    HostApplicationFunction,
    WrongArguments,
    TooComplex,
};

// A report text that does not compile. what() is the Spanish message; position() the byte offset
// into the compiled text where the problem was found.
class CompileError : public velkaro::Error {
public:
    CompileError(CompileErrorKind kind, const std::string& message, size_t position)
        : velkaro::Error(message), kind_(kind), position_(position) {}

    [[nodiscard]] CompileErrorKind kind() const { return kind_; }
    [[nodiscard]] size_t position() const { return position_; }

private:
    CompileErrorKind kind_;
    size_t position_;
};

// A compiled expression that failed while it was evaluated (conversion, division by zero, an
// invalid date...). what() is the Spanish message.
class EvaluationError : public velkaro::Error {
public:
    using velkaro::Error::Error;
};

} // namespace velkaro::report
