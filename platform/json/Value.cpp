#include "json/Value.h"

#include "json/Tree.h"
#include "json/WalkOrder.h"

#include <bit>
#include <limits>

namespace velkaro::json {

using detail::Node;
using detail::NodeTag;

Kind Value::kind() const {
    if (!tree_)
        return Kind::Absent;
    switch (static_cast<NodeTag>(tree_->node(node_).head)) {
    case NodeTag::Null:
        return Kind::Null;
    case NodeTag::Boolean:
        return Kind::Boolean;
    case NodeTag::Integer:
        return Kind::Integer;
    case NodeTag::Float:
        return Kind::Float;
    case NodeTag::String:
        return Kind::String;
    case NodeTag::Array:
        return Kind::Array;
    case NodeTag::Object:
        return Kind::Object;
    }
    return Kind::Absent;
}

bool Value::boolean() const {
    return kind() == Kind::Boolean && tree_->node(node_).payload != 0;
}

std::int64_t Value::integer() const {
    return kind() == Kind::Integer ? static_cast<std::int64_t>(tree_->node(node_).payload) : 0;
}

double Value::number() const {
    switch (kind()) {
    case Kind::Integer:
        return static_cast<double>(static_cast<std::int64_t>(tree_->node(node_).payload));
    case Kind::Float:
        return std::bit_cast<double>(tree_->node(node_).payload);
    default:
        return 0.0;
    }
}

std::string_view Value::string() const {
    if (kind() != Kind::String)
        return {};
    return tree_->stringOf(tree_->node(node_));
}

std::size_t Value::size() const {
    const Kind k = kind();
    return (k == Kind::Array || k == Kind::Object) ? tree_->node(node_).size : 0;
}

Value Value::at(std::size_t index) const {
    if (kind() != Kind::Array)
        return {};
    const Node& array = tree_->node(node_);
    if (index >= array.size)
        return {};
    return {tree_, static_cast<std::uint32_t>(array.payload + index)};
}

Value Value::member(std::string_view name) const {
    if (kind() != Kind::Object)
        return {};
    const Node& object = tree_->node(node_);
    const std::uint32_t hash = memberNameHash(name);
    // The (name, value) pairs are sorted in walk order: binary search on it.
    std::size_t low = 0;
    std::size_t high = object.size;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const Node& key = tree_->node(static_cast<std::uint32_t>(object.payload + 2 * middle));
        if (key.head == hash) {
            const int order = compareUtf16(tree_->stringOf(key), name);
            if (order == 0)
                return {tree_, static_cast<std::uint32_t>(object.payload + 2 * middle + 1)};
            if (order < 0)
                low = middle + 1;
            else
                high = middle;
        } else if (key.head > hash) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return {};
}

std::string_view Value::memberName(std::size_t position) const {
    if (kind() != Kind::Object || position >= size())
        return {};
    return tree_->stringOf(
        tree_->node(static_cast<std::uint32_t>(tree_->node(node_).payload + 2 * position)));
}

Value Value::memberValue(std::size_t position) const {
    if (kind() != Kind::Object || position >= size())
        return {};
    return {tree_, static_cast<std::uint32_t>(tree_->node(node_).payload + 2 * position + 1)};
}

Value Value::lookup(std::string_view path) const {
    Value current = *this;
    std::size_t pos = 0;
    bool first = true;
    while (pos < path.size() && current) {
        if (!first) {
            // After a step only "." or "[" may follow.
            if (path[pos] == '.')
                ++pos;
            else if (path[pos] != '[')
                return {};
        }
        const bool afterDot = !first && path[pos - 1] == '.';
        first = false;
        const std::size_t nameEnd = path.find_first_of(".[", pos);
        const std::size_t end = nameEnd == std::string_view::npos ? path.size() : nameEnd;
        if (end > pos) {
            current = current.member(path.substr(pos, end - pos));
            pos = end;
        } else if (afterDot || pos >= path.size() || path[pos] != '[') {
            return {}; // an empty name: "a..b", "a.", ".a"
        }
        while (pos < path.size() && path[pos] == '[' && current) {
            ++pos;
            std::size_t index = 0;
            const std::size_t digitsStart = pos;
            while (pos < path.size() && path[pos] >= '0' && path[pos] <= '9') {
                const std::size_t digit = static_cast<std::size_t>(path[pos] - '0');
                if (index > (std::numeric_limits<std::size_t>::max() - digit) / 10)
                    return {};
                index = index * 10 + digit;
                ++pos;
            }
            if (pos == digitsStart || pos >= path.size() || path[pos] != ']')
                return {};
            ++pos;
            current = current.at(index);
        }
    }
    return current;
}

std::size_t Value::documentBytes() const {
    if (!tree_)
        return 0;
    return sizeof(detail::Tree) + tree_->text.capacity() + tree_->nodes.capacity() * sizeof(Node);
}

} // namespace velkaro::json
