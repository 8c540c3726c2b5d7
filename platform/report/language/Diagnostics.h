#pragma once

#include "report/language/LanguageError.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace velkaro::report {

enum class DiagnosticStage { Compile, Evaluate };

// One problem with a report text, for the report's error box: which object, which expression,
// what went wrong, and how often (the same failure on every row is one entry).
struct ReportDiagnostic {
    std::string objectName;
    std::string expression;
    std::string message;
    DiagnosticStage stage = DiagnosticStage::Compile;
    size_t occurrences = 1;
    std::optional<CompileErrorKind> compileErrorKind; // for compile failures

    // "Memo1: la expresión «<ds."x"> + 1» no se puede evaluar: <message>" (Spanish, one line).
    [[nodiscard]] std::string describe() const;
};

// Diagnostics collected while a report is compiled and prepared. Repeats of an entry only count
// up; past kMaximumEntries distinct entries further ones are counted in dropped() only, so a
// million failing rows cannot exhaust memory.
class DiagnosticList {
public:
    static constexpr size_t kMaximumEntries = 500;

    void add(ReportDiagnostic diagnostic);
    [[nodiscard]] const std::vector<ReportDiagnostic>& entries() const { return entries_; }
    [[nodiscard]] bool empty() const { return entries_.empty(); }
    [[nodiscard]] size_t size() const { return entries_.size(); }
    [[nodiscard]] size_t dropped() const { return dropped_; }
    void clear();

private:
    std::vector<ReportDiagnostic> entries_;
    std::unordered_map<std::string, size_t> index_;
    size_t dropped_ = 0;
};

} // namespace velkaro::report
