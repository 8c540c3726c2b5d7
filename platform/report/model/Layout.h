#pragma once

#include "report/model/Component.h"

#include <optional>
#include <string>
#include <string_view>

namespace velkaro::report {

// What a component is, by its class name. Unknown classes are Other and are kept like the rest.
enum class ComponentKind { Report, ReportPage, DataPage, DialogPage, Band, Other };
[[nodiscard]] ComponentKind componentKind(std::string_view className);

enum class BandKind {
    ReportTitle,
    ReportSummary,
    PageHeader,
    PageFooter,
    Header,
    Footer,
    MasterData,
    DetailData,
    SubdetailData,
    DataBand4,
    DataBand5,
    DataBand6,
    GroupHeader,
    GroupFooter,
    Child,
    ColumnHeader,
    ColumnFooter,
    Overlay,
};
// nullopt when the class is not a band.
[[nodiscard]] std::optional<BandKind> bandKind(std::string_view className);
[[nodiscard]] bool isDataBand(BandKind kind);

enum class Orientation { Portrait, Landscape };

// Page setup of a report page: paper in millimetres, Windows paper code, margins in
// millimetres, columns (width in millimetres, positions as text lines).
struct PageSetup {
    double paperWidth = 210.0;
    double paperHeight = 297.0;
    int64_t paperSize = 9;
    Orientation orientation = Orientation::Portrait;
    double leftMargin = 10.0;
    double rightMargin = 10.0;
    double topMargin = 10.0;
    double bottomMargin = 10.0;
    int64_t columns = 0;
    double columnWidth = 0.0;
    std::string columnPositions;
    bool mirrorMargins = false;
    bool endlessWidth = false;
    bool endlessHeight = false;
    bool titleBeforeHeader = true;
    bool printIfEmpty = true;
    bool resetPageNumbers = false;
    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

[[nodiscard]] PageSetup readPageSetup(const Component& page);
void writePageSetup(Component& page, const PageSetup& setup);

// What bands say about how they print.
struct BandOptions {
    bool stretched = false;
    bool startNewPage = false;
    bool printOnFirstPage = true;
    bool printOnLastPage = true;
    bool keepTogether = false;
    bool allowSplit = false;
    bool keepChild = false;
    bool keepHeader = false;
    bool keepFooter = false;
    bool printChildIfInvisible = false;
    bool printIfDetailEmpty = false;
    bool reprintOnNewPage = false;
    bool footerAfterEach = false;
    std::string child;       // Name of the child band
    int64_t rowCount = 0;    // rows of a data band without a dataset
    int64_t columns = 0;     // data band columns
    double columnWidth = 0;  // 1/96 inch
    double columnGap = 0;    // 1/96 inch
    std::string condition;   // group header
    std::string outlineText; // outline entry expression
    friend bool operator==(const BandOptions&, const BandOptions&) = default;
};

[[nodiscard]] BandOptions readBandOptions(const Component& band);
void writeBandOptions(Component& band, const BandOptions& options);

} // namespace velkaro::report
