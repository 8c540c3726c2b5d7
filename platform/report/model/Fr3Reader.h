#pragma once

#include "base/CodePage.h"
#include "report/model/Component.h"
#include "report/model/LoadError.h"

#include <memory>
#include <string_view>
#include <vector>

namespace velkaro::report {

// Bounds that keep hostile input from exhausting memory; real templates stay far below them
// (depth 6, a few thousand objects).
struct ReaderLimits {
    size_t maxDepth = 256;
    size_t maxElements = 250'000;
    size_t maxAttributes = 1'000'000;
    size_t maxErrors = 100;
};

struct ReadResult {
    std::unique_ptr<Component> root; // null when no element could be read
    std::vector<LoadError> errors;
};

// Reads fr3 bytes into a component tree, as tolerantly as real templates need:
// - UTF-8, and each run of bytes that is not UTF-8 in the given Windows code page (templates
//   declare utf-8 and still carry printer names in the author's code page); UTF-16 with a BOM;
// - a bare "&" or an unknown entity is literal text;
// - attribute values keep CR, LF and tab exactly (as references or literally);
// - in a 4.x template the report's binary "PropData" becomes the <Datasets>, <Variables> and
//   <Styles> children that newer templates have (see PropertyStream.h), so both read alike.
// It never throws: problems are collected with their place, and the tree keeps what was read
// before and after them. Too deep or too large input stops at the limits with an error.
class Fr3Reader {
public:
    explicit Fr3Reader(CodePage codePage, ReaderLimits limits = {}) : codePage_(codePage), limits_(limits) {}

    [[nodiscard]] ReadResult read(std::string_view bytes) const;

private:
    CodePage codePage_;
    ReaderLimits limits_;
};

// The conversion of the report's "PropData" that read() applies; exposed for the tests.
void expandReportPropertyData(Component& report, CodePage codePage, std::vector<LoadError>& errors);

} // namespace velkaro::report
