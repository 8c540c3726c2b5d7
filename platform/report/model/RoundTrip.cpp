#include "report/model/RoundTrip.h"

#include "report/model/VariableList.h"

#include <algorithm>

namespace velkaro::report {

namespace {

constexpr std::string_view kAbsent = "(falta)";
constexpr size_t kMaxDifferences = 1000;

std::string stepName(const Component& component, size_t index) {
    std::string step = component.className();
    const std::string_view name = component.name();
    step += '[';
    step += name.empty() ? std::to_string(index) : std::string(name);
    step += ']';
    return step;
}

// Long values (pictures) are shortened so that a report stays readable.
std::string shown(std::string_view value) {
    if (value.size() <= 200)
        return std::string(value);
    return std::string(value.substr(0, 200)) + "... (" + std::to_string(value.size()) + " bytes)";
}

void compareAttributes(const Component& a, const Component& b, const std::string& path,
                       std::vector<TreeDifference>& out, bool isReportRoot) {
    auto relevant = [&](const Component& c) {
        std::vector<const Attribute*> list;
        for (const Attribute& attribute : c.attributes()) {
            if (!(isReportRoot && attribute.name == "Version"))
                list.push_back(&attribute);
        }
        return list;
    };
    const auto first = relevant(a);
    const auto second = relevant(b);
    const size_t count = std::max(first.size(), second.size());
    for (size_t i = 0; i < count && out.size() < kMaxDifferences; ++i) {
        const Attribute* x = i < first.size() ? first[i] : nullptr;
        const Attribute* y = i < second.size() ? second[i] : nullptr;
        if (x && y && x->name == y->name) {
            if (x->value != y->value)
                out.push_back({path + "@" + x->name, shown(x->value), shown(y->value)});
            continue;
        }
        const std::string where = path + "@#" + std::to_string(i + 1);
        out.push_back({where, x ? x->name + "=" + shown(x->value) : std::string(kAbsent),
                       y ? y->name + "=" + shown(y->value) : std::string(kAbsent)});
    }
}

std::string variantText(const Variant& value) {
    return value.isNull() ? "(Null)" : variableValueText(value);
}

} // namespace

std::vector<TreeDifference> compareTrees(const Component& first, const Component& second) {
    std::vector<TreeDifference> out;
    struct Pending {
        const Component* a;
        const Component* b;
        std::string path;
    };
    std::vector<Pending> stack{{&first, &second, stepName(first, 0)}};
    while (!stack.empty() && out.size() < kMaxDifferences) {
        Pending current = std::move(stack.back());
        stack.pop_back();
        const Component& a = *current.a;
        const Component& b = *current.b;
        if (a.className() != b.className()) {
            out.push_back({current.path, a.className(), b.className()});
            continue;
        }
        compareAttributes(a, b, current.path, out, &a == &first && a.className() == "TfrxReport");
        if (a.content() != b.content())
            out.push_back({current.path + "#texto", shown(a.content()), shown(b.content())});
        const size_t common = std::min(a.childCount(), b.childCount());
        for (size_t i = a.childCount(); i > common; --i)
            out.push_back(
                {current.path + "/" + stepName(a.child(i - 1), i - 1), "presente", std::string(kAbsent)});
        for (size_t i = b.childCount(); i > common; --i)
            out.push_back(
                {current.path + "/" + stepName(b.child(i - 1), i - 1), std::string(kAbsent), "presente"});
        for (size_t i = common; i > 0; --i)
            stack.push_back(
                {&a.child(i - 1), &b.child(i - 1), current.path + "/" + stepName(a.child(i - 1), i - 1)});
    }
    return out;
}

std::vector<TreeDifference> compareReports(const Report& first, const Report& second) {
    std::vector<TreeDifference> out = compareTrees(first.root(), second.root());
    const VariableList& v1 = first.variables();
    const VariableList& v2 = second.variables();
    for (size_t i = 0; i < std::max(v1.size(), v2.size()); ++i) {
        const std::string path = "Variables/item[" + std::to_string(i) + "]";
        if (i >= v1.size() || i >= v2.size()) {
            out.push_back({path, i < v1.size() ? v1[i].name : std::string(kAbsent),
                           i < v2.size() ? v2[i].name : std::string(kAbsent)});
            continue;
        }
        if (v1[i].name != v2[i].name)
            out.push_back({path + "@Name", v1[i].name, v2[i].name});
        if (!(v1[i].value == v2[i].value))
            out.push_back({path + "@Value", variantText(v1[i].value), variantText(v2[i].value)});
        if (v1[i].otherAttributes != v2[i].otherAttributes)
            out.push_back({path, "otros atributos", "distintos"});
    }
    const DatasetList& d1 = first.usedDatasets();
    const DatasetList& d2 = second.usedDatasets();
    for (size_t i = 0; i < std::max(d1.size(), d2.size()); ++i) {
        const std::string path = "Datasets/item[" + std::to_string(i) + "]";
        if (i >= d1.size() || i >= d2.size()) {
            out.push_back({path, i < d1.size() ? std::string(d1[i].userName()) : std::string(kAbsent),
                           i < d2.size() ? std::string(d2[i].userName()) : std::string(kAbsent)});
            continue;
        }
        if (d1[i].datasetComponentName() != d2[i].datasetComponentName())
            out.push_back({path + "@DataSet", std::string(d1[i].datasetComponentName()),
                           std::string(d2[i].datasetComponentName())});
        if (d1[i].userName() != d2[i].userName())
            out.push_back(
                {path + "@DataSetName", std::string(d1[i].userName()), std::string(d2[i].userName())});
        if (d1[i].otherAttributes != d2[i].otherAttributes)
            out.push_back({path, "otros atributos", "distintos"});
    }
    return out;
}

RoundTripResult checkRoundTrip(std::string_view bytes, CodePage codePage) {
    RoundTripResult result;
    Report first(nullptr, codePage);
    first.setEngineOptions([&] {
        EngineOptions options = first.engineOptions();
        options.silentMode = SilentMode::Silent;
        return options;
    }());
    first.load(bytes);
    result.loadErrors = first.loadErrors();
    const std::string saved = first.save();
    Report second(nullptr, codePage);
    second.setEngineOptions(first.engineOptions());
    second.load(saved);
    result.reloadErrors = second.loadErrors();
    result.differences = compareReports(first, second);
    return result;
}

} // namespace velkaro::report
