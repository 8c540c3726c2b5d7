#include "report/model/Report.h"

#include "base/AsciiCase.h"
#include "base/Error.h"
#include "report/model/Fr3Reader.h"
#include "report/model/Fr3Writer.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <ostream>

namespace velkaro::report {

namespace {

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

bool isAnyOf(std::string_view name, std::initializer_list<std::string_view> names) {
    for (std::string_view candidate : names) {
        if (equalsIgnoreAsciiCase(name, candidate))
            return true;
    }
    return false;
}

// Settings of the component that a template does not change (see Report.h).
bool isComponentSetting(std::string_view name) {
    if (startsWithIgnoreCase(name, "EngineOptions."))
        return !isAnyOf(name.substr(14), {"ConvertNulls", "IgnoreDevByZero", "DoublePass"});
    if (startsWithIgnoreCase(name, "PreviewOptions."))
        return !isAnyOf(name.substr(15), {"OutlineVisible", "OutlineWidth", "OutlineExpand", "PagesInCache",
                                          "ThumbnailVisible"});
    return isAnyOf(name, {"IniFile", "OldStyleProgress", "ShowProgress", "StoreInDFM"});
}

std::unique_ptr<Component> emptyReportElement() {
    auto root = std::make_unique<Component>("TfrxReport");
    root->appendAttribute("Version", std::string(Report::kVersion));
    return root;
}

void holdVersion(Component& root) {
    if (root.hasAttribute("Version"))
        root.setAttribute("Version", std::string(Report::kVersion));
    else
        root.insertAttribute(0, "Version", std::string(Report::kVersion));
}

} // namespace

Report::Report(ApplicationDatasets* applicationDatasets, CodePage codePage)
    : codePage_(codePage), root_(emptyReportElement()), applicationDatasets_(applicationDatasets) {}

Report::~Report() = default;

std::vector<Attribute> Report::componentSettings() const {
    std::vector<Attribute> settings;
    for (const Attribute& attribute : root_->attributes()) {
        if (isComponentSetting(attribute.name))
            settings.push_back(attribute);
    }
    return settings;
}

void Report::applyComponentSettings(std::vector<Attribute> settings) {
    // Where the template has the setting, the component's value takes its place; settings the
    // template lacks go at the end; the template's other component settings go.
    std::vector<bool> used(settings.size(), false);
    std::vector<Attribute> merged;
    merged.reserve(root_->attributes().size() + settings.size());
    for (const Attribute& attribute : root_->attributes()) {
        if (!isComponentSetting(attribute.name)) {
            merged.push_back(attribute);
            continue;
        }
        for (size_t i = 0; i < settings.size(); ++i) {
            if (!used[i] && equalsIgnoreAsciiCase(settings[i].name, attribute.name)) {
                used[i] = true;
                merged.push_back(settings[i]);
                break;
            }
        }
    }
    for (size_t i = 0; i < settings.size(); ++i) {
        if (!used[i])
            merged.push_back(std::move(settings[i]));
    }
    root_->clearAttributes();
    for (Attribute& attribute : merged)
        root_->appendAttribute(std::move(attribute.name), std::move(attribute.value));
}

void Report::reset() {
    std::vector<Attribute> settings = componentSettings();
    root_ = emptyReportElement();
    variables_.clear();
    usedDatasets_.clear();
    loadErrors_.clear();
    applyComponentSettings(std::move(settings));
}

void Report::takeListsFromTree() {
    for (size_t i = 0; i < root_->childCount();) {
        Component& child = root_->child(i);
        if (child.className() == "Variables") {
            for (const auto& item : child.children()) {
                Variable variable;
                bool hasValue = false;
                for (const Attribute& attribute : item->attributes()) {
                    if (equalsIgnoreAsciiCase(attribute.name, "Name")) {
                        variable.name = attribute.value;
                    } else if (equalsIgnoreAsciiCase(attribute.name, "Value") && !hasValue) {
                        variable.value = Variant(attribute.value);
                        hasValue = true;
                    } else {
                        variable.otherAttributes.push_back(attribute);
                    }
                }
                variables_.append(std::move(variable));
            }
        } else if (child.className() == "Datasets") {
            for (const auto& item : child.children()) {
                DatasetEntry entry;
                for (const Attribute& attribute : item->attributes()) {
                    if (equalsIgnoreAsciiCase(attribute.name, "DataSet"))
                        entry.componentName = attribute.value;
                    else if (equalsIgnoreAsciiCase(attribute.name, "DataSetName"))
                        entry.storedUserName = attribute.value;
                    else
                        entry.otherAttributes.push_back(attribute);
                }
                usedDatasets_.add(std::move(entry));
            }
        } else {
            ++i;
            continue;
        }
        (void)root_->takeChild(i);
    }
}

bool Report::load(std::string_view bytes) {
    std::vector<Attribute> settings = componentSettings();
    root_ = emptyReportElement();
    variables_.clear();
    usedDatasets_.clear();

    ReadResult result = Fr3Reader(codePage_).read(bytes);
    loadErrors_ = std::move(result.errors);
    if (result.root && result.root->className() == "TfrxReport") {
        root_ = std::move(result.root);
        holdVersion(*root_);
        takeListsFromTree();
    } else if (result.root) {
        loadErrors_.push_back(
            {"", 0, 0,
             "el archivo no contiene un reporte (elemento raíz <" + result.root->className() + ">)"});
    }
    applyComponentSettings(std::move(settings));
    if (applicationDatasets_ && datasetScope_ == DatasetScope::Application)
        usedDatasets_.bindFrom(*applicationDatasets_);
    usedDatasets_.bindFrom(offeredDatasets_);
    reportLoadErrors();
    return loadErrors_.empty();
}

bool Report::load(std::istream& stream) {
    const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    return load(bytes);
}

void Report::reportLoadErrors() {
    if (loadErrors_.empty())
        return;
    std::string text = "Ha ocurrido el siguiente error:";
    for (const LoadError& error : loadErrors_) {
        text += '\n';
        text += error.describe();
    }
    switch (readEngineOptions(*root_).silentMode) {
    case SilentMode::MessageBoxes:
        sink_->show({MessageKind::Error, "Error", text});
        break;
    case SilentMode::Silent:
        break;
    case SilentMode::Rethrow:
        throw Error(text);
    }
}

std::string Report::save() const {
    std::string out;
    // One allocation for the whole text: templates are mostly one big picture value.
    size_t estimate = 256 + 64 * (usedDatasets_.size() + variables_.size());
    walkTree(*root_, [&](const Component& component, size_t) {
        estimate += 64 + component.className().size() + component.content().size();
        for (const Attribute& attribute : component.attributes())
            estimate += attribute.name.size() + attribute.value.size() + 8;
        return true;
    });
    out.reserve(estimate);
    Fr3Writer writer(out);
    writer.writeDeclaration();
    std::vector<Attribute> attributes = root_->attributes();
    bool hasVersion = false;
    for (Attribute& attribute : attributes) {
        if (equalsIgnoreAsciiCase(attribute.name, "Version")) {
            attribute.value = std::string(kVersion);
            hasVersion = true;
        }
    }
    if (!hasVersion)
        attributes.insert(attributes.begin(), Attribute{"Version", std::string(kVersion)});
    if (root_->childCount() == 0 && root_->content().empty() && usedDatasets_.empty() && variables_.empty()) {
        writer.emptyElement(root_->className(), attributes);
        return out;
    }
    writer.startElement(root_->className(), attributes, root_->content());
    if (!usedDatasets_.empty()) {
        writer.startElement("Datasets", {});
        for (const DatasetEntry& entry : usedDatasets_) {
            std::vector<Attribute> item;
            if (!entry.datasetComponentName().empty())
                item.push_back({"DataSet", std::string(entry.datasetComponentName())});
            item.push_back({"DataSetName", std::string(entry.userName())});
            item.insert(item.end(), entry.otherAttributes.begin(), entry.otherAttributes.end());
            writer.emptyElement("item", item);
        }
        writer.endElement("Datasets");
    }
    if (!variables_.empty()) {
        writer.startElement("Variables", {});
        for (const Variable& variable : variables_) {
            std::vector<Attribute> item{{"Name", variable.name}};
            if (!variable.value.isNull())
                item.push_back({"Value", variableValueText(variable.value)});
            item.insert(item.end(), variable.otherAttributes.begin(), variable.otherAttributes.end());
            writer.emptyElement("item", item);
        }
        writer.endElement("Variables");
    }
    for (const auto& child : root_->children())
        writer.writeSubtree(*child);
    writer.endElement(root_->className());
    return out;
}

void Report::save(std::ostream& stream) const {
    const std::string text = save();
    stream.write(text.data(), std::streamsize(text.size()));
}

ReportSnapshot Report::snapshot() const {
    return {root_->clone(), variables_, usedDatasets_};
}

void Report::restore(const ReportSnapshot& snapshot) {
    root_ = snapshot.root->clone();
    variables_ = snapshot.variables;
    usedDatasets_ = snapshot.usedDatasets;
}

Dataset* Report::findUsedDataset(std::string_view userName) const {
    return usedDatasets_.find(userName);
}

Dataset* Report::findAvailableDataset(std::string_view userName) const {
    if (datasetScope_ == DatasetScope::Application && applicationDatasets_) {
        if (Dataset* found = applicationDatasets_->find(userName))
            return found;
    }
    return offeredDatasets_.find(userName);
}

std::vector<Dataset*> Report::availableDatasets() const {
    std::vector<Dataset*> out;
    auto take = [&](const DatasetList& list) {
        for (const DatasetEntry& entry : list) {
            if (entry.dataset && std::find(out.begin(), out.end(), entry.dataset) == out.end())
                out.push_back(entry.dataset);
        }
    };
    if (datasetScope_ == DatasetScope::Application && applicationDatasets_)
        take(*applicationDatasets_);
    take(offeredDatasets_);
    return out;
}

} // namespace velkaro::report
