#include "report/model/ReportOptions.h"

#include "base/AsciiCase.h"
#include "report/model/PropertyAccess.h"

namespace velkaro::report {

EngineOptions readEngineOptions(const Component& r) {
    EngineOptions o;
    o.doublePass = r.boolean("EngineOptions.DoublePass", o.doublePass);
    o.convertNulls = r.boolean("EngineOptions.ConvertNulls", o.convertNulls);
    o.ignoreDivisionByZero = r.boolean("EngineOptions.IgnoreDevByZero", o.ignoreDivisionByZero);
    o.printIfEmpty = r.boolean("EngineOptions.PrintIfEmpty", o.printIfEmpty);
    const std::string_view mode = r.attribute("EngineOptions.NewSilentMode");
    if (equalsIgnoreAsciiCase(mode, "simSilent"))
        o.silentMode = SilentMode::Silent;
    else if (equalsIgnoreAsciiCase(mode, "simReThrow"))
        o.silentMode = SilentMode::Rethrow;
    o.useFileCache = r.boolean("EngineOptions.UseFileCache", o.useFileCache);
    o.maxMemorySize = r.integer("EngineOptions.MaxMemSize", o.maxMemorySize);
    return o;
}

void writeEngineOptions(Component& r, const EngineOptions& o) {
    const EngineOptions b = readEngineOptions(r);
    writeIfChanged(r, "EngineOptions.DoublePass", b.doublePass, o.doublePass);
    writeIfChanged(r, "EngineOptions.ConvertNulls", b.convertNulls, o.convertNulls);
    writeIfChanged(r, "EngineOptions.IgnoreDevByZero", b.ignoreDivisionByZero, o.ignoreDivisionByZero);
    writeIfChanged(r, "EngineOptions.PrintIfEmpty", b.printIfEmpty, o.printIfEmpty);
    if (b.silentMode != o.silentMode) {
        static constexpr const char* kNames[] = {"simMessageBoxes", "simSilent", "simReThrow"};
        r.setAttribute("EngineOptions.NewSilentMode", kNames[size_t(o.silentMode)]);
    }
    writeIfChanged(r, "EngineOptions.UseFileCache", b.useFileCache, o.useFileCache);
    writeIfChanged(r, "EngineOptions.MaxMemSize", b.maxMemorySize, o.maxMemorySize);
}

PreviewOptions readPreviewOptions(const Component& r) {
    PreviewOptions o;
    o.buttons = r.integer("PreviewOptions.Buttons", o.buttons);
    o.zoom = r.number("PreviewOptions.Zoom", o.zoom);
    o.modal = r.boolean("PreviewOptions.Modal", o.modal);
    o.maximized = r.boolean("PreviewOptions.Maximized", o.maximized);
    o.allowEdit = r.boolean("PreviewOptions.AllowEdit", o.allowEdit);
    o.mdiChild = r.boolean("PreviewOptions.MDIChild", o.mdiChild);
    o.outlineVisible = r.boolean("PreviewOptions.OutlineVisible", o.outlineVisible);
    o.outlineWidth = r.integer("PreviewOptions.OutlineWidth", o.outlineWidth);
    o.outlineExpand = r.boolean("PreviewOptions.OutlineExpand", o.outlineExpand);
    o.pagesInCache = r.integer("PreviewOptions.PagesInCache", o.pagesInCache);
    o.thumbnailVisible = r.boolean("PreviewOptions.ThumbnailVisible", o.thumbnailVisible);
    o.zoomMode = std::string(r.attribute("PreviewOptions.ZoomMode", o.zoomMode));
    return o;
}

void writePreviewOptions(Component& r, const PreviewOptions& o) {
    const PreviewOptions b = readPreviewOptions(r);
    writeIfChanged(r, "PreviewOptions.Buttons", b.buttons, o.buttons);
    writeIfChanged(r, "PreviewOptions.Zoom", b.zoom, o.zoom);
    writeIfChanged(r, "PreviewOptions.Modal", b.modal, o.modal);
    writeIfChanged(r, "PreviewOptions.Maximized", b.maximized, o.maximized);
    writeIfChanged(r, "PreviewOptions.AllowEdit", b.allowEdit, o.allowEdit);
    writeIfChanged(r, "PreviewOptions.MDIChild", b.mdiChild, o.mdiChild);
    writeIfChanged(r, "PreviewOptions.OutlineVisible", b.outlineVisible, o.outlineVisible);
    writeIfChanged(r, "PreviewOptions.OutlineWidth", b.outlineWidth, o.outlineWidth);
    writeIfChanged(r, "PreviewOptions.OutlineExpand", b.outlineExpand, o.outlineExpand);
    writeIfChanged(r, "PreviewOptions.PagesInCache", b.pagesInCache, o.pagesInCache);
    writeIfChanged(r, "PreviewOptions.ThumbnailVisible", b.thumbnailVisible, o.thumbnailVisible);
    writeIfChanged(r, "PreviewOptions.ZoomMode", b.zoomMode, o.zoomMode);
}

PrintOptions readPrintOptions(const Component& r) {
    PrintOptions o;
    o.printer = std::string(r.attribute("PrintOptions.Printer", o.printer));
    o.copies = r.integer("PrintOptions.Copies", o.copies);
    o.collate = r.boolean("PrintOptions.Collate", o.collate);
    o.showDialog = r.boolean("PrintOptions.ShowDialog", o.showDialog);
    o.pageNumbers = std::string(r.attribute("PrintOptions.PageNumbers"));
    o.printOnSheet = r.integer("PrintOptions.PrintOnSheet", o.printOnSheet);
    o.printPages = std::string(r.attribute("PrintOptions.PrintPages", o.printPages));
    o.reverse = r.boolean("PrintOptions.Reverse", o.reverse);
    o.printMode = std::string(r.attribute("PrintOptions.PrintMode", o.printMode));
    return o;
}

void writePrintOptions(Component& r, const PrintOptions& o) {
    const PrintOptions b = readPrintOptions(r);
    writeIfChanged(r, "PrintOptions.Printer", b.printer, o.printer);
    writeIfChanged(r, "PrintOptions.Copies", b.copies, o.copies);
    writeIfChanged(r, "PrintOptions.Collate", b.collate, o.collate);
    writeIfChanged(r, "PrintOptions.ShowDialog", b.showDialog, o.showDialog);
    writeIfChanged(r, "PrintOptions.PageNumbers", b.pageNumbers, o.pageNumbers);
    writeIfChanged(r, "PrintOptions.PrintOnSheet", b.printOnSheet, o.printOnSheet);
    writeIfChanged(r, "PrintOptions.PrintPages", b.printPages, o.printPages);
    writeIfChanged(r, "PrintOptions.Reverse", b.reverse, o.reverse);
    writeIfChanged(r, "PrintOptions.PrintMode", b.printMode, o.printMode);
}

ReportInformation readReportInformation(const Component& r) {
    ReportInformation o;
    o.name = std::string(r.attribute("ReportOptions.Name"));
    o.author = std::string(r.attribute("ReportOptions.Author"));
    o.description = std::string(r.attribute("ReportOptions.Description.Text"));
    o.createDate = DateTime{r.number("ReportOptions.CreateDate", 0.0)};
    o.lastChange = DateTime{r.number("ReportOptions.LastChange", 0.0)};
    return o;
}

void writeReportInformation(Component& r, const ReportInformation& o) {
    const ReportInformation b = readReportInformation(r);
    writeIfChanged(r, "ReportOptions.Name", b.name, o.name);
    writeIfChanged(r, "ReportOptions.Author", b.author, o.author);
    writeIfChanged(r, "ReportOptions.Description.Text", b.description, o.description);
    writeIfChanged(r, "ReportOptions.CreateDate", b.createDate.serial, o.createDate.serial);
    writeIfChanged(r, "ReportOptions.LastChange", b.lastChange.serial, o.lastChange.serial);
}

} // namespace velkaro::report
