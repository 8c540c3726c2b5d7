// Checking every expression of a template, and the walk over the real templates of the corpus.
#include "report/language/TemplateExpressions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace velkaro::report {
namespace {

constexpr const char* kTemplate = R"(<?xml version="1.0" encoding="utf-8"?>
<TfrxReport Version="5.3.16">
  <Variables>
    <item Name=" Recibidas"/>
    <item Name="cliente" Value="'7'"/>
  </Variables>
  <TfrxReportPage Name="Page1">
    <TfrxGroupHeader Name="GroupHeader1" Condition="ds.&#34;GROUP&#34;"/>
    <TfrxGroupHeader Name="GroupHeader2" Condition="ds.&#34;GROUP&#34; +"/>
    <TfrxMasterData Name="MasterData1" DataSetName="ds">
      <TfrxMemoView Name="Memo1" Text="[ds.&#34;A&#34;] - [Frob(1)]&#13;&#10;[SUM(&#60;ds.&#34;B&#34;&#62;,MasterData1)]"/>
      <TfrxMemoView Name="Memo2" AllowExpressions="False" Text="[not an expression("/>
      <TfrxMemoView Name="Memo3" ExpressionDelimiters="%,%" Text="%Page#% [this is literal"/>
      <TfrxMemoView Name="Memo4" Highlight.Condition="&#60;Line&#62; mod 2 = 0" Text="[CallHbFunc('x')]"/>
      <TfrxSysMemoView Name="SysMemo1" Text="[SUM(&#60;ds.&#34;B&#34;&#62;,NoSuchBand)] [cliente]"/>
      <TfrxBarCodeView Name="BarCode1" Expression="&#60;ds.&#34;CODE&#34;&#62;" Text="12345"/>
    </TfrxMasterData>
  </TfrxReportPage>
</TfrxReport>)";

TEST(TemplateCheck, ReportsEveryTextThatDoesNotCompileWithItsObject) {
    const FunctionRegistry functions = standardFunctions();
    const TemplateExpressions collected = collectTemplateExpressions(kTemplate);
    EXPECT_EQ(collected.variableNames, std::vector<std::string>{"cliente"});
    const std::vector<ReportDiagnostic> diagnostics = checkExpressions(collected, functions);
    std::vector<std::string> lines;
    for (const ReportDiagnostic& d : diagnostics)
        lines.push_back(d.objectName + " | " + d.expression + " | " + d.message);
    const std::vector<std::string> expected{
        "GroupHeader2.Condition | ds.\"GROUP\" + | La expresión está incompleta",
        "Memo1 | Frob(1) | Función desconocida: Frob",
        "Memo4 | CallHbFunc('x') | La función CallHbFunc la proporciona la aplicación para la que se "
        "escribió la "
        "plantilla y no está disponible aquí",
        "SysMemo1 | SUM(<ds.\"B\">,NoSuchBand) | SUM: la banda 'NoSuchBand' no existe",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(diagnostics[2].compileErrorKind, CompileErrorKind::HostApplicationFunction);
}

TEST(TemplateCheck, ItemsFromAnyToolCanBeChecked) {
    TemplateExpressions items;
    items.items.push_back({"Memo9", "[1 +]", ExpressionSource::BracketedText, {}});
    items.items.push_back({"Memo9.Highlight.Condition", "Value > 0", ExpressionSource::WholeExpression, {}});
    const auto diagnostics = checkExpressions(items, standardFunctions());
    ASSERT_EQ(diagnostics.size(), 1u);
    EXPECT_EQ(diagnostics[0].objectName, "Memo9");
}

TEST(TemplateCheck, ReadsMixedEncodingsAndStrayAmpersandsAndRefusesNonXml) {
    // A cp1252 byte and a bare "&" as templates written on Windows carry them.
    const std::string bytes =
        "<TfrxReport><TfrxMemoView Name=\"M\" Text=\"Ca\xE7\x61 & [Page#]\"/></TfrxReport>";
    const TemplateExpressions collected = collectTemplateExpressions(bytes);
    ASSERT_EQ(collected.items.size(), 1u);
    EXPECT_EQ(collected.items[0].text, "Ca\xC3\xA7\x61 & [Page#]");
    EXPECT_THROW((void)collectTemplateExpressions("<TfrxReport><unclosed"), velkaro::Error);
}

TEST(Corpus, EveryExpressionOfEveryTemplateCompiles) {
    const std::filesystem::path corpus(VELKARO_CORPUS_DIR);
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    const FunctionRegistry functions = standardFunctions();
    size_t files = 0;
    size_t items = 0;
    size_t expressions = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".fr3")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        TemplateExpressions collected;
        ASSERT_NO_THROW(collected = collectTemplateExpressions(bytes)) << entry.path();
        ++files;
        items += collected.items.size();
        for (const ExpressionItem& item : collected.items) {
            if (item.source == ExpressionSource::WholeExpression) {
                ++expressions;
                continue;
            }
            for (const TextPart& part : splitExpressionText(item.text, item.options.delimiters))
                expressions += part.kind == TextPart::Kind::Expression;
        }
        for (const ReportDiagnostic& diagnostic : checkExpressions(collected, functions)) {
            EXPECT_EQ(diagnostic.compileErrorKind, CompileErrorKind::HostApplicationFunction)
                << entry.path().filename() << ": " << diagnostic.describe();
        }
    }
    EXPECT_GE(files, 47u);
    // The census counts 1387 text objects with expressions; every one of them was compiled.
    EXPECT_GT(expressions, 1387u);
    RecordProperty("expressions", static_cast<int>(expressions));
    std::printf("corpus: %zu files, %zu texts and conditions, %zu expressions compiled\n", files, items,
                expressions);
}

} // namespace
} // namespace velkaro::report
