#include "report/model/Appearance.h"

#include "base/AsciiCase.h"
#include "report/model/PropertyAccess.h"

#include <array>

namespace velkaro::report {

namespace {

constexpr std::array<std::string_view, 8> kLineStyleNames{"fsSolid",      "fsDash",   "fsDot",    "fsDashDot",
                                                          "fsDashDotDot", "fsDouble", "fsAltDot", "fsSquare"};

std::string join(std::string_view a, std::string_view b) {
    return std::string(a) + std::string(b);
}

FrameLine readLine(const Component& c, std::string_view side, const Frame& frame) {
    const std::string prefix = "Frame." + std::string(side) + "Line.";
    FrameLine line;
    line.color = c.color(prefix + "Color", frame.color);
    line.width = c.number(prefix + "Width", frame.width);
    const std::string* style = c.findAttribute(prefix + "Style");
    line.style = style ? parseLineStyle(*style) : frame.style;
    return line;
}

void writeLine(Component& c, std::string_view side, const FrameLine& before, const FrameLine& after) {
    const std::string prefix = "Frame." + std::string(side) + "Line.";
    writeIfChanged(c, prefix + "Color", before.color, after.color);
    writeIfChanged(c, prefix + "Width", before.width, after.width);
    if (before.style != after.style)
        c.setAttribute(prefix + "Style", lineStyleName(after.style));
}

} // namespace

Font readFont(const Component& c, std::string_view prefix) {
    Font font;
    font.name = std::string(c.attribute(join(prefix, "Name"), font.name));
    font.height = c.integer(join(prefix, "Height"), font.height);
    font.color = c.color(join(prefix, "Color"), font.color);
    font.style = uint32_t(c.integer(join(prefix, "Style"), 0)) & 0x0F;
    font.charset = c.integer(join(prefix, "Charset"), font.charset);
    return font;
}

void writeFont(Component& c, const Font& font, std::string_view prefix) {
    const Font before = readFont(c, prefix);
    writeIfChanged(c, join(prefix, "Name"), before.name, font.name);
    writeIfChanged(c, join(prefix, "Height"), before.height, font.height);
    writeIfChanged(c, join(prefix, "Color"), before.color, font.color);
    writeIfChanged(c, join(prefix, "Style"), int64_t(before.style), int64_t(font.style));
    writeIfChanged(c, join(prefix, "Charset"), before.charset, font.charset);
}

LineStyle parseLineStyle(std::string_view text) {
    for (size_t i = 0; i < kLineStyleNames.size(); ++i) {
        if (equalsIgnoreAsciiCase(kLineStyleNames[i], text))
            return LineStyle(i);
    }
    return LineStyle::Solid;
}

std::string lineStyleName(LineStyle style) {
    return std::string(kLineStyleNames[size_t(style)]);
}

Frame readFrame(const Component& c) {
    Frame frame;
    frame.sides = uint32_t(c.integer("Frame.Typ", 0)) & 0x0F;
    frame.width = c.number("Frame.Width", frame.width);
    frame.color = c.color("Frame.Color", frame.color);
    frame.style = parseLineStyle(c.attribute("Frame.Style", "fsSolid"));
    frame.dropShadow = c.boolean("Frame.DropShadow", false);
    frame.shadowWidth = c.number("Frame.ShadowWidth", frame.shadowWidth);
    frame.shadowColor = c.color("Frame.ShadowColor", frame.shadowColor);
    frame.left = readLine(c, "Left", frame);
    frame.top = readLine(c, "Top", frame);
    frame.right = readLine(c, "Right", frame);
    frame.bottom = readLine(c, "Bottom", frame);
    return frame;
}

void writeFrame(Component& c, const Frame& frame) {
    const Frame before = readFrame(c);
    writeIfChanged(c, "Frame.Typ", int64_t(before.sides), int64_t(frame.sides));
    writeIfChanged(c, "Frame.Width", before.width, frame.width);
    writeIfChanged(c, "Frame.Color", before.color, frame.color);
    if (before.style != frame.style)
        c.setAttribute("Frame.Style", lineStyleName(frame.style));
    writeIfChanged(c, "Frame.DropShadow", before.dropShadow, frame.dropShadow);
    writeIfChanged(c, "Frame.ShadowWidth", before.shadowWidth, frame.shadowWidth);
    writeIfChanged(c, "Frame.ShadowColor", before.shadowColor, frame.shadowColor);
    // Side lines are compared with what they read after the frame's own values were written.
    const Frame updated = readFrame(c);
    writeLine(c, "Left", updated.left, frame.left);
    writeLine(c, "Top", updated.top, frame.top);
    writeLine(c, "Right", updated.right, frame.right);
    writeLine(c, "Bottom", updated.bottom, frame.bottom);
}

Fill readFill(const Component& c) {
    Fill fill;
    const std::string_view type = c.attribute("FillType", "ftBrush");
    if (equalsIgnoreAsciiCase(type, "ftGradient"))
        fill.kind = FillKind::Gradient;
    else if (equalsIgnoreAsciiCase(type, "ftGlass"))
        fill.kind = FillKind::Glass;
    fill.backColor = c.color("Fill.BackColor", c.color("Color", colors::kNone));
    fill.foreColor = c.color("Fill.ForeColor", fill.foreColor);
    fill.brushStyle = std::string(c.attribute("Fill.Style", fill.brushStyle));
    fill.gradientStartColor = c.color("Fill.StartColor", fill.gradientStartColor);
    fill.gradientEndColor = c.color("Fill.EndColor", fill.gradientEndColor);
    fill.gradientStyle = std::string(c.attribute("Fill.GradientStyle", fill.gradientStyle));
    return fill;
}

void writeFill(Component& c, const Fill& fill) {
    const Fill before = readFill(c);
    if (before.kind != fill.kind) {
        static constexpr std::string_view kNames[] = {"ftBrush", "ftGradient", "ftGlass"};
        c.setAttribute("FillType", std::string(kNames[size_t(fill.kind)]));
    }
    if (before.backColor != fill.backColor) {
        // Older templates keep the background in "Color"; write where it already is.
        if (!c.hasAttribute("Fill.BackColor") && c.hasAttribute("Color"))
            c.setColor("Color", fill.backColor);
        else
            c.setColor("Fill.BackColor", fill.backColor);
    }
    writeIfChanged(c, "Fill.ForeColor", before.foreColor, fill.foreColor);
    writeIfChanged(c, "Fill.Style", before.brushStyle, fill.brushStyle);
    writeIfChanged(c, "Fill.StartColor", before.gradientStartColor, fill.gradientStartColor);
    writeIfChanged(c, "Fill.EndColor", before.gradientEndColor, fill.gradientEndColor);
    writeIfChanged(c, "Fill.GradientStyle", before.gradientStyle, fill.gradientStyle);
}

HorizontalAlign readHorizontalAlign(const Component& c) {
    const std::string_view text = c.attribute("HAlign");
    if (equalsIgnoreAsciiCase(text, "haRight"))
        return HorizontalAlign::Right;
    if (equalsIgnoreAsciiCase(text, "haCenter"))
        return HorizontalAlign::Center;
    if (equalsIgnoreAsciiCase(text, "haBlock"))
        return HorizontalAlign::Block;
    return HorizontalAlign::Left;
}

VerticalAlign readVerticalAlign(const Component& c) {
    const std::string_view text = c.attribute("VAlign");
    if (equalsIgnoreAsciiCase(text, "vaBottom"))
        return VerticalAlign::Bottom;
    if (equalsIgnoreAsciiCase(text, "vaCenter"))
        return VerticalAlign::Center;
    return VerticalAlign::Top;
}

void writeHorizontalAlign(Component& c, HorizontalAlign align) {
    if (readHorizontalAlign(c) == align)
        return;
    static constexpr std::string_view kNames[] = {"haLeft", "haRight", "haCenter", "haBlock"};
    c.setAttribute("HAlign", std::string(kNames[size_t(align)]));
}

void writeVerticalAlign(Component& c, VerticalAlign align) {
    if (readVerticalAlign(c) == align)
        return;
    static constexpr std::string_view kNames[] = {"vaTop", "vaBottom", "vaCenter"};
    c.setAttribute("VAlign", std::string(kNames[size_t(align)]));
}

} // namespace velkaro::report
