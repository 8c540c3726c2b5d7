#pragma once

#include <string_view>

namespace velkaro::report {

// The blank template: one data page and one A4 portrait page (10 mm margins) with a report title,
// a master data band without dataset and a page footer whose text shows the page number. It is
// what is loaded when the server sends no template, and where a new design starts. Eleven lines,
// each ending in CR LF, 1,549 bytes of ASCII.
inline constexpr std::string_view kBlankTemplate =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<TfrxReport Version=\"5.3.16\" DotMatrixReport=\"False\" IniFile=\"\\Software\\Fast Reports\" "
    "PreviewOptions.Buttons=\"4095\" PreviewOptions.Zoom=\"1\" PrintOptions.Printer=\"Default\" "
    "PrintOptions.PrintOnSheet=\"0\" ReportOptions.CreateDate=\"43479.6971598032\" "
    "ReportOptions.Description.Text=\"\" ReportOptions.LastChange=\"43479.6972052431\" "
    "ScriptLanguage=\"PascalScript\" ScriptText.Text=\"&#13;&#10;begin&#13;&#10;&#13;&#10;end.\">\r\n"
    "  <TfrxDataPage Name=\"Data\" Height=\"1000\" Left=\"0\" Top=\"0\" Width=\"1000\"/>\r\n"
    "  <TfrxReportPage Name=\"Page1\" PaperWidth=\"210\" PaperHeight=\"297\" PaperSize=\"9\" "
    "LeftMargin=\"10\" RightMargin=\"10\" TopMargin=\"10\" BottomMargin=\"10\" ColumnWidth=\"0\" "
    "ColumnPositions.Text=\"\" HGuides.Text=\"\" VGuides.Text=\"\">\r\n"
    "    <TfrxReportTitle Name=\"ReportTitle1\" FillType=\"ftBrush\" FillGap.Top=\"0\" FillGap.Left=\"0\" "
    "FillGap.Bottom=\"0\" FillGap.Right=\"0\" Height=\"22.67718\" Left=\"0\" Top=\"18.89765\" "
    "Width=\"718.1107\"/>\r\n"
    "    <TfrxMasterData Name=\"MasterData1\" FillType=\"ftBrush\" FillGap.Top=\"0\" FillGap.Left=\"0\" "
    "FillGap.Bottom=\"0\" FillGap.Right=\"0\" Height=\"22.67718\" Left=\"0\" Top=\"102.04731\" "
    "Width=\"718.1107\" ColumnWidth=\"0\" ColumnGap=\"0\" RowCount=\"0\"/>\r\n"
    "    <TfrxPageFooter Name=\"PageFooter1\" FillType=\"ftBrush\" FillGap.Top=\"0\" FillGap.Left=\"0\" "
    "FillGap.Bottom=\"0\" FillGap.Right=\"0\" Height=\"22.67718\" Left=\"0\" Top=\"185.19697\" "
    "Width=\"718.1107\">\r\n"
    "      <TfrxMemoView Name=\"Memo1\" Left=\"642.5201\" Top=\"0\" Width=\"75.5906\" Height=\"18.89765\" "
    "HAlign=\"haRight\" Text=\"[Page#]\"/>\r\n"
    "    </TfrxPageFooter>\r\n"
    "  </TfrxReportPage>\r\n"
    "</TfrxReport>\r\n";

} // namespace velkaro::report
