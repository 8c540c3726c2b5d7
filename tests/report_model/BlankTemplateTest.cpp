#include "report/model/BlankTemplate.h"
#include "report/model/Appearance.h"
#include "report/model/Layout.h"
#include "report/model/Report.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

TEST(BlankTemplate, IsElevenCrLfLinesOf1549AsciiBytes) {
    EXPECT_EQ(kBlankTemplate.size(), 1549u);
    size_t lines = 0;
    for (size_t i = 0; i < kBlankTemplate.size(); ++i) {
        EXPECT_LT(static_cast<unsigned char>(kBlankTemplate[i]), 0x80u);
        if (kBlankTemplate[i] == '\n') {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(kBlankTemplate[i - 1], '\r');
            ++lines;
        }
    }
    EXPECT_EQ(lines, 11u);
    EXPECT_TRUE(kBlankTemplate.ends_with("</TfrxReport>\r\n"));
    EXPECT_TRUE(kBlankTemplate.starts_with(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<TfrxReport Version=\"5.3.16\""));
}

TEST(BlankTemplate, LoadsAsOneDataPageAndOneA4PageWithThreeBands) {
    Report report;
    ASSERT_TRUE(report.load(kBlankTemplate));
    const Component& root = report.root();
    ASSERT_EQ(root.childCount(), 2u);
    EXPECT_EQ(componentKind(root.child(0).className()), ComponentKind::DataPage);
    const Component& page = root.child(1);
    EXPECT_EQ(componentKind(page.className()), ComponentKind::ReportPage);
    const PageSetup setup = readPageSetup(page);
    EXPECT_EQ(setup.paperWidth, 210.0);
    EXPECT_EQ(setup.paperHeight, 297.0);
    EXPECT_EQ(setup.paperSize, 9);
    EXPECT_EQ(setup.orientation, Orientation::Portrait);
    EXPECT_EQ(setup.leftMargin, 10.0);
    EXPECT_EQ(setup.bottomMargin, 10.0);

    ASSERT_EQ(page.childCount(), 3u);
    EXPECT_EQ(page.child(0).name(), "ReportTitle1");
    EXPECT_EQ(bandKind(page.child(0).className()), BandKind::ReportTitle);
    const Component& master = page.child(1);
    EXPECT_EQ(master.name(), "MasterData1");
    EXPECT_EQ(bandKind(master.className()), BandKind::MasterData);
    EXPECT_EQ(readBandOptions(master).rowCount, 0);
    EXPECT_TRUE(master.datasetName().empty());
    EXPECT_DOUBLE_EQ(master.top(), 102.04731);
    const Component& footer = page.child(2);
    EXPECT_EQ(footer.name(), "PageFooter1");
    ASSERT_EQ(footer.childCount(), 1u);
    const Component& memo = footer.child(0);
    EXPECT_EQ(memo.name(), "Memo1");
    EXPECT_EQ(memo.text(), "[Page#]");
    EXPECT_EQ(readHorizontalAlign(memo), HorizontalAlign::Right);
    EXPECT_DOUBLE_EQ(memo.left(), 642.5201);

    EXPECT_EQ(report.scriptLanguage(), "PascalScript");
    EXPECT_EQ(report.scriptText(), "\r\nbegin\r\n\r\nend.");
    EXPECT_EQ(report.printOptions().printer, "Default");
    EXPECT_TRUE(report.variables().empty());
    EXPECT_TRUE(report.usedDatasets().empty());
}

TEST(BlankTemplate, SavedByAReportWithTheSameOwnSettingsIsTheSameBytes) {
    Report report;
    report.setIniFile("\\Software\\Fast Reports");
    report.root().setInteger("PreviewOptions.Buttons", 4095);
    report.root().setAttribute("PreviewOptions.Zoom", "1");
    ASSERT_TRUE(report.load(kBlankTemplate));
    EXPECT_EQ(report.save(), kBlankTemplate);
}

} // namespace
} // namespace velkaro::report
