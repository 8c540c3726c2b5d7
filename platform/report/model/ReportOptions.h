#pragma once

#include "report/model/Component.h"
#include "report/model/Variant.h"

#include <cstdint>
#include <string>

namespace velkaro::report {

// The option groups of the report element. Each struct is read from the element's attributes
// (defaults where a template is silent) and written back changing only the fields that differ,
// so unknown options and the attribute order stay as they were.

// How the report reports its own load and preparation errors.
enum class SilentMode { MessageBoxes, Silent, Rethrow };

struct EngineOptions {
    bool doublePass = false;                          // "EngineOptions.DoublePass"
    bool convertNulls = true;                         // "EngineOptions.ConvertNulls"
    bool ignoreDivisionByZero = false;                // "EngineOptions.IgnoreDevByZero" (so spelt)
    bool printIfEmpty = true;                         // "EngineOptions.PrintIfEmpty"
    SilentMode silentMode = SilentMode::MessageBoxes; // "EngineOptions.NewSilentMode"
    bool useFileCache = false;                        // "EngineOptions.UseFileCache"
    int64_t maxMemorySize = 10;                       // "EngineOptions.MaxMemSize", megabytes
    friend bool operator==(const EngineOptions&, const EngineOptions&) = default;
};

struct PreviewOptions {
    int64_t buttons = 4095; // bit set of the toolbar buttons
    double zoom = 1.0;
    bool modal = true;
    bool maximized = true;
    bool allowEdit = true;
    bool mdiChild = false;
    bool outlineVisible = false;
    int64_t outlineWidth = 120;
    bool outlineExpand = true;
    int64_t pagesInCache = 50;
    bool thumbnailVisible = false;
    std::string zoomMode = "zmDefault";
    friend bool operator==(const PreviewOptions&, const PreviewOptions&) = default;
};

struct PrintOptions {
    std::string printer = "Default";
    int64_t copies = 1;
    bool collate = true;
    bool showDialog = true;
    std::string pageNumbers;
    int64_t printOnSheet = 0;
    std::string printPages = "ppAll";
    bool reverse = false;
    std::string printMode = "pmDefault";
    friend bool operator==(const PrintOptions&, const PrintOptions&) = default;
};

// "ReportOptions.*": the template's own description.
struct ReportInformation {
    std::string name;
    std::string author;
    std::string description; // "ReportOptions.Description.Text"
    DateTime createDate;
    DateTime lastChange;
    friend bool operator==(const ReportInformation&, const ReportInformation&) = default;
};

[[nodiscard]] EngineOptions readEngineOptions(const Component& report);
void writeEngineOptions(Component& report, const EngineOptions& options);
[[nodiscard]] PreviewOptions readPreviewOptions(const Component& report);
void writePreviewOptions(Component& report, const PreviewOptions& options);
[[nodiscard]] PrintOptions readPrintOptions(const Component& report);
void writePrintOptions(Component& report, const PrintOptions& options);
[[nodiscard]] ReportInformation readReportInformation(const Component& report);
void writeReportInformation(Component& report, const ReportInformation& information);

} // namespace velkaro::report
