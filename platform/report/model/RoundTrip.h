#pragma once

#include "base/CodePage.h"
#include "report/model/Component.h"
#include "report/model/LoadError.h"
#include "report/model/Report.h"

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

// One thing that differs between two templates: where (element path, "@attribute" or the list
// entry) and the two texts; "(falta)" stands for something absent.
struct TreeDifference {
    std::string path;
    std::string first;
    std::string second;
};

// Elements, attributes (names, values, order), element text and children (order); the report's
// Version attribute is not compared.
[[nodiscard]] std::vector<TreeDifference> compareTrees(const Component& first, const Component& second);
// The trees, the variable lists and the used-dataset lists.
[[nodiscard]] std::vector<TreeDifference> compareReports(const Report& first, const Report& second);

struct RoundTripResult {
    std::vector<LoadError> loadErrors;       // of the first load
    std::vector<LoadError> reloadErrors;     // of loading what was saved
    std::vector<TreeDifference> differences; // between the two loads
    [[nodiscard]] bool ok() const {
        return loadErrors.empty() && reloadErrors.empty() && differences.empty();
    }
};

// Loads the template into a fresh report, saves it, loads that into another and compares.
[[nodiscard]] RoundTripResult checkRoundTrip(std::string_view bytes, CodePage codePage);

} // namespace velkaro::report
