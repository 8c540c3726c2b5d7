#pragma once

#include "report/model/Component.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velkaro::report {

// Colours are TColor integers: 0x00BBGGRR, system colours negative (0xFF0000nn).
namespace colors {
constexpr int32_t kBlack = 0x000000;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kNone = 0x1FFFFFFF; // transparent
constexpr int32_t kWindowText = int32_t(0xFF000008);
} // namespace colors

enum FontStyleBits : uint32_t { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeOut = 8 };

// "Font.Name", "Font.Height" (negative: character height in 1/96 inch; positive: cell height),
// "Font.Color", "Font.Style" (bit set), "Font.Charset".
struct Font {
    std::string name = "Arial";
    int64_t height = -13;
    int32_t color = colors::kBlack;
    uint32_t style = 0;
    int64_t charset = 1;
    [[nodiscard]] double points() const { return double(height < 0 ? -height : height) * 72.0 / 96.0; }
    friend bool operator==(const Font&, const Font&) = default;
};

[[nodiscard]] Font readFont(const Component& component, std::string_view prefix = "Font.");
void writeFont(Component& component, const Font& font, std::string_view prefix = "Font.");

enum FrameSideBits : uint32_t { kFrameLeft = 1, kFrameRight = 2, kFrameTop = 4, kFrameBottom = 8 };

enum class LineStyle { Solid, Dash, Dot, DashDot, DashDotDot, Double, AltDot, Square };
[[nodiscard]] LineStyle parseLineStyle(std::string_view text); // "fsDash"...; Solid otherwise
[[nodiscard]] std::string lineStyleName(LineStyle style);

struct FrameLine {
    int32_t color = colors::kBlack;
    LineStyle style = LineStyle::Solid;
    double width = 1.0;
    friend bool operator==(const FrameLine&, const FrameLine&) = default;
};

// "Frame.Typ" (sides, bit set), "Frame.Width", "Frame.Color", "Frame.Style", shadow, and per side
// "Frame.LeftLine.Width" etc., each falling back to the frame's own value when absent.
struct Frame {
    uint32_t sides = 0;
    double width = 1.0;
    int32_t color = colors::kBlack;
    LineStyle style = LineStyle::Solid;
    FrameLine left, top, right, bottom;
    bool dropShadow = false;
    double shadowWidth = 4.0;
    int32_t shadowColor = colors::kBlack;
    friend bool operator==(const Frame&, const Frame&) = default;
};

[[nodiscard]] Frame readFrame(const Component& component);
void writeFrame(Component& component, const Frame& frame);

enum class FillKind { Brush, Gradient, Glass };

// "FillType", and "Fill.BackColor" (or the older "Color") as background; clNone is transparent.
struct Fill {
    FillKind kind = FillKind::Brush;
    int32_t backColor = colors::kNone;
    int32_t foreColor = colors::kBlack;
    std::string brushStyle = "bsSolid";
    int32_t gradientStartColor = colors::kWhite;
    int32_t gradientEndColor = colors::kBlack;
    std::string gradientStyle = "gsHorizontal";
    friend bool operator==(const Fill&, const Fill&) = default;
};

[[nodiscard]] Fill readFill(const Component& component);
void writeFill(Component& component, const Fill& fill);

enum class HorizontalAlign { Left, Right, Center, Block };
enum class VerticalAlign { Top, Bottom, Center };
[[nodiscard]] HorizontalAlign readHorizontalAlign(const Component& component); // "HAlign"
[[nodiscard]] VerticalAlign readVerticalAlign(const Component& component);     // "VAlign"
void writeHorizontalAlign(Component& component, HorizontalAlign align);
void writeVerticalAlign(Component& component, VerticalAlign align);

} // namespace velkaro::report
