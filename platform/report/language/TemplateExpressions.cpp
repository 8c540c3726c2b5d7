#include "report/language/TemplateExpressions.h"

#include "base/AsciiCase.h"
#include "base/CodePage.h"
#include "base/Error.h"
#include "report/language/LanguageError.h"

#include <pugixml.hpp>

#include <algorithm>

namespace velkaro::report {

namespace {

// Escapes every "&" that does not start a character or entity reference.
std::string escapeStrayAmpersands(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        size_t j = i + 1;
        if (j < text.size() && text[j] == '#') {
            ++j;
            if (j < text.size() && (text[j] == 'x' || text[j] == 'X'))
                ++j;
        }
        const size_t nameStart = j;
        while (j < text.size() && j - nameStart < 32 &&
               ((text[j] >= 'a' && text[j] <= 'z') || (text[j] >= 'A' && text[j] <= 'Z') ||
                (text[j] >= '0' && text[j] <= '9')))
            ++j;
        const bool reference = j > nameStart && j < text.size() && text[j] == ';';
        out += reference ? "&" : "&amp;";
    }
    return out;
}

bool isTextObject(std::string_view element) {
    return element.find("Memo") != std::string_view::npos;
}

void collect(const pugi::xml_node& node, const std::string& owner, TemplateExpressions& out) {
    const std::string elementName = node.name();
    const std::string name = node.attribute("Name").as_string();
    const std::string objectName = name.empty() ? owner : name;
    if (!name.empty())
        out.componentNames.push_back(name);

    if (isTextObject(elementName)) {
        TextOptions options;
        if (const auto delimiters = node.attribute("ExpressionDelimiters"))
            options.delimiters = ExpressionDelimiters::fromProperty(delimiters.as_string());
        if (equalsIgnoreAsciiCase(node.attribute("AllowExpressions").as_string("True"), "False"))
            options.expressions = ExpressionUse::LiteralText;
        for (const char* attribute : {"Text", "Memo.Text"}) {
            if (const auto text = node.attribute(attribute);
                text && options.expressions == ExpressionUse::Evaluate)
                out.items.push_back({objectName, text.as_string(), ExpressionSource::BracketedText, options});
        }
    }
    for (const char* attribute : {"Condition", "Highlight.Condition", "Expression", "Filter"}) {
        const auto value = node.attribute(attribute);
        if (!value || trimControls(value.as_string()).empty())
            continue;
        out.items.push_back({objectName + "." + attribute, value.as_string(),
                             ExpressionSource::WholeExpression, TextOptions{}});
    }
    if (elementName == "Variables") {
        for (const pugi::xml_node& item : node.children("item")) {
            const std::string variable = item.attribute("Name").as_string();
            if (!variable.empty() && variable.front() != ' ')
                out.variableNames.push_back(variable);
        }
    }
    for (const pugi::xml_node& child : node.children())
        collect(child, objectName, out);
}

// Accepts what a running report would provide: any dataset field, any variable, bands by name.
class CheckingHost final : public ExpressionHost {
public:
    explicit CheckingHost(const TemplateExpressions& expressions) : expressions_(expressions) {}

    std::optional<FieldHandle> bindField(std::string_view, std::string_view) override {
        return FieldHandle{};
    }
    std::optional<NameHandle> bindName(std::string_view name) override {
        for (const std::string& variable : expressions_.variableNames) {
            if (equalsIgnoreAsciiCase(variable, name))
                return NameHandle{};
        }
        return std::nullopt;
    }
    std::optional<NameHandle> bindUndeclaredName(std::string_view) override { return NameHandle{}; }
    std::optional<AggregateHandle> bindAggregate(const AggregateDefinition& definition) override {
        if (definition.bandName.empty())
            return AggregateHandle{};
        for (const std::string& component : expressions_.componentNames) {
            if (equalsIgnoreAsciiCase(component, definition.bandName))
                return AggregateHandle{};
        }
        return std::nullopt;
    }
    Variant fieldValue(FieldHandle) override { return Variant(); }
    Variant nameValue(NameHandle, EvaluationContext&) override { return Variant(); }

private:
    const TemplateExpressions& expressions_;
};

} // namespace

TemplateExpressions collectTemplateExpressions(std::string_view fr3Bytes) {
    std::string text = decodeMixedText(fr3Bytes, userCodePage());
    pugi::xml_document document;
    pugi::xml_parse_result result =
        document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!result) {
        text = escapeStrayAmpersands(text);
        result = document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    }
    if (!result)
        throw velkaro::Error(std::string("La plantilla no es un documento XML válido: ") +
                             result.description() + " (posición " + std::to_string(result.offset) + ")");
    TemplateExpressions expressions;
    for (const pugi::xml_node& child : document.children())
        collect(child, std::string(), expressions);
    return expressions;
}

std::vector<ReportDiagnostic> checkExpressions(const TemplateExpressions& expressions,
                                               const FunctionRegistry& functions) {
    CheckingHost host(expressions);
    const CompileEnvironment environment{host, functions};
    DiagnosticList diagnostics;
    for (const ExpressionItem& item : expressions.items) {
        if (item.source == ExpressionSource::BracketedText) {
            (void)CompiledText::compile(item.objectName, item.text, item.options, environment, diagnostics);
            continue;
        }
        try {
            (void)compileExpression(item.text, environment);
        } catch (const CompileError& error) {
            diagnostics.add(ReportDiagnostic{item.objectName, item.text, error.what(),
                                             DiagnosticStage::Compile, 1, error.kind()});
        }
    }
    return diagnostics.entries();
}

std::vector<ReportDiagnostic> checkTemplateExpressions(std::string_view fr3Bytes,
                                                       const FunctionRegistry& functions) {
    return checkExpressions(collectTemplateExpressions(fr3Bytes), functions);
}

} // namespace velkaro::report
