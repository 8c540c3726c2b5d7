#pragma once

#include "report/model/Component.h"

#include <optional>
#include <string>
#include <string_view>

namespace velkaro::report {

enum class ImageFormat { Unknown, Png, Jpeg, Bmp, Gif };

// The file format of image bytes, by their signature.
[[nodiscard]] ImageFormat detectImageFormat(std::string_view bytes);

// A picture as a template stores it: the graphic class that wrote it ("TPNGObject",
// "TJPEGImage", "TBitmap"...) and the image file. Some classes put the image's byte count in
// front of it, others write the file as it is; the layout is kept so that the picture is saved
// the way it was read. Bytes we cannot recognise are kept as they are, in image.
struct Picture {
    enum class Layout { Plain, SizePrefixed };

    std::string graphicClass;
    std::string image;
    Layout layout = Layout::Plain;

    [[nodiscard]] ImageFormat format() const { return detectImageFormat(image); }
    [[nodiscard]] bool empty() const { return graphicClass.empty() && image.empty(); }
    friend bool operator==(const Picture&, const Picture&) = default;
};

// A picture for image file bytes, with the graphic class that templates use for its format
// (PNG, JPEG, BMP, GIF; unknown bytes get no class and load as an empty picture elsewhere).
[[nodiscard]] Picture pictureFromImage(std::string image);

// Reads a "Picture.PropData" value (hex of a property stream whose "Data" holds a one-byte class
// name length, the class name, then the image). nullopt with error set when it is damaged; an
// empty value is an empty picture.
[[nodiscard]] std::optional<Picture> decodePicturePropData(std::string_view hex,
                                                           std::string* error = nullptr);
[[nodiscard]] std::string encodePicturePropData(const Picture& picture);

// The picture of a picture object or page ("Picture.PropData", "BackPicture.PropData").
[[nodiscard]] std::optional<Picture> readPicture(const Component& component,
                                                 std::string_view attribute = "Picture.PropData");
// An empty picture removes the attribute.
void writePicture(Component& component, const Picture& picture,
                  std::string_view attribute = "Picture.PropData");

// The rich text of a rich-text object ("PropData" holding "RichEdit" binary), as the bytes stored.
[[nodiscard]] std::optional<std::string> readRichText(const Component& component);
void writeRichText(Component& component, std::string_view richText);

} // namespace velkaro::report
