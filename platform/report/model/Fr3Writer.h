#pragma once

#include "report/model/Component.h"

#include <span>
#include <string>
#include <string_view>

namespace velkaro::report {

// Writes fr3 text: the XML declaration, then one element per line, indented by two blanks per
// level (up to 64 levels), lines ending in CR LF; attributes in their order, values escaped so that they read
// back exactly (see appendEscapedAttribute). Output is UTF-8. Works without recursion.
class Fr3Writer {
public:
    explicit Fr3Writer(std::string& out) : out_(out) {}

    void writeDeclaration();
    // An element with children to come (and its text, if any); close it with endElement().
    void startElement(std::string_view className, std::span<const Attribute> attributes,
                      std::string_view content = {});
    void endElement(std::string_view className);
    // An element without children: "<Name a="b"/>".
    void emptyElement(std::string_view className, std::span<const Attribute> attributes);
    // A whole subtree at the current depth.
    void writeSubtree(const Component& component);

private:
    void openTag(std::string_view className, std::span<const Attribute> attributes);
    void indent();

    std::string& out_;
    size_t depth_ = 0;
};

// Declaration and tree, as a template file.
[[nodiscard]] std::string writeFr3(const Component& root);

} // namespace velkaro::report
