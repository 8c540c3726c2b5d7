// The text form of a value: what reports and variables show for JSON data.
#include "json/Tree.h"
#include "json/Value.h"

#include <bit>
#include <charconv>
#include <vector>

namespace velkaro::json {

using detail::Node;
using detail::NodeTag;
using detail::Tree;

namespace {

void appendInteger(std::string& out, std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// Up to 15 significant digits, shortest form, "." as the decimal point whatever the locale (the
// text also goes into compact JSON). Negative zero shows as "0".
void appendFloat(std::string& out, double value) {
    if (value == 0.0) {
        out += '0';
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    out.append(buffer, result.ptr);
}

// Inside compact JSON only the quote, the slash and the backslash are escaped.
void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' || c == '/' || c == '\\') {
            out.append(text.substr(start, i - start));
            out += '\\';
            out += c;
            start = i + 1;
        }
    }
    out.append(text.substr(start));
    out += '"';
}

// A value that is written without descending: scalars and empty containers.
void appendLeaf(std::string& out, const Tree& tree, const Node& node, bool quoteStrings) {
    switch (static_cast<NodeTag>(node.head)) {
    case NodeTag::Null:
        out += "null";
        break;
    case NodeTag::Boolean:
        out += node.payload != 0 ? "true" : "false";
        break;
    case NodeTag::Integer:
        appendInteger(out, static_cast<std::int64_t>(node.payload));
        break;
    case NodeTag::Float:
        appendFloat(out, std::bit_cast<double>(node.payload));
        break;
    case NodeTag::String:
        if (quoteStrings)
            appendQuoted(out, tree.stringOf(node));
        else
            out.append(tree.stringOf(node));
        break;
    case NodeTag::Array:
        out += "[]";
        break;
    case NodeTag::Object:
        out += "{}";
        break;
    }
}

bool isOpenContainer(const Node& node) {
    const auto tag = static_cast<NodeTag>(node.head);
    return (tag == NodeTag::Array || tag == NodeTag::Object) && node.size > 0;
}

// Compact JSON of a non-empty container, with an explicit stack: nesting depth is unbounded.
void appendCompact(std::string& out, const Tree& tree, std::uint32_t root) {
    struct Frame {
        std::uint32_t container;
        std::uint32_t next;
    };
    std::vector<Frame> stack;
    const auto open = [&](std::uint32_t index) {
        out += static_cast<NodeTag>(tree.node(index).head) == NodeTag::Array ? '[' : '{';
        stack.push_back({index, 0});
    };
    open(root);
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const Node& container = tree.node(frame.container);
        const bool isArray = static_cast<NodeTag>(container.head) == NodeTag::Array;
        if (frame.next == container.size) {
            out += isArray ? ']' : '}';
            stack.pop_back();
            continue;
        }
        if (frame.next > 0)
            out += ',';
        std::uint32_t child = 0;
        if (isArray) {
            child = static_cast<std::uint32_t>(container.payload + frame.next);
        } else {
            const std::uint32_t key = static_cast<std::uint32_t>(container.payload + 2 * frame.next);
            appendQuoted(out, tree.stringOf(tree.node(key)));
            out += ':';
            child = key + 1;
        }
        ++frame.next;
        const Node& value = tree.node(child);
        if (isOpenContainer(value))
            open(child); // invalidates `frame`
        else
            appendLeaf(out, tree, value, true);
    }
}

} // namespace

void Value::appendText(std::string& out) const {
    if (!tree_)
        return;
    const Node& node = tree_->node(node_);
    if (isOpenContainer(node))
        appendCompact(out, *tree_, node_);
    else
        appendLeaf(out, *tree_, node, false);
}

std::string Value::text() const {
    std::string out;
    appendText(out);
    return out;
}

} // namespace velkaro::json
