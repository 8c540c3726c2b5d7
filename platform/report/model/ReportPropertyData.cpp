// The report's binary "PropData" of 4.x templates, turned into the elements newer templates use.
#include "report/model/Fr3Reader.h"
#include "report/model/PropertyStream.h"
#include "report/model/XmlText.h"

namespace velkaro::report {

namespace {

// The items of a "Datasets", "Variables" or "Style" property, as <item> components. Two forms
// occur: a collection whose items hold properties, and (4.0 to 4.15) a list of lists, each
// holding strings with the item's attributes in XML form. nullopt when it is neither.
std::optional<std::vector<std::unique_ptr<Component>>> itemsOf(const StreamValue& value) {
    std::vector<std::unique_ptr<Component>> items;
    if (value.tag == StreamTag::Collection) {
        for (const StreamItem& streamItem : value.items) {
            auto item = std::make_unique<Component>("item");
            for (const StreamProperty& property : streamItem.properties) {
                if (!isXmlName(property.name))
                    return std::nullopt;
                item->appendAttribute(property.name, property.value.asPropertyText());
            }
            items.push_back(std::move(item));
        }
        return items;
    }
    if (value.tag != StreamTag::List)
        return std::nullopt;
    for (const StreamValue& element : value.list) {
        auto item = std::make_unique<Component>("item");
        std::vector<Attribute> attributes;
        auto takeRun = [&](const StreamValue& run) {
            return run.isText() && parseAttributeRun(run.text, attributes);
        };
        if (element.tag == StreamTag::List) {
            for (const StreamValue& run : element.list) {
                if (!takeRun(run))
                    return std::nullopt;
            }
        } else if (!takeRun(element)) {
            return std::nullopt;
        }
        for (Attribute& attribute : attributes)
            item->appendAttribute(std::move(attribute.name), std::move(attribute.value));
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace

void expandReportPropertyData(Component& report, CodePage codePage, std::vector<LoadError>& errors) {
    if (!report.hasAttribute("PropData"))
        return;
    const std::string objectName = report.name().empty() ? report.className() : std::string(report.name());
    struct Section {
        const char* property;
        const char* element;
        std::vector<std::unique_ptr<Component>> items;
    };
    Section sections[] = {
        {"Datasets", "Datasets", {}}, {"Variables", "Variables", {}}, {"Style", "Styles", {}}};
    // Every PropData attribute (a template may repeat it) is read the same way, so that reading
    // what we saved gives what we read.
    std::vector<Attribute> attributes;
    for (const Attribute& attribute : report.attributes()) {
        if (attribute.name != "PropData") {
            attributes.push_back(attribute);
            continue;
        }
        auto bytes = decodeHex(attribute.value);
        if (!bytes) {
            errors.push_back({objectName, 0, 0, "PropData no es hexadecimal; se conserva sin leer"});
            attributes.push_back(attribute);
            continue;
        }
        PropertyStream stream = decodePropertyStream(*bytes, codePage);
        if (!stream.ok()) {
            // Damaged: keep it as it was so that nothing is lost, and read nothing from it.
            errors.push_back(
                {objectName, 0, 0, "PropData dañado (" + stream.error + "); se conserva sin leer"});
            attributes.push_back(attribute);
            continue;
        }
        std::vector<StreamProperty> leftovers;
        for (StreamProperty& property : stream.properties) {
            // The report's place on its host form means nothing in a template; newer versions drop it.
            if ((property.name == "Left" || property.name == "Top") && property.value.isInteger())
                continue;
            bool taken = false;
            for (Section& section : sections) {
                if (property.name != section.property)
                    continue;
                if (auto items = itemsOf(property.value)) {
                    for (auto& item : *items)
                        section.items.push_back(std::move(item));
                    taken = true;
                }
                break;
            }
            if (!taken)
                leftovers.push_back(std::move(property));
        }
        if (!leftovers.empty())
            attributes.push_back({attribute.name, encodeHex(encodePropertyStream(leftovers))});
    }
    report.clearAttributes();
    for (Attribute& attribute : attributes)
        report.appendAttribute(std::move(attribute.name), std::move(attribute.value));
    size_t insertAt = 0;
    for (Section& section : sections) {
        if (section.items.empty())
            continue;
        auto element = std::make_unique<Component>(section.element);
        for (auto& item : section.items)
            element->appendChild(std::move(item));
        report.insertChild(insertAt++, std::move(element));
    }
}

} // namespace velkaro::report
