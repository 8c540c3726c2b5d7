#include "report/language/Diagnostics.h"

namespace velkaro::report {

std::string ReportDiagnostic::describe() const {
    std::string text = objectName.empty() ? std::string("Informe") : objectName;
    text += stage == DiagnosticStage::Compile ? ": la expresión «" : ": error al evaluar «";
    text += expression;
    text += stage == DiagnosticStage::Compile ? "» no es válida: " : "»: ";
    text += message;
    if (occurrences > 1)
        text += " (" + std::to_string(occurrences) + " veces)";
    return text;
}

void DiagnosticList::add(ReportDiagnostic diagnostic) {
    std::string key = diagnostic.objectName;
    key += '\0';
    key += diagnostic.expression;
    key += '\0';
    key += diagnostic.message;
    key += diagnostic.stage == DiagnosticStage::Compile ? 'c' : 'e';
    const auto found = index_.find(key);
    if (found != index_.end()) {
        entries_[found->second].occurrences += diagnostic.occurrences;
        return;
    }
    if (entries_.size() >= kMaximumEntries) {
        ++dropped_;
        return;
    }
    index_.emplace(std::move(key), entries_.size());
    entries_.push_back(std::move(diagnostic));
}

void DiagnosticList::clear() {
    entries_.clear();
    index_.clear();
    dropped_ = 0;
}

} // namespace velkaro::report
