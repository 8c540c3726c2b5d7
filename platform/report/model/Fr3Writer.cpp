#include "report/model/Fr3Writer.h"

#include "report/model/XmlText.h"

#include <vector>

namespace velkaro::report {

void Fr3Writer::writeDeclaration() {
    out_ += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
}

void Fr3Writer::indent() {
    // Indentation is cosmetic; capped so that absurdly deep trees do not write quadratic output.
    constexpr size_t kMaxIndentLevels = 64;
    out_.append((depth_ < kMaxIndentLevels ? depth_ : kMaxIndentLevels) * 2, ' ');
}

void Fr3Writer::openTag(std::string_view className, std::span<const Attribute> attributes) {
    indent();
    out_ += '<';
    out_ += className;
    for (const Attribute& attribute : attributes) {
        out_ += ' ';
        out_ += attribute.name;
        out_ += "=\"";
        appendEscapedAttribute(out_, attribute.value);
        out_ += '"';
    }
}

void Fr3Writer::startElement(std::string_view className, std::span<const Attribute> attributes,
                             std::string_view content) {
    openTag(className, attributes);
    out_ += '>';
    if (!content.empty())
        appendEscapedContent(out_, content);
    out_ += "\r\n";
    ++depth_;
}

void Fr3Writer::endElement(std::string_view className) {
    if (depth_ > 0)
        --depth_;
    indent();
    out_ += "</";
    out_ += className;
    out_ += ">\r\n";
}

void Fr3Writer::emptyElement(std::string_view className, std::span<const Attribute> attributes) {
    openTag(className, attributes);
    out_ += "/>\r\n";
}

void Fr3Writer::writeSubtree(const Component& component) {
    // Each entry is a component to open, or (closing) one whose children are written.
    struct Pending {
        const Component* component;
        bool closing;
    };
    std::vector<Pending> stack{{&component, false}};
    while (!stack.empty()) {
        const Pending current = stack.back();
        stack.pop_back();
        const Component& node = *current.component;
        if (current.closing) {
            endElement(node.className());
            continue;
        }
        if (node.childCount() == 0 && node.content().empty()) {
            emptyElement(node.className(), node.attributes());
            continue;
        }
        startElement(node.className(), node.attributes(), node.content());
        stack.push_back({&node, true});
        for (size_t i = node.childCount(); i > 0; --i)
            stack.push_back({&node.child(i - 1), false});
    }
}

std::string writeFr3(const Component& root) {
    std::string out;
    Fr3Writer writer(out);
    writer.writeDeclaration();
    writer.writeSubtree(root);
    return out;
}

} // namespace velkaro::report
