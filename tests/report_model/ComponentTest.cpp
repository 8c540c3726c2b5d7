#include "report/model/Component.h"
#include "report/model/Appearance.h"
#include "report/model/Fr3Reader.h"
#include "report/model/Fr3Writer.h"
#include "report/model/Layout.h"
#include "report/model/PropertyText.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

TEST(PropertyText, ReadsNumbersIntegersBooleansAndColors) {
    EXPECT_EQ(parseNumber("3,77953"), 3.77953);
    EXPECT_EQ(parseNumber(" 41335.75 "), 41335.75);
    EXPECT_EQ(parseNumber("-1,5E-3"), -0.0015);
    EXPECT_EQ(parseNumber("+2"), 2.0);
    for (const char* bad : {"", "abc", "1,2,3", "1.5x", "inf", "nan", "--1", "++1"})
        EXPECT_FALSE(parseNumber(bad)) << bad;
    EXPECT_EQ(parseInteger("-16777208"), -16777208);
    EXPECT_EQ(parseInteger("$1FFFFFFF"), 0x1FFFFFFF);
    EXPECT_EQ(parseInteger("$FF000008"), int32_t(0xFF000008));
    EXPECT_FALSE(parseInteger("99999999999999999999"));
    EXPECT_EQ(parseBoolean("true"), true);
    EXPECT_EQ(parseBoolean("FALSE"), false);
    EXPECT_FALSE(parseBoolean("1"));
    EXPECT_EQ(parseColor("clWhite"), 0xFFFFFF);
    EXPECT_EQ(parseColor("clnone"), colors::kNone);
    EXPECT_EQ(parseColor("clSilver"), 0xC0C0C0);
    EXPECT_EQ(parseColor("clWindowText"), colors::kWindowText);
    EXPECT_EQ(parseColor("-16777208"), colors::kWindowText);
    EXPECT_EQ(parseColor("4278190088"), colors::kWindowText); // unsigned spelling
    EXPECT_FALSE(parseColor("clNoSuchColor"));
    for (double value : {0.1, 718.1107, -3.0, 1e-7, 43479.6971598032})
        EXPECT_EQ(parseNumber(formatNumber(value)), value);
}

TEST(Component, TypedAccessorsReadWhatTemplatesWrite) {
    const ReadResult result =
        Fr3Reader(CodePage::Windows1252)
            .read(R"(<TfrxMemoView Name="M" Left="3,5" Font.Height="-16" Font.Name="Tahoma"
 Font.Style="3" Font.Color="clRed" Frame.Typ="9" Frame.Width="2" Frame.Style="fsDash" Frame.TopLine.Width="0,5"
 Color="clSilver" HAlign="haBlock" VAlign="vaCenter" Text="a&#13;&#10;b"/>)");
    ASSERT_TRUE(result.errors.empty());
    const Component& memo = *result.root;
    EXPECT_EQ(memo.left(), 3.5);
    const Font font = readFont(memo);
    EXPECT_EQ(font.name, "Tahoma");
    EXPECT_EQ(font.height, -16);
    EXPECT_EQ(font.points(), 12.0);
    EXPECT_EQ(font.style, kFontBold | kFontItalic);
    EXPECT_EQ(font.color, 0x0000FF);
    const Frame frame = readFrame(memo);
    EXPECT_EQ(frame.sides, kFrameLeft | kFrameBottom);
    EXPECT_EQ(frame.style, LineStyle::Dash);
    EXPECT_EQ(frame.top.width, 0.5);
    EXPECT_EQ(frame.left.width, 2.0); // falls back to the frame's width
    EXPECT_EQ(frame.left.style, LineStyle::Dash);
    EXPECT_EQ(readFill(memo).backColor, 0xC0C0C0);
    EXPECT_EQ(readHorizontalAlign(memo), HorizontalAlign::Block);
    EXPECT_EQ(readVerticalAlign(memo), VerticalAlign::Center);
    EXPECT_EQ(memo.text(), "a\r\nb");
    // Defaults where nothing is said.
    Component empty("TfrxMemoView");
    EXPECT_EQ(readFont(empty), Font{});
    EXPECT_EQ(readFill(empty).backColor, colors::kNone);
    EXPECT_TRUE(empty.visible());
}

TEST(Component, WritersChangeOnlyWhatDiffersAndKeepPlaces) {
    Component memo("TfrxMemoView");
    memo.appendAttribute("Name", "M");
    memo.appendAttribute("Memo.Text", "old");
    memo.appendAttribute("Color", "16777215");
    Font font = readFont(memo);
    font.style = kFontUnderline;
    writeFont(memo, font);
    Fill fill = readFill(memo);
    fill.backColor = 0x00FF00;
    writeFill(memo, fill);
    memo.setText("new");
    Frame frame = readFrame(memo);
    frame.sides = 15;
    frame.bottom.width = 3;
    writeFrame(memo, frame);
    ASSERT_EQ(memo.attributes().size(), 6u);
    EXPECT_EQ(memo.attributes()[1].value, "new");   // Memo.Text stays where it was
    EXPECT_EQ(memo.attributes()[2].value, "65280"); // background in the older Color
    EXPECT_EQ(memo.attributes()[3].name, "Font.Style");
    EXPECT_EQ(memo.attributes()[4].name, "Frame.Typ");
    EXPECT_EQ(memo.attributes()[5].name, "Frame.BottomLine.Width");
    EXPECT_EQ(readFrame(memo), frame);

    Component page("TfrxReportPage");
    PageSetup setup = readPageSetup(page);
    setup.orientation = Orientation::Landscape;
    setup.paperWidth = 297;
    setup.paperHeight = 210;
    writePageSetup(page, setup);
    EXPECT_EQ(readPageSetup(page), setup);
    EXPECT_EQ(page.attributes().size(), 3u);
}

TEST(Component, DeepTreesCopyWriteAndDieWithoutRecursion) {
    auto root = std::make_unique<Component>("TfrxReport");
    Component* node = root.get();
    for (int i = 0; i < 200'000; ++i)
        node = &node->appendChild("a");
    node->appendAttribute("Name", "bottom");
    auto copy = root->clone();
    EXPECT_NE(copy->findByName("BOTTOM"), nullptr);
    const std::string text = writeFr3(*copy);
    EXPECT_GT(text.size(), 200'000u * 4);
    copy.reset();
    root->clearChildren();
    EXPECT_EQ(root->childCount(), 0u);
}

TEST(Component, ChildrenKeepParentLinks) {
    Component page("TfrxReportPage");
    Component& band = page.appendChild("TfrxMasterData");
    Component& first = page.insertChild(0, std::make_unique<Component>("TfrxPageHeader"));
    EXPECT_EQ(band.parent(), &page);
    EXPECT_EQ(&page.child(0), &first);
    auto taken = page.takeChild(1);
    EXPECT_EQ(taken->parent(), nullptr);
    EXPECT_EQ(page.childCount(), 1u);
    EXPECT_EQ(page.findChild("TfrxPageHeader"), &first);
    EXPECT_EQ(componentKind("TfrxDMPPage"), ComponentKind::ReportPage);
    EXPECT_TRUE(isDataBand(*bandKind("TfrxDetailData")));
    EXPECT_FALSE(bandKind("TfrxMemoView"));
}

} // namespace
} // namespace velkaro::report
