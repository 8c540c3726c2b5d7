#include "json/Parse.h"

#include "base/Error.h"
#include "json/Tree.h"
#include "json/WalkOrder.h"

#include <rapidjson/error/error.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <limits>
#include <vector>

namespace velkaro::json {

using detail::Node;
using detail::NodeTag;
using detail::PodBuffer;
using detail::Tree;

namespace {

// Skips ASCII eight bytes at a time: data bodies are mostly ASCII and this check runs on every one.
bool isAllUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    const std::size_t size = bytes.size();
    while (pos < size) {
        while (pos + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + pos, sizeof word);
            if (word & 0x8080808080808080ull)
                break;
            pos += 8;
        }
        if (pos >= size)
            break;
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t length = utf8SequenceLength(bytes, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

// The parser encodes an unpaired low surrogate (\uDC00..\uDFFF) as the bytes ED B0..BF xx, which
// are not UTF-8; U+FFFD has three bytes as well, so it replaces them in place.
void replaceLoneSurrogates(char* text, std::size_t length) {
    char* end = text + length;
    char* at = text;
    while ((at = static_cast<char*>(std::memchr(at, 0xED, static_cast<std::size_t>(end - at)))) != nullptr) {
        if (end - at >= 3 && static_cast<unsigned char>(at[1]) >= 0xA0) {
            at[0] = '\xEF';
            at[1] = '\xBF';
            at[2] = '\xBD';
            at += 3;
        } else {
            ++at;
        }
    }
}

std::string describe(rapidjson::ParseErrorCode code) {
    switch (code) {
    case rapidjson::kParseErrorDocumentEmpty:
        return "el texto está vacío";
    case rapidjson::kParseErrorValueInvalid:
        return "valor no válido";
    case rapidjson::kParseErrorObjectMissName:
        return "falta el nombre de un miembro";
    case rapidjson::kParseErrorObjectMissColon:
        return "falta \":\" tras el nombre de un miembro";
    case rapidjson::kParseErrorObjectMissCommaOrCurlyBracket:
        return "falta \",\" o \"}\" en un objeto";
    case rapidjson::kParseErrorArrayMissCommaOrSquareBracket:
        return "falta \",\" o \"]\" en una lista";
    case rapidjson::kParseErrorStringUnicodeEscapeInvalidHex:
        return "secuencia \\u no válida";
    case rapidjson::kParseErrorStringUnicodeSurrogateInvalid:
        return "par suplente \\u incompleto";
    case rapidjson::kParseErrorStringEscapeInvalid:
        return "secuencia de escape o carácter de control no válido en un texto";
    case rapidjson::kParseErrorStringMissQuotationMark:
        return "falta la comilla de cierre de un texto";
    case rapidjson::kParseErrorNumberTooBig:
        return "número demasiado grande";
    case rapidjson::kParseErrorNumberMissFraction:
        return "faltan los decimales de un número";
    case rapidjson::kParseErrorNumberMissExponent:
        return "falta el exponente de un número";
    default:
        return "error de sintaxis";
    }
}

// Whether a JSON number that does not fit a double is tiny rather than huge: the decimal exponent
// of its first significant digit is negative.
bool isBelowOne(std::string_view number) {
    std::size_t pos = number.empty() || number[0] != '-' ? 0 : 1;
    long magnitude = 0;
    bool found = false;
    std::size_t integerEnd = number.find_first_of(".eE", pos);
    if (integerEnd == std::string_view::npos)
        integerEnd = number.size();
    for (std::size_t i = pos; i < integerEnd && !found; ++i) {
        if (number[i] != '0') {
            magnitude = static_cast<long>(integerEnd - i) - 1;
            found = true;
        }
    }
    pos = integerEnd;
    if (pos < number.size() && number[pos] == '.') {
        for (++pos; pos < number.size() && number[pos] >= '0' && number[pos] <= '9'; ++pos) {
            if (!found && number[pos] != '0') {
                magnitude = -static_cast<long>(pos - integerEnd);
                found = true;
            }
        }
    }
    long exponent = 0;
    if (pos < number.size() && (number[pos] == 'e' || number[pos] == 'E')) {
        ++pos;
        const bool negative = pos < number.size() && number[pos] == '-';
        if (pos < number.size() && (number[pos] == '-' || number[pos] == '+'))
            ++pos;
        for (; pos < number.size() && number[pos] >= '0' && number[pos] <= '9'; ++pos)
            exponent = std::min(exponent * 10 + (number[pos] - '0'), 1'000'000L);
        if (negative)
            exponent = -exponent;
    }
    return magnitude + exponent < 0;
}

constexpr std::uint64_t kIntegerMaximum =
    static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

} // namespace

// Receives the parser's events and lays the nodes out: the children of an open container wait on
// `pending_` and move to the tree, side by side, when the container closes.
class DocumentBuilder {
public:
    explicit DocumentBuilder(std::shared_ptr<Tree> tree)
        : tree_(std::move(tree)), base_(tree_->text.data()) {}

    bool Null() { return add({static_cast<std::uint32_t>(NodeTag::Null), 0, 0}); }
    bool Bool(bool value) { return add({static_cast<std::uint32_t>(NodeTag::Boolean), 0, value ? 1u : 0u}); }
    // Numbers come as their text: converted here, exactly (correctly rounded) and with our own rule
    // for what is an integer: no fraction, no exponent, and within 64 bits signed.
    bool RawNumber(const char* text, rapidjson::SizeType length, bool) {
        const char* end = text + length;
        const std::string_view number(text, length);
        if (number.find_first_of(".eE") == std::string_view::npos) {
            std::int64_t integer = 0;
            const auto result = std::from_chars(text, end, integer);
            if (result.ec == std::errc() && result.ptr == end)
                return addInteger(integer);
        }
        double value = 0.0;
        const auto result = std::from_chars(text, end, value);
        if (result.ec == std::errc::result_out_of_range && isBelowOne(number)) {
            value = number[0] == '-' ? -0.0 : 0.0;
        } else if (result.ec != std::errc() || result.ptr != end) {
            numberTooLarge_ = result.ec == std::errc::result_out_of_range;
            return false;
        }
        return Double(value);
    }
    bool Double(double value) {
        return add({static_cast<std::uint32_t>(NodeTag::Float), 0, std::bit_cast<std::uint64_t>(value)});
    }
    // Not called when numbers come as text, but part of the reader's handler interface.
    bool Int(int value) { return addInteger(value); }
    bool Uint(unsigned value) { return addInteger(value); }
    bool Int64(std::int64_t value) { return addInteger(value); }
    bool Uint64(std::uint64_t value) {
        if (value > kIntegerMaximum)
            return Double(static_cast<double>(value));
        return addInteger(static_cast<std::int64_t>(value));
    }
    bool String(const char* text, rapidjson::SizeType length, bool copied) {
        return addText(TextRole::Value, text, length, copied);
    }
    bool Key(const char* text, rapidjson::SizeType length, bool copied) {
        return addText(TextRole::MemberName, text, length, copied);
    }
    bool StartObject() { return open(); }
    bool StartArray() { return open(); }
    bool EndArray(rapidjson::SizeType) {
        const std::uint32_t start = frames_.back();
        frames_.shrink(frames_.size() - 1);
        const std::size_t count = pending_.size() - start;
        const std::size_t first = tree_->nodes.size();
        if (count > 0)
            std::memcpy(tree_->nodes.extend(count), pending_.data() + start, count * sizeof(Node));
        pending_.shrink(start);
        return add({static_cast<std::uint32_t>(NodeTag::Array), static_cast<std::uint32_t>(count), first});
    }
    bool EndObject(rapidjson::SizeType) {
        const std::uint32_t start = frames_.back();
        frames_.shrink(frames_.size() - 1);
        const std::size_t pairs = (pending_.size() - start) / 2;
        const Node* members = pending_.data() + start;
        const std::size_t first = tree_->nodes.size();

        // Walk order once, here: the tree keeps members sorted, the last of equal names wins.
        order_.resize(pairs);
        for (std::uint32_t i = 0; i < pairs; ++i)
            order_[i] = i;
        const auto nameOf = [&](std::uint32_t member) { return tree_->stringOf(members[2 * member]); };
        if (pairs > 1) {
            std::sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
                const std::uint32_t hashA = members[2 * a].head;
                const std::uint32_t hashB = members[2 * b].head;
                if (hashA != hashB)
                    return hashA > hashB;
                const int names = compareUtf16(nameOf(a), nameOf(b));
                return names != 0 ? names < 0 : a < b;
            });
        }
        std::size_t kept = 0;
        for (std::size_t i = 0; i < pairs; ++i) {
            const std::uint32_t member = order_[i];
            if (i + 1 < pairs && members[2 * order_[i + 1]].head == members[2 * member].head &&
                nameOf(order_[i + 1]) == nameOf(member))
                continue; // a later occurrence of the same name follows
            Node* place = tree_->nodes.extend(2);
            place[0] = members[2 * member];
            place[1] = members[2 * member + 1];
            ++kept;
        }
        pending_.shrink(start);
        return add({static_cast<std::uint32_t>(NodeTag::Object), static_cast<std::uint32_t>(kept), first});
    }

    // A number beyond the double range stopped the parse.
    [[nodiscard]] bool numberTooLarge() const { return numberTooLarge_; }

    // The root after a successful parse.
    [[nodiscard]] Value finish() {
        if (pending_.size() != 1 || frames_.size() != 0)
            return {};
        tree_->nodes.push_back(pending_[0]);
        tree_->nodes.shrinkToFit();
        const auto root = static_cast<std::uint32_t>(tree_->nodes.size() - 1);
        return Value(std::move(tree_), root);
    }

private:
    bool add(const Node& node) {
        pending_.push_back(node);
        return true;
    }
    bool addInteger(std::int64_t value) {
        return add({static_cast<std::uint32_t>(NodeTag::Integer), 0, static_cast<std::uint64_t>(value)});
    }
    enum class TextRole { Value, MemberName };
    bool addText(TextRole role, const char* text, rapidjson::SizeType length, bool copied) {
        // In-place parsing leaves every string inside our own text.
        if (copied || text < base_ || static_cast<std::size_t>(text - base_) + length > tree_->text.size())
            return false;
        char* at = base_ + (text - base_);
        replaceLoneSurrogates(at, length);
        const std::string_view chars(at, length);
        const std::uint32_t head = role == TextRole::MemberName ? memberNameHash(chars)
                                                                : static_cast<std::uint32_t>(NodeTag::String);
        return add({head, length, static_cast<std::uint64_t>(text - base_)});
    }
    bool open() {
        frames_.push_back(static_cast<std::uint32_t>(pending_.size()));
        return true;
    }

    std::shared_ptr<Tree> tree_;
    char* base_;
    PodBuffer<Node> pending_;
    PodBuffer<std::uint32_t> frames_;
    std::vector<std::uint32_t> order_;
    bool numberTooLarge_ = false;
};

Value parse(std::string body, CodePage codePage, ParseFailure* failure) {
    // Node indexes, offsets and lengths are 32-bit.
    constexpr std::size_t kLimit = std::numeric_limits<std::uint32_t>::max() - 1;
    const auto tooLarge = [] { return Error("El documento JSON es demasiado grande (4 GB o más)"); };
    if (body.size() > kLimit)
        throw tooLarge();
    auto tree = std::make_shared<Tree>();
    tree->text = isAllUtf8(body) ? std::move(body) : decodeMixedText(body, codePage);
    if (tree->text.size() > kLimit)
        throw tooLarge();

    const std::size_t start = tree->text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    DocumentBuilder builder(tree);
    rapidjson::InsituStringStream stream(tree->text.data() + start);
    rapidjson::Reader reader;
    constexpr unsigned kFlags = rapidjson::kParseInsituFlag | rapidjson::kParseIterativeFlag |
                                rapidjson::kParseStopWhenDoneFlag | rapidjson::kParseNumbersAsStringsFlag;
    const rapidjson::ParseResult result = reader.Parse<kFlags>(stream, builder);
    tree.reset();
    if (result.IsError()) {
        if (failure != nullptr) {
            const auto code = builder.numberTooLarge() ? rapidjson::kParseErrorNumberTooBig : result.Code();
            *failure = {start + result.Offset(), describe(code)};
        }
        return {};
    }
    Value root = builder.finish();
    if (!root && failure != nullptr)
        *failure = {0, "error de sintaxis"};
    return root;
}

} // namespace velkaro::json
