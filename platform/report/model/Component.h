#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

// One property as the template stores it: its name and its text, entities already decoded.
struct Attribute {
    std::string name;
    std::string value;
    friend bool operator==(const Attribute&, const Attribute&) = default;
};

// A node of the template tree: the report, a page, a band, an object, or a collection such as
// <Styles>. It keeps its class name (the element name), every attribute in the order read,
// unknown ones included, and its children in order, so that a template saved again is the
// template that was read plus what was changed. Typed accessors read the attribute text on
// demand; setters write the text back in place.
//
// Attribute names compare ignoring the case of a to z (as the template format does); the first
// of duplicated names wins. A component owns its children; parent() is a plain back link.
// Destruction and clone() work without recursion, so any depth is safe.
class Component {
public:
    explicit Component(std::string className);
    ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    // A deep copy of this subtree (without the parent link).
    [[nodiscard]] std::unique_ptr<Component> clone() const;

    [[nodiscard]] const std::string& className() const { return className_; }
    void setClassName(std::string className) { className_ = std::move(className); }
    [[nodiscard]] Component* parent() { return parent_; }
    [[nodiscard]] const Component* parent() const { return parent_; }

    // --- attributes ---
    [[nodiscard]] const std::vector<Attribute>& attributes() const { return attributes_; }
    [[nodiscard]] const std::string* findAttribute(std::string_view name) const;
    [[nodiscard]] bool hasAttribute(std::string_view name) const { return findAttribute(name) != nullptr; }
    // The attribute's text, or the fallback when absent.
    [[nodiscard]] std::string_view attribute(std::string_view name, std::string_view fallback = {}) const;
    // Replaces the value where the attribute stands, or appends it.
    void setAttribute(std::string_view name, std::string value);
    // Appends without looking for an existing one (the reader keeps duplicates as read).
    void appendAttribute(std::string name, std::string value);
    void insertAttribute(size_t index, std::string name, std::string value);
    // Removes the first attribute of that name; false when there was none.
    bool removeAttribute(std::string_view name);
    void clearAttributes() { attributes_.clear(); }
    void reserveAttributes(size_t count) { attributes_.reserve(count); }

    // Typed reading: the fallback when the attribute is absent or its text does not read as the type.
    [[nodiscard]] double number(std::string_view name, double fallback = 0.0) const;
    [[nodiscard]] int64_t integer(std::string_view name, int64_t fallback = 0) const;
    [[nodiscard]] bool boolean(std::string_view name, bool fallback = false) const;
    [[nodiscard]] int32_t color(std::string_view name, int32_t fallback) const;
    void setNumber(std::string_view name, double value);
    void setInteger(std::string_view name, int64_t value);
    void setBoolean(std::string_view name, bool value);
    void setColor(std::string_view name, int32_t value) { setInteger(name, value); }

    // Text between the tags. fr3 keeps everything in attributes; kept for what other writers put there.
    [[nodiscard]] const std::string& content() const { return content_; }
    void setContent(std::string content) { content_ = std::move(content); }

    // --- children ---
    [[nodiscard]] size_t childCount() const { return children_.size(); }
    [[nodiscard]] Component& child(size_t index) { return *children_[index]; }
    [[nodiscard]] const Component& child(size_t index) const { return *children_[index]; }
    [[nodiscard]] const std::vector<std::unique_ptr<Component>>& children() const { return children_; }
    Component& appendChild(std::unique_ptr<Component> child);
    Component& appendChild(std::string className) {
        return appendChild(std::make_unique<Component>(std::move(className)));
    }
    Component& insertChild(size_t index, std::unique_ptr<Component> child);
    [[nodiscard]] std::unique_ptr<Component> takeChild(size_t index);
    void clearChildren();
    // First direct child of that class (exact name), or nullptr.
    [[nodiscard]] Component* findChild(std::string_view className);
    [[nodiscard]] const Component* findChild(std::string_view className) const;
    // First component of this subtree, itself included, in document order whose Name matches
    // ignoring a-z case; nullptr when none.
    [[nodiscard]] Component* findByName(std::string_view name);
    [[nodiscard]] const Component* findByName(std::string_view name) const;

    // --- the accessors every kind of component shares ---
    [[nodiscard]] std::string_view name() const { return attribute("Name"); }
    void setName(std::string name) { setAttribute("Name", std::move(name)); }
    // Geometry in 1/96 inch, relative to the parent (a band, or the page for objects outside bands).
    [[nodiscard]] double left() const { return number("Left"); }
    [[nodiscard]] double top() const { return number("Top"); }
    [[nodiscard]] double width() const { return number("Width"); }
    [[nodiscard]] double height() const { return number("Height"); }
    void setLeft(double value) { setNumber("Left", value); }
    void setTop(double value) { setNumber("Top", value); }
    void setWidth(double value) { setNumber("Width", value); }
    void setHeight(double value) { setNumber("Height", value); }
    [[nodiscard]] bool visible() const { return boolean("Visible", true); }
    // The text of a text object: "Text", or "Memo.Text" as older templates call it. Lines are
    // separated by CR LF.
    [[nodiscard]] std::string_view text() const;
    // Writes where the text already is ("Memo.Text" stays "Memo.Text"), else to "Text".
    void setText(std::string text);
    // Data binding: the dataset's component name, its user name, and the field.
    [[nodiscard]] std::string_view datasetComponentName() const { return attribute("DataSet"); }
    [[nodiscard]] std::string_view datasetName() const { return attribute("DataSetName"); }
    [[nodiscard]] std::string_view dataField() const { return attribute("DataField"); }

private:
    std::string className_;
    std::vector<Attribute> attributes_;
    std::vector<std::unique_ptr<Component>> children_;
    std::string content_;
    Component* parent_ = nullptr;
};

// Calls visit(component, depth) for the subtree in document order (the root at depth 0), without
// recursion. visit returns false to skip the component's children.
template <typename ComponentType, typename Visit> void walkTree(ComponentType& root, Visit&& visit) {
    struct Pending {
        ComponentType* component;
        size_t depth;
    };
    std::vector<Pending> stack{{&root, 0}};
    while (!stack.empty()) {
        const Pending current = stack.back();
        stack.pop_back();
        if (!visit(*current.component, current.depth))
            continue;
        for (size_t i = current.component->childCount(); i > 0; --i)
            stack.push_back({&current.component->child(i - 1), current.depth + 1});
    }
}

} // namespace velkaro::report
