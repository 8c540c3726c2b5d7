#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

namespace velkaro::json {

namespace detail {
struct Tree;
}

// What a value is. Absent is no JSON value at all: the result of a failed look-up or parse.
enum class Kind : std::uint8_t { Absent, Null, Boolean, Integer, Float, String, Array, Object };

class MemberRange;

// A handle to one value of a parsed document. Copies are cheap and share the document: any value
// keeps the whole document alive (reference counted), so a value taken out of a document stays valid
// after the root and the body are gone, and nothing is copied to make it so. Documents never change;
// handles of one document may be read from several threads.
//
// Nothing here throws: a look-up that finds nothing gives an absent value, and the accessors of the
// wrong kind give zero, false or empty.
class Value {
public:
    // An absent value.
    Value() = default;

    [[nodiscard]] Kind kind() const;
    [[nodiscard]] explicit operator bool() const { return tree_ != nullptr; }
    [[nodiscard]] bool isAbsent() const { return tree_ == nullptr; }
    [[nodiscard]] bool isNull() const { return kind() == Kind::Null; }
    [[nodiscard]] bool isBoolean() const { return kind() == Kind::Boolean; }
    [[nodiscard]] bool isInteger() const { return kind() == Kind::Integer; }
    [[nodiscard]] bool isFloat() const { return kind() == Kind::Float; }
    [[nodiscard]] bool isString() const { return kind() == Kind::String; }
    [[nodiscard]] bool isArray() const { return kind() == Kind::Array; }
    [[nodiscard]] bool isObject() const { return kind() == Kind::Object; }

    // The boolean; false for any other kind.
    [[nodiscard]] bool boolean() const;
    // The integer (a number written without fraction and exponent that fits 64 bits); 0 otherwise.
    [[nodiscard]] std::int64_t integer() const;
    // An integer or float as a double; 0 otherwise.
    [[nodiscard]] double number() const;
    // The string's characters after unescaping, UTF-8 (it may hold U+0000); empty for any other
    // kind. The view stays valid while any value of the document is alive.
    [[nodiscard]] std::string_view string() const;

    // Elements of an array, members of an object; 0 for anything else.
    [[nodiscard]] std::size_t size() const;

    // Element `index` of an array; absent when out of range or not an array.
    [[nodiscard]] Value at(std::size_t index) const;
    // The member with exactly this name (case-sensitive, byte for byte); absent when there is none
    // or this is not an object.
    [[nodiscard]] Value member(std::string_view name) const;
    // Follows a path: member names separated by ".", each optionally followed by element indexes in
    // brackets ("fields[3]", "data[12]", "a.b[2]", "[0][1]"); the empty path is the value itself.
    // Indexes are decimal digits only. Anything that does not resolve, or does not read as a path
    // (an empty name between dots, "[-1]", "[x]", a missing "]"), gives an absent value. Engines that
    // look up per cell should use at() and member() instead, which give the same results.
    [[nodiscard]] Value lookup(std::string_view path) const;

    // The members of an object in member walk order (see WalkOrder.h), by position 0..size()-1.
    // A duplicated name appears once, with the value of its last occurrence in the text.
    [[nodiscard]] std::string_view memberName(std::size_t position) const;
    [[nodiscard]] Value memberValue(std::size_t position) const;
    [[nodiscard]] MemberRange members() const;

    // The text form: a string's characters, an integer in decimal, a float with up to 15
    // significant digits ("0.1", "1e+300"; negative zero is "0"), "true", "false", "null", "[]",
    // "{}", and compact JSON for other arrays and objects: members in walk order, strings quoted
    // with only '"', '/' and '\' escaped (control characters go out as they are). An absent value
    // gives the empty text.
    [[nodiscard]] std::string text() const;
    void appendText(std::string& out) const;

    // True when both handles denote the same node of the same document (or both are absent).
    [[nodiscard]] bool isSameNode(const Value& other) const {
        return tree_ == other.tree_ && (tree_ == nullptr || node_ == other.node_);
    }

    // Bytes held by the whole document this value belongs to (its text and its nodes).
    [[nodiscard]] std::size_t documentBytes() const;

private:
    friend class DocumentBuilder;
    Value(std::shared_ptr<const detail::Tree> tree, std::uint32_t node)
        : tree_(std::move(tree)), node_(node) {}

    std::shared_ptr<const detail::Tree> tree_;
    std::uint32_t node_ = 0;
};

// One member of an object, as the walk yields it.
struct Member {
    std::string_view name;
    Value value;
};

// The members of an object in walk order, for range-for; empty for anything but an object.
class MemberRange {
public:
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = Member;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Member;

        Iterator(const Value* object, std::size_t position) : object_(object), position_(position) {}
        [[nodiscard]] Member operator*() const {
            return {object_->memberName(position_), object_->memberValue(position_)};
        }
        Iterator& operator++() {
            ++position_;
            return *this;
        }
        [[nodiscard]] bool operator==(const Iterator& other) const { return position_ == other.position_; }

    private:
        const Value* object_;
        std::size_t position_;
    };

    explicit MemberRange(Value object) : object_(std::move(object)) {}
    [[nodiscard]] Iterator begin() const { return {&object_, 0}; }
    [[nodiscard]] Iterator end() const { return {&object_, object_.isObject() ? object_.size() : 0}; }

private:
    Value object_;
};

inline MemberRange Value::members() const {
    return MemberRange(*this);
}

} // namespace velkaro::json
