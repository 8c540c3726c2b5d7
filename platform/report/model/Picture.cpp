#include "report/model/Picture.h"

#include "report/model/PropertyStream.h"

namespace velkaro::report {

namespace {

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

uint32_t readLittleEndian32(std::string_view bytes) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= uint32_t(static_cast<uint8_t>(bytes[size_t(i)])) << (8 * i);
    return value;
}

// The binary value of a one-property stream, or nullopt.
std::optional<std::string> singleBinary(std::string_view hex, std::string_view propertyName,
                                        std::string* error) {
    auto setError = [&](std::string text) {
        if (error)
            *error = std::move(text);
    };
    auto bytes = decodeHex(hex);
    if (!bytes) {
        setError("no es hexadecimal");
        return std::nullopt;
    }
    // The strings here are ASCII class and property names; the code page does not matter.
    PropertyStream stream = decodePropertyStream(*bytes, CodePage::Windows1252);
    if (!stream.ok()) {
        setError(stream.error);
        return std::nullopt;
    }
    for (const StreamProperty& property : stream.properties) {
        if (property.name == propertyName && property.value.tag == StreamTag::Binary)
            return property.value.text;
    }
    setError("falta la propiedad " + std::string(propertyName));
    return std::nullopt;
}

std::string singleBinaryHex(std::string_view propertyName, std::string data) {
    StreamProperty property;
    property.name = std::string(propertyName);
    property.value.tag = StreamTag::Binary;
    property.value.text = std::move(data);
    return encodeHex(encodePropertyStream({property}));
}

} // namespace

ImageFormat detectImageFormat(std::string_view bytes) {
    if (startsWith(bytes, "\x89PNG\r\n\x1a\n"))
        return ImageFormat::Png;
    if (startsWith(bytes, "\xFF\xD8\xFF"))
        return ImageFormat::Jpeg;
    if (startsWith(bytes, "BM") && bytes.size() >= 14)
        return ImageFormat::Bmp;
    if (startsWith(bytes, "GIF87a") || startsWith(bytes, "GIF89a"))
        return ImageFormat::Gif;
    return ImageFormat::Unknown;
}

Picture pictureFromImage(std::string image) {
    Picture picture;
    switch (detectImageFormat(image)) {
    case ImageFormat::Png:
        picture.graphicClass = "TPNGObject";
        break;
    case ImageFormat::Jpeg:
        picture.graphicClass = "TJPEGImage";
        picture.layout = Picture::Layout::SizePrefixed;
        break;
    case ImageFormat::Bmp:
        picture.graphicClass = "TBitmap";
        picture.layout = Picture::Layout::SizePrefixed;
        break;
    case ImageFormat::Gif:
        picture.graphicClass = "TGIFImage";
        break;
    case ImageFormat::Unknown:
        break;
    }
    picture.image = std::move(image);
    return picture;
}

std::optional<Picture> decodePicturePropData(std::string_view hex, std::string* error) {
    if (hex.empty())
        return Picture{};
    auto data = singleBinary(hex, "Data", error);
    if (!data)
        return std::nullopt;
    Picture picture;
    std::string_view rest = *data;
    if (rest.empty())
        return picture;
    const size_t classLength = static_cast<uint8_t>(rest[0]);
    if (classLength + 1 > rest.size()) {
        if (error)
            *error = "nombre de clase truncado";
        return std::nullopt;
    }
    picture.graphicClass = std::string(rest.substr(1, classLength));
    rest.remove_prefix(classLength + 1);
    // Bitmap and JPEG classes write the byte count first; PNG classes write the file directly.
    if (detectImageFormat(rest) == ImageFormat::Unknown && rest.size() >= 4 &&
        readLittleEndian32(rest) == rest.size() - 4) {
        picture.layout = Picture::Layout::SizePrefixed;
        rest.remove_prefix(4);
    }
    picture.image = std::string(rest);
    return picture;
}

std::string encodePicturePropData(const Picture& picture) {
    if (picture.empty())
        return {};
    std::string data;
    data += char(picture.graphicClass.size() > 255 ? 255 : picture.graphicClass.size());
    data.append(picture.graphicClass, 0, 255);
    if (picture.layout == Picture::Layout::SizePrefixed) {
        const auto size = uint32_t(picture.image.size());
        for (int i = 0; i < 4; ++i)
            data += char((size >> (8 * i)) & 0xFF);
    }
    data += picture.image;
    return singleBinaryHex("Data", std::move(data));
}

std::optional<Picture> readPicture(const Component& component, std::string_view attribute) {
    const std::string* hex = component.findAttribute(attribute);
    if (!hex)
        return Picture{};
    return decodePicturePropData(*hex);
}

void writePicture(Component& component, const Picture& picture, std::string_view attribute) {
    if (picture.empty())
        component.removeAttribute(attribute);
    else
        component.setAttribute(attribute, encodePicturePropData(picture));
}

std::optional<std::string> readRichText(const Component& component) {
    const std::string* hex = component.findAttribute("PropData");
    if (!hex || hex->empty())
        return std::string();
    return singleBinary(*hex, "RichEdit", nullptr);
}

void writeRichText(Component& component, std::string_view richText) {
    component.setAttribute("PropData", singleBinaryHex("RichEdit", std::string(richText)));
}

} // namespace velkaro::report
