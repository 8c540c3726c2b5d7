#include "report/model/Layout.h"

#include "base/AsciiCase.h"
#include "report/model/PropertyAccess.h"

#include <array>
#include <utility>

namespace velkaro::report {

namespace {

constexpr std::array<std::pair<std::string_view, BandKind>, 18> kBands{{
    {"TfrxReportTitle", BandKind::ReportTitle},
    {"TfrxReportSummary", BandKind::ReportSummary},
    {"TfrxPageHeader", BandKind::PageHeader},
    {"TfrxPageFooter", BandKind::PageFooter},
    {"TfrxHeader", BandKind::Header},
    {"TfrxFooter", BandKind::Footer},
    {"TfrxMasterData", BandKind::MasterData},
    {"TfrxDetailData", BandKind::DetailData},
    {"TfrxSubdetailData", BandKind::SubdetailData},
    {"TfrxDataBand4", BandKind::DataBand4},
    {"TfrxDataBand5", BandKind::DataBand5},
    {"TfrxDataBand6", BandKind::DataBand6},
    {"TfrxGroupHeader", BandKind::GroupHeader},
    {"TfrxGroupFooter", BandKind::GroupFooter},
    {"TfrxChild", BandKind::Child},
    {"TfrxColumnHeader", BandKind::ColumnHeader},
    {"TfrxColumnFooter", BandKind::ColumnFooter},
    {"TfrxOverlay", BandKind::Overlay},
}};

} // namespace

ComponentKind componentKind(std::string_view className) {
    if (className == "TfrxReport")
        return ComponentKind::Report;
    if (className == "TfrxReportPage" || className == "TfrxDMPPage")
        return ComponentKind::ReportPage;
    if (className == "TfrxDataPage")
        return ComponentKind::DataPage;
    if (className == "TfrxDialogPage")
        return ComponentKind::DialogPage;
    if (bandKind(className))
        return ComponentKind::Band;
    return ComponentKind::Other;
}

std::optional<BandKind> bandKind(std::string_view className) {
    for (const auto& [name, kind] : kBands) {
        if (name == className)
            return kind;
    }
    return std::nullopt;
}

bool isDataBand(BandKind kind) {
    switch (kind) {
    case BandKind::MasterData:
    case BandKind::DetailData:
    case BandKind::SubdetailData:
    case BandKind::DataBand4:
    case BandKind::DataBand5:
    case BandKind::DataBand6:
        return true;
    default:
        return false;
    }
}

PageSetup readPageSetup(const Component& page) {
    PageSetup s;
    s.paperWidth = page.number("PaperWidth", s.paperWidth);
    s.paperHeight = page.number("PaperHeight", s.paperHeight);
    s.paperSize = page.integer("PaperSize", s.paperSize);
    s.orientation = equalsIgnoreAsciiCase(page.attribute("Orientation"), "poLandscape")
                        ? Orientation::Landscape
                        : Orientation::Portrait;
    s.leftMargin = page.number("LeftMargin", s.leftMargin);
    s.rightMargin = page.number("RightMargin", s.rightMargin);
    s.topMargin = page.number("TopMargin", s.topMargin);
    s.bottomMargin = page.number("BottomMargin", s.bottomMargin);
    s.columns = page.integer("Columns", s.columns);
    s.columnWidth = page.number("ColumnWidth", s.columnWidth);
    s.columnPositions = std::string(page.attribute("ColumnPositions.Text"));
    s.mirrorMargins = page.boolean("MirrorMargins", false);
    s.endlessWidth = page.boolean("EndlessWidth", false);
    s.endlessHeight = page.boolean("EndlessHeight", false);
    s.titleBeforeHeader = page.boolean("TitleBeforeHeader", true);
    s.printIfEmpty = page.boolean("PrintIfEmpty", true);
    s.resetPageNumbers = page.boolean("ResetPageNumbers", false);
    return s;
}

void writePageSetup(Component& page, const PageSetup& s) {
    const PageSetup b = readPageSetup(page);
    writeIfChanged(page, "PaperWidth", b.paperWidth, s.paperWidth);
    writeIfChanged(page, "PaperHeight", b.paperHeight, s.paperHeight);
    writeIfChanged(page, "PaperSize", b.paperSize, s.paperSize);
    if (b.orientation != s.orientation)
        page.setAttribute("Orientation",
                          s.orientation == Orientation::Landscape ? "poLandscape" : "poPortrait");
    writeIfChanged(page, "LeftMargin", b.leftMargin, s.leftMargin);
    writeIfChanged(page, "RightMargin", b.rightMargin, s.rightMargin);
    writeIfChanged(page, "TopMargin", b.topMargin, s.topMargin);
    writeIfChanged(page, "BottomMargin", b.bottomMargin, s.bottomMargin);
    writeIfChanged(page, "Columns", b.columns, s.columns);
    writeIfChanged(page, "ColumnWidth", b.columnWidth, s.columnWidth);
    writeIfChanged(page, "ColumnPositions.Text", b.columnPositions, s.columnPositions);
    writeIfChanged(page, "MirrorMargins", b.mirrorMargins, s.mirrorMargins);
    writeIfChanged(page, "EndlessWidth", b.endlessWidth, s.endlessWidth);
    writeIfChanged(page, "EndlessHeight", b.endlessHeight, s.endlessHeight);
    writeIfChanged(page, "TitleBeforeHeader", b.titleBeforeHeader, s.titleBeforeHeader);
    writeIfChanged(page, "PrintIfEmpty", b.printIfEmpty, s.printIfEmpty);
    writeIfChanged(page, "ResetPageNumbers", b.resetPageNumbers, s.resetPageNumbers);
}

BandOptions readBandOptions(const Component& band) {
    BandOptions o;
    o.stretched = band.boolean("Stretched", false);
    o.startNewPage = band.boolean("StartNewPage", false);
    o.printOnFirstPage = band.boolean("PrintOnFirstPage", true);
    o.printOnLastPage = band.boolean("PrintOnLastPage", true);
    o.keepTogether = band.boolean("KeepTogether", false);
    o.allowSplit = band.boolean("AllowSplit", false);
    o.keepChild = band.boolean("KeepChild", false);
    o.keepHeader = band.boolean("KeepHeader", false);
    o.keepFooter = band.boolean("KeepFooter", false);
    o.printChildIfInvisible = band.boolean("PrintChildIfInvisible", false);
    o.printIfDetailEmpty = band.boolean("PrintIfDetailEmpty", false);
    o.reprintOnNewPage = band.boolean("ReprintOnNewPage", false);
    o.footerAfterEach = band.boolean("FooterAfterEach", false);
    o.child = std::string(band.attribute("Child"));
    o.rowCount = band.integer("RowCount", 0);
    o.columns = band.integer("Columns", 0);
    o.columnWidth = band.number("ColumnWidth", 0);
    o.columnGap = band.number("ColumnGap", 0);
    o.condition = std::string(band.attribute("Condition"));
    o.outlineText = std::string(band.attribute("OutlineText"));
    return o;
}

void writeBandOptions(Component& band, const BandOptions& o) {
    const BandOptions b = readBandOptions(band);
    writeIfChanged(band, "Stretched", b.stretched, o.stretched);
    writeIfChanged(band, "StartNewPage", b.startNewPage, o.startNewPage);
    writeIfChanged(band, "PrintOnFirstPage", b.printOnFirstPage, o.printOnFirstPage);
    writeIfChanged(band, "PrintOnLastPage", b.printOnLastPage, o.printOnLastPage);
    writeIfChanged(band, "KeepTogether", b.keepTogether, o.keepTogether);
    writeIfChanged(band, "AllowSplit", b.allowSplit, o.allowSplit);
    writeIfChanged(band, "KeepChild", b.keepChild, o.keepChild);
    writeIfChanged(band, "KeepHeader", b.keepHeader, o.keepHeader);
    writeIfChanged(band, "KeepFooter", b.keepFooter, o.keepFooter);
    writeIfChanged(band, "PrintChildIfInvisible", b.printChildIfInvisible, o.printChildIfInvisible);
    writeIfChanged(band, "PrintIfDetailEmpty", b.printIfDetailEmpty, o.printIfDetailEmpty);
    writeIfChanged(band, "ReprintOnNewPage", b.reprintOnNewPage, o.reprintOnNewPage);
    writeIfChanged(band, "FooterAfterEach", b.footerAfterEach, o.footerAfterEach);
    writeIfChanged(band, "Child", b.child, o.child);
    writeIfChanged(band, "RowCount", b.rowCount, o.rowCount);
    writeIfChanged(band, "Columns", b.columns, o.columns);
    writeIfChanged(band, "ColumnWidth", b.columnWidth, o.columnWidth);
    writeIfChanged(band, "ColumnGap", b.columnGap, o.columnGap);
    writeIfChanged(band, "Condition", b.condition, o.condition);
    writeIfChanged(band, "OutlineText", b.outlineText, o.outlineText);
}

} // namespace velkaro::report
