#include "report/model/PropertyStream.h"

#include "report/model/PropertyText.h"

#include <cmath>
#include <cstring>

namespace velkaro::report {

namespace {

constexpr int kMaxNesting = 64;

class StreamDecoder {
public:
    StreamDecoder(std::string_view bytes, CodePage codePage) : bytes_(bytes), codePage_(codePage) {}

    void readProperties(std::vector<StreamProperty>& out, std::string& error) {
        try {
            while (pos_ < bytes_.size()) {
                // An empty name ends the property list; some writers add one.
                if (bytes_[pos_] == 0) {
                    ++pos_;
                    if (pos_ != bytes_.size())
                        fail("datos tras el final de las propiedades");
                    return;
                }
                StreamProperty property;
                property.name = readShortString();
                readValue(property.value, 0);
                out.push_back(std::move(property));
            }
        } catch (const DecodeFailure& failure) {
            error = failure.reason + " (byte " + std::to_string(failure.offset) + ")";
        }
    }

private:
    struct DecodeFailure {
        std::string reason;
        size_t offset;
    };

    [[noreturn]] void fail(std::string reason) const { throw DecodeFailure{std::move(reason), pos_}; }

    void need(size_t count) const {
        if (count > bytes_.size() - pos_)
            fail("flujo truncado");
    }

    uint8_t readByte() {
        need(1);
        return static_cast<uint8_t>(bytes_[pos_++]);
    }

    uint64_t readUnsigned(size_t count) {
        need(count);
        uint64_t value = 0;
        for (size_t i = 0; i < count; ++i)
            value |= uint64_t(static_cast<uint8_t>(bytes_[pos_ + i])) << (8 * i);
        pos_ += count;
        return value;
    }

    std::string_view readBytes(size_t count) {
        need(count);
        std::string_view out = bytes_.substr(pos_, count);
        pos_ += count;
        return out;
    }

    std::string readShortString() {
        const uint8_t length = readByte();
        return decodeMixedText(readBytes(length), codePage_);
    }

    void readValue(StreamValue& value, int depth) {
        if (depth > kMaxNesting)
            fail("anidamiento excesivo");
        const uint8_t tag = readByte();
        if (tag > uint8_t(StreamTag::Double))
            fail("tipo de valor desconocido " + std::to_string(tag));
        value.tag = static_cast<StreamTag>(tag);
        switch (value.tag) {
        case StreamTag::EndOfList:
            fail("fin de lista inesperado");
        case StreamTag::List:
            while (true) {
                need(1);
                if (bytes_[pos_] == 0) {
                    ++pos_;
                    break;
                }
                value.list.emplace_back();
                readValue(value.list.back(), depth + 1);
            }
            break;
        case StreamTag::Int8:
            value.integer = int8_t(readUnsigned(1));
            break;
        case StreamTag::Int16:
            value.integer = int16_t(readUnsigned(2));
            break;
        case StreamTag::Int32:
            value.integer = int32_t(readUnsigned(4));
            break;
        case StreamTag::Int64:
            value.integer = int64_t(readUnsigned(8));
            break;
        case StreamTag::Extended: {
            value.extendedBytes = std::string(readBytes(10));
            const auto* b = reinterpret_cast<const uint8_t*>(value.extendedBytes.data());
            uint64_t mantissa = 0;
            for (int i = 0; i < 8; ++i)
                mantissa |= uint64_t(b[i]) << (8 * i);
            const int exponent = ((b[9] & 0x7F) << 8) | b[8];
            const bool negative = (b[9] & 0x80) != 0;
            double magnitude =
                (exponent == 0 && mantissa == 0) ? 0.0 : std::ldexp(double(mantissa), exponent - 16383 - 63);
            value.number = negative ? -magnitude : magnitude;
            break;
        }
        case StreamTag::Single: {
            const uint32_t bits = uint32_t(readUnsigned(4));
            float f;
            std::memcpy(&f, &bits, 4);
            value.number = f;
            break;
        }
        case StreamTag::Double:
        case StreamTag::Date: {
            const uint64_t bits = readUnsigned(8);
            std::memcpy(&value.number, &bits, 8);
            break;
        }
        case StreamTag::Currency:
            value.integer = int64_t(readUnsigned(8));
            break;
        case StreamTag::String:
        case StreamTag::Identifier:
            value.text = readShortString();
            break;
        case StreamTag::LongString:
            value.text = decodeMixedText(readBytes(size_t(readUnsigned(4))), codePage_);
            break;
        case StreamTag::Utf8String:
            value.text = decodeMixedText(readBytes(size_t(readUnsigned(4))), codePage_);
            break;
        case StreamTag::WideString: {
            const uint64_t units = readUnsigned(4);
            if (units > (bytes_.size() - pos_) / 2)
                fail("flujo truncado");
            const std::string_view raw = readBytes(size_t(units) * 2);
            for (size_t i = 0; i < raw.size(); i += 2) {
                char32_t unit = char32_t(uint8_t(raw[i])) | (char32_t(uint8_t(raw[i + 1])) << 8);
                if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < raw.size()) {
                    const char32_t low = char32_t(uint8_t(raw[i + 2])) | (char32_t(uint8_t(raw[i + 3])) << 8);
                    if (low >= 0xDC00 && low < 0xE000) {
                        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                        i += 2;
                    }
                }
                appendUtf8(value.text, unit);
            }
            break;
        }
        case StreamTag::False:
        case StreamTag::True:
        case StreamTag::Nil:
            break;
        case StreamTag::Binary:
            value.text = std::string(readBytes(size_t(readUnsigned(4))));
            break;
        case StreamTag::Set:
            while (true) {
                std::string member = readShortString();
                if (member.empty())
                    break;
                value.setMembers.push_back(std::move(member));
            }
            break;
        case StreamTag::Collection:
            while (true) {
                need(1);
                if (bytes_[pos_] == 0) {
                    ++pos_;
                    break;
                }
                StreamItem item;
                const auto next = static_cast<StreamTag>(bytes_[pos_]);
                if (next == StreamTag::Int8 || next == StreamTag::Int16 || next == StreamTag::Int32) {
                    item.order.emplace();
                    readValue(*item.order, depth + 1);
                }
                if (readByte() != uint8_t(StreamTag::List))
                    fail("elemento de colección mal formado");
                while (true) {
                    need(1);
                    if (bytes_[pos_] == 0) {
                        ++pos_;
                        break;
                    }
                    StreamProperty property;
                    property.name = readShortString();
                    readValue(property.value, depth + 1);
                    item.properties.push_back(std::move(property));
                }
                value.items.push_back(std::move(item));
            }
            break;
        }
    }

    std::string_view bytes_;
    CodePage codePage_;
    size_t pos_ = 0;
};

void putUnsigned(std::string& out, uint64_t value, size_t count) {
    for (size_t i = 0; i < count; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

bool isAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

void putShortString(std::string& out, std::string_view text) {
    const size_t length = text.size() > 255 ? 255 : text.size();
    out += char(length);
    out.append(text.substr(0, length));
}

void encodeValue(std::string& out, const StreamValue& value);

void encodeProperties(std::string& out, const std::vector<StreamProperty>& properties) {
    for (const StreamProperty& property : properties) {
        putShortString(out, property.name);
        encodeValue(out, property.value);
    }
}

void encodeValue(std::string& out, const StreamValue& value) {
    switch (value.tag) {
    case StreamTag::EndOfList:
    case StreamTag::Nil:
        out += char(StreamTag::Nil);
        return;
    case StreamTag::List:
        out += char(StreamTag::List);
        for (const StreamValue& element : value.list)
            encodeValue(out, element);
        out += char(0);
        return;
    case StreamTag::Int8:
    case StreamTag::Int16:
    case StreamTag::Int32:
    case StreamTag::Int64: {
        const int64_t v = value.integer;
        if (v >= -128 && v <= 127) {
            out += char(StreamTag::Int8);
            putUnsigned(out, uint64_t(v), 1);
        } else if (v >= -32768 && v <= 32767) {
            out += char(StreamTag::Int16);
            putUnsigned(out, uint64_t(v), 2);
        } else if (v >= INT32_MIN && v <= INT32_MAX) {
            out += char(StreamTag::Int32);
            putUnsigned(out, uint64_t(v), 4);
        } else {
            out += char(StreamTag::Int64);
            putUnsigned(out, uint64_t(v), 8);
        }
        return;
    }
    case StreamTag::Extended:
        if (value.extendedBytes.size() == 10) {
            out += char(StreamTag::Extended);
            out += value.extendedBytes;
            return;
        }
        [[fallthrough]];
    case StreamTag::Double:
    case StreamTag::Date:
    case StreamTag::Single: {
        out += char(value.tag == StreamTag::Date ? StreamTag::Date : StreamTag::Double);
        uint64_t bits;
        std::memcpy(&bits, &value.number, 8);
        putUnsigned(out, bits, 8);
        return;
    }
    case StreamTag::Currency:
        out += char(StreamTag::Currency);
        putUnsigned(out, uint64_t(value.integer), 8);
        return;
    case StreamTag::Identifier:
        out += char(StreamTag::Identifier);
        putShortString(out, value.text);
        return;
    case StreamTag::String:
    case StreamTag::LongString:
    case StreamTag::Utf8String:
    case StreamTag::WideString:
        // Text is UTF-8 here; 8-bit tags only carry ASCII so that no code page is involved.
        if (!isAscii(value.text)) {
            out += char(StreamTag::Utf8String);
            putUnsigned(out, value.text.size(), 4);
        } else if (value.text.size() <= 255) {
            out += char(StreamTag::String);
            out += char(value.text.size());
        } else {
            out += char(StreamTag::LongString);
            putUnsigned(out, value.text.size(), 4);
        }
        out += value.text;
        return;
    case StreamTag::False:
    case StreamTag::True:
        out += char(value.tag);
        return;
    case StreamTag::Binary:
        out += char(StreamTag::Binary);
        putUnsigned(out, value.text.size(), 4);
        out += value.text;
        return;
    case StreamTag::Set:
        out += char(StreamTag::Set);
        for (const std::string& member : value.setMembers)
            putShortString(out, member);
        out += char(0);
        return;
    case StreamTag::Collection:
        out += char(StreamTag::Collection);
        for (const StreamItem& item : value.items) {
            if (item.order)
                encodeValue(out, *item.order);
            out += char(StreamTag::List);
            encodeProperties(out, item.properties);
            out += char(0);
        }
        out += char(0);
        return;
    }
}

} // namespace

bool StreamValue::isText() const {
    return tag == StreamTag::String || tag == StreamTag::LongString || tag == StreamTag::Utf8String ||
           tag == StreamTag::WideString || tag == StreamTag::Identifier;
}

bool StreamValue::isInteger() const {
    return tag == StreamTag::Int8 || tag == StreamTag::Int16 || tag == StreamTag::Int32 ||
           tag == StreamTag::Int64;
}

std::string StreamValue::asPropertyText() const {
    if (isText())
        return text;
    if (isInteger())
        return std::to_string(integer);
    switch (tag) {
    case StreamTag::True:
        return "True";
    case StreamTag::False:
        return "False";
    case StreamTag::Extended:
    case StreamTag::Single:
    case StreamTag::Double:
    case StreamTag::Date:
        return formatNumber(number);
    case StreamTag::Currency:
        return formatNumber(double(integer) / 10000.0);
    default:
        return {};
    }
}

PropertyStream decodePropertyStream(std::string_view bytes, CodePage codePage) {
    PropertyStream stream;
    StreamDecoder(bytes, codePage).readProperties(stream.properties, stream.error);
    return stream;
}

std::string encodePropertyStream(const std::vector<StreamProperty>& properties) {
    std::string out;
    encodeProperties(out, properties);
    return out;
}

std::optional<std::string> decodeHex(std::string_view hex) {
    if (hex.size() % 2 != 0)
        return std::nullopt;
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    std::string out;
    out.resize(hex.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) {
        const int high = nibble(hex[2 * i]);
        const int low = nibble(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out[i] = char((high << 4) | low);
    }
    return out;
}

std::string encodeHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.resize(bytes.size() * 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[2 * i] = kDigits[b >> 4];
        out[2 * i + 1] = kDigits[b & 0x0F];
    }
    return out;
}

} // namespace velkaro::report
