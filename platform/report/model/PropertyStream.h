#pragma once

#include "base/CodePage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

// The binary property stream that templates carry, hex encoded, in "PropData" attributes: the
// component streaming format of the form library. A stream is a sequence of properties, each a
// short string (one length byte, then the name) followed by one value. A value starts with a tag
// byte:
//   0 end of a list        1 list: values up to a 0       2/3/4/19 integer of 1/2/4/8 bytes
//   5 80-bit float         6 string, 1 length byte        7 identifier, 1 length byte
//   8 False  9 True        10 binary, 4 length bytes      11 set: short strings up to an empty one
//   12 string, 4 length bytes  13 nil                     14 collection: items up to a 0
//   15 32-bit float  16 currency (int64 x 10000)  17 date (double)  18 UTF-16 string, 4-byte count
//   20 UTF-8 string, 4 length bytes                       21 64-bit float
// A collection item is an optional integer (its order), a list tag, then properties up to an empty
// name. Multi-byte numbers are little-endian. Report data of 4.x templates looks like
// "Left" int, "Top" int, "Datasets" collection or list, "Variables" ..., "Style" ...; pictures
// are "Data" binary. The 8-bit strings are in the Windows code page of their author.
enum class StreamTag : uint8_t {
    EndOfList = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    Identifier = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LongString = 12,
    Nil = 13,
    Collection = 14,
    Single = 15,
    Currency = 16,
    Date = 17,
    WideString = 18,
    Int64 = 19,
    Utf8String = 20,
    Double = 21,
};

struct StreamItem;

struct StreamValue {
    StreamTag tag = StreamTag::Nil;
    int64_t integer = 0;                 // integer tags; Currency as value x 10000
    double number = 0.0;                 // Extended, Single, Double, Date
    std::string text;                    // strings and identifiers (UTF-8); Binary: the bytes
    std::string extendedBytes;           // Extended: the 10 bytes as read, to write them back exactly
    std::vector<std::string> setMembers; // Set
    std::vector<StreamValue> list;       // List
    std::vector<StreamItem> items;       // Collection

    [[nodiscard]] bool isText() const;
    [[nodiscard]] bool isInteger() const;
    // The value as property text: strings as they are, numbers as numbers, True/False.
    [[nodiscard]] std::string asPropertyText() const;
};

struct StreamProperty {
    std::string name;
    StreamValue value;
};

struct StreamItem {
    std::optional<StreamValue> order;
    std::vector<StreamProperty> properties;
};

struct PropertyStream {
    std::vector<StreamProperty> properties;
    std::string error; // empty when the whole stream was read; else why it stopped
    [[nodiscard]] bool ok() const { return error.empty(); }
};

// Reads a stream. Never throws; on damage it keeps what was read before and says why in error.
[[nodiscard]] PropertyStream decodePropertyStream(std::string_view bytes, CodePage codePage);
[[nodiscard]] std::string encodePropertyStream(const std::vector<StreamProperty>& properties);

// Hex as the attributes hold it (upper or lower case); nullopt for odd length or other characters.
[[nodiscard]] std::optional<std::string> decodeHex(std::string_view hex);
// Upper-case hex, as the format writes it.
[[nodiscard]] std::string encodeHex(std::string_view bytes);

} // namespace velkaro::report
