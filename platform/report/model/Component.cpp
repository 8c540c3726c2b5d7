#include "report/model/Component.h"

#include "base/AsciiCase.h"
#include "report/model/PropertyText.h"

#include <utility>

namespace velkaro::report {

Component::Component(std::string className) : className_(std::move(className)) {}

Component::~Component() {
    // Tear deep trees down from a list instead of through nested destructors.
    std::vector<std::unique_ptr<Component>> pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<Component> last = std::move(pending.back());
        pending.pop_back();
        for (auto& grandChild : last->children_)
            pending.push_back(std::move(grandChild));
        last->children_.clear();
    }
}

std::unique_ptr<Component> Component::clone() const {
    auto copyOne = [](const Component& source) {
        auto copy = std::make_unique<Component>(source.className_);
        copy->attributes_ = source.attributes_;
        copy->content_ = source.content_;
        copy->children_.reserve(source.children_.size());
        return copy;
    };
    std::unique_ptr<Component> root = copyOne(*this);
    std::vector<std::pair<const Component*, Component*>> pending{{this, root.get()}};
    while (!pending.empty()) {
        const auto [source, target] = pending.back();
        pending.pop_back();
        for (const auto& sourceChild : source->children_) {
            Component& targetChild = target->appendChild(copyOne(*sourceChild));
            if (!sourceChild->children_.empty())
                pending.emplace_back(sourceChild.get(), &targetChild);
        }
    }
    return root;
}

const std::string* Component::findAttribute(std::string_view name) const {
    for (const Attribute& attribute : attributes_) {
        if (equalsIgnoreAsciiCase(attribute.name, name))
            return &attribute.value;
    }
    return nullptr;
}

std::string_view Component::attribute(std::string_view name, std::string_view fallback) const {
    const std::string* value = findAttribute(name);
    return value ? std::string_view(*value) : fallback;
}

void Component::setAttribute(std::string_view name, std::string value) {
    for (Attribute& attribute : attributes_) {
        if (equalsIgnoreAsciiCase(attribute.name, name)) {
            attribute.value = std::move(value);
            return;
        }
    }
    attributes_.push_back({std::string(name), std::move(value)});
}

void Component::appendAttribute(std::string name, std::string value) {
    attributes_.push_back({std::move(name), std::move(value)});
}

void Component::insertAttribute(size_t index, std::string name, std::string value) {
    if (index > attributes_.size())
        index = attributes_.size();
    attributes_.insert(attributes_.begin() + std::ptrdiff_t(index),
                       Attribute{std::move(name), std::move(value)});
}

bool Component::removeAttribute(std::string_view name) {
    for (auto it = attributes_.begin(); it != attributes_.end(); ++it) {
        if (equalsIgnoreAsciiCase(it->name, name)) {
            attributes_.erase(it);
            return true;
        }
    }
    return false;
}

double Component::number(std::string_view name, double fallback) const {
    const std::string* text = findAttribute(name);
    if (!text)
        return fallback;
    return parseNumber(*text).value_or(fallback);
}

int64_t Component::integer(std::string_view name, int64_t fallback) const {
    const std::string* text = findAttribute(name);
    if (!text)
        return fallback;
    if (auto value = parseInteger(*text))
        return *value;
    // Integer properties written as "2,0" or "2.0" by some writers.
    if (auto value = parseNumber(*text); value && *value >= -9.2e18 && *value <= 9.2e18)
        return int64_t(*value);
    return fallback;
}

bool Component::boolean(std::string_view name, bool fallback) const {
    const std::string* text = findAttribute(name);
    if (!text)
        return fallback;
    return parseBoolean(*text).value_or(fallback);
}

int32_t Component::color(std::string_view name, int32_t fallback) const {
    const std::string* text = findAttribute(name);
    if (!text)
        return fallback;
    return parseColor(*text).value_or(fallback);
}

void Component::setNumber(std::string_view name, double value) {
    setAttribute(name, formatNumber(value));
}

void Component::setInteger(std::string_view name, int64_t value) {
    setAttribute(name, std::to_string(value));
}

void Component::setBoolean(std::string_view name, bool value) {
    setAttribute(name, formatBoolean(value));
}

Component& Component::appendChild(std::unique_ptr<Component> child) {
    child->parent_ = this;
    children_.push_back(std::move(child));
    return *children_.back();
}

Component& Component::insertChild(size_t index, std::unique_ptr<Component> child) {
    if (index > children_.size())
        index = children_.size();
    child->parent_ = this;
    auto it = children_.insert(children_.begin() + std::ptrdiff_t(index), std::move(child));
    return **it;
}

std::unique_ptr<Component> Component::takeChild(size_t index) {
    std::unique_ptr<Component> child = std::move(children_[index]);
    children_.erase(children_.begin() + std::ptrdiff_t(index));
    child->parent_ = nullptr;
    return child;
}

void Component::clearChildren() {
    // Through a temporary parent so that the teardown stays iterative.
    Component holder("");
    holder.children_ = std::move(children_);
    children_.clear();
}

Component* Component::findChild(std::string_view className) {
    for (auto& child : children_) {
        if (child->className_ == className)
            return child.get();
    }
    return nullptr;
}

const Component* Component::findChild(std::string_view className) const {
    return const_cast<Component*>(this)->findChild(className);
}

Component* Component::findByName(std::string_view name) {
    Component* found = nullptr;
    walkTree(*this, [&](Component& component, size_t) {
        if (found)
            return false;
        const std::string* own = component.findAttribute("Name");
        if (own && equalsIgnoreAsciiCase(*own, name)) {
            found = &component;
            return false;
        }
        return true;
    });
    return found;
}

const Component* Component::findByName(std::string_view name) const {
    return const_cast<Component*>(this)->findByName(name);
}

std::string_view Component::text() const {
    if (const std::string* text = findAttribute("Text"))
        return *text;
    return attribute("Memo.Text");
}

void Component::setText(std::string text) {
    if (!hasAttribute("Text") && hasAttribute("Memo.Text"))
        setAttribute("Memo.Text", std::move(text));
    else
        setAttribute("Text", std::move(text));
}

} // namespace velkaro::report
