// Texts with expressions: splitting, inline formats, display formats and diagnostics.
#include "TestHost.h"
#include "report/language/CompiledText.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

using testing::Evaluator;

std::string describeParts(std::string_view text, const ExpressionDelimiters& delimiters = {}) {
    std::string out;
    for (const TextPart& part : splitExpressionText(text, delimiters)) {
        out += part.kind == TextPart::Kind::Literal ? "L(" : "E(";
        out += part.text;
        if (part.inlineFormat)
            out += " | " + std::to_string(static_cast<int>(part.inlineFormat->kind)) + ":" +
                   part.inlineFormat->formatString;
        out += ")";
    }
    return out;
}

TEST(Splitting, DelimitersNestingQuotesAndSuffixes) {
    struct Case {
        const char* text;
        const char* parts;
    } const cases[] = {
        {"Total: [<ds.\"x\">] €", "L(Total: )E(<ds.\"x\">)L( €)"},
        {"[IIF(<a> > 0, '[x]', '')]", "E(IIF(<a> > 0, '[x]', ''))"},
        {"[Copy(<s>, 1, [n])]", "E(Copy(<s>, 1, [n]))"},
        {"[ds.\"a]b\"]", "E(ds.\"a]b\")"},
        {"Price [USD", "L(Price [USD)"},
        {"a [b [c] d", "L(a [b )E(c)L( d)"},
        {"[O'Brien]", "L([O'Brien])"},
        {"[Date #ddd/mm/yyyy]", "E(Date | 2:dd/mm/yyyy)"},
        {"[Time #dhh:mm:ss]", "E(Time | 2:hh:mm:ss)"},
        {"[<x> #n%2,2f]", "E(<x> | 1:%2,2f)"},
        {"[Identificacao.\"Serie\" #n#000]", "E(Identificacao.\"Serie\" | 1:#000)"},
        {"[<b> #bNo,Sí]", "E(<b> | 3:No,Sí)"},
        {"[Page#]", "E(Page#)"},
        {"[Page# #n%d]", "E(Page# | 1:%d)"},
        {"['a'#13'b']", "E('a'#13'b')"},
        {"['#nope']", "E('#nope')"},
        {"line1\r\n[x]\r\n", "L(line1\r\n)E(x)L(\r\n)"},
        {"[]", "E()"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describeParts(c.text), c.parts) << c.text;
    const ExpressionDelimiters percent = ExpressionDelimiters::fromProperty("%,%");
    EXPECT_EQ(describeParts("a %<x>% b [y]", percent), "L(a )E(<x>)L( b [y])");
    EXPECT_EQ(ExpressionDelimiters::fromProperty("<<,>>").close, ">>");
    EXPECT_EQ(ExpressionDelimiters::fromProperty("junk").open, "[");
}

struct TextFixture {
    Evaluator evaluator;
    DiagnosticList diagnostics;

    std::string run(std::string_view text, const TextFormats& formats = {}, const TextOptions& options = {}) {
        const CompiledText compiled =
            CompiledText::compile("Memo1", text, options, evaluator.host().environment(), diagnostics);
        return compiled.evaluate(evaluator.context(), formats, diagnostics);
    }
};

TEST(CompiledText, SubstitutesFieldsPerRowWithoutReparsing) {
    TextFixture f;
    f.evaluator.host().setField("frxDBDataset1", "NOME", Variant("Ana"));
    DiagnosticList diagnostics;
    const CompiledText text = CompiledText::compile("Memo1", "Nome: [frxDBDataset1.\"NOME\"]", TextOptions{},
                                                    f.evaluator.host().environment(), diagnostics);
    EXPECT_EQ(text.expressionCount(), 1u);
    EXPECT_EQ(text.evaluate(f.evaluator.context(), {}, diagnostics), "Nome: Ana");
    f.evaluator.host().setField("frxDBDataset1", "NOME", Variant("Bruno"));
    EXPECT_EQ(text.evaluate(f.evaluator.context(), {}, diagnostics), "Nome: Bruno");
    EXPECT_TRUE(diagnostics.empty());
}

TEST(CompiledText, AllowExpressionsOffPrintsTheTextAsItIs) {
    TextFixture f;
    TextOptions literal;
    literal.expressions = ExpressionUse::LiteralText;
    EXPECT_EQ(f.run("[Page#] of [x", {}, literal), "[Page#] of [x");
    EXPECT_TRUE(f.diagnostics.empty());
}

TEST(CompiledText, FormatsInlineThenPerExpressionThenObject) {
    TextFixture f;
    f.evaluator.host().setField("ds", "v", Variant(1234567.891));
    f.evaluator.host().setField("ds", "w", Variant(Currency{50000}));
    f.evaluator.host().setField("ds", "d", Variant(DateTime{45306.0}));
    DisplayFormat objectFormat{DisplayKind::Numeric, "%2.2n", "", ""};
    TextFormats formats{&objectFormat};
    EXPECT_EQ(f.run("[<ds.\"v\">]", formats), "1,234,567.89");
    EXPECT_EQ(f.run("[<ds.\"v\"> #n%2.4f] / [<ds.\"w\">]", formats), "1234567.8910 / 5.00");
    const DisplayFormat items[] = {DisplayFormat{DisplayKind::Numeric, "%g", "", ""}, DisplayFormat{}};
    formats.perExpression = items;
    EXPECT_EQ(f.run("[<ds.\"v\">] [<ds.\"w\">] [<ds.\"w\">]", formats), "1234567.891 5 5.00");
    EXPECT_EQ(f.run("[<ds.\"d\"> #ddd.mm.yyyy]"), "15.01.2024");
    EXPECT_EQ(f.run("[<ds.\"d\">]"), "15/01/2024");
}

TEST(DisplayFormats, KindsSeparatorsAndZeros) {
    const ValueRules rules;
    struct Case {
        Variant value;
        DisplayFormat format;
        ZeroDisplay zeros;
        const char* expected;
    } const cases[] = {
        {Variant(1234567.891), {DisplayKind::Numeric, "%2.2n", "", ""}, ZeroDisplay::Show, "1,234,567.89"},
        {Variant(1234567.891), {DisplayKind::Numeric, "%2.2n", ",", ""}, ZeroDisplay::Show, "1.234.567,89"},
        {Variant(1234.5), {DisplayKind::Numeric, "%2.2f", ",", ""}, ZeroDisplay::Show, "1234,50"},
        {Variant(1234.5), {DisplayKind::Numeric, ",0.00##", ".", ""}, ZeroDisplay::Show, "1,234.50"},
        {Variant(1234.5), {DisplayKind::Numeric, "#,##0.00", ",", "."}, ZeroDisplay::Show, "1.234,50"},
        {Variant("1234.5"), {DisplayKind::Numeric, "%2.2m", "", ""}, ZeroDisplay::Show, "$1,234.50"},
        {Variant(" "),
         {DisplayKind::Numeric, "%2.2n", "", ""},
         ZeroDisplay::Show,
         " "}, // not a number: as is
        {Variant("abc"), {DisplayKind::Numeric, "%d", "", ""}, ZeroDisplay::Show, "abc"},
        {Variant(int64_t(5)),
         {DisplayKind::Numeric, "%d of %d", "", ""},
         ZeroDisplay::Show,
         "5"}, // unusable: as is
        {Variant(Currency{0}), {DisplayKind::Numeric, "%2.2n", "", ""}, ZeroDisplay::Hide, ""},
        {Variant(0.0), {DisplayKind::Text, "", "", ""}, ZeroDisplay::Hide, ""},
        {Variant("0"), {DisplayKind::Text, "", "", ""}, ZeroDisplay::Hide, "0"},
        {Variant(int64_t(0)), {DisplayKind::Numeric, "%2.2n", "", ""}, ZeroDisplay::Show, "0.00"},
        {Variant(DateTime{45306.5}),
         {DisplayKind::DateTime, "dd/mm/yyyy hh:mm:ss", "", ""},
         ZeroDisplay::Show,
         "15/01/2024 12:00:00"},
        {Variant("2024-01-15"),
         {DisplayKind::DateTime, "dd.mm.yyyy", "", ""},
         ZeroDisplay::Show,
         "15.01.2024"},
        {Variant("pronto"), {DisplayKind::DateTime, "dd.mm.yyyy", "", ""}, ZeroDisplay::Show, "pronto"},
        {Variant(true), {DisplayKind::Boolean, "No,Sí", "", ""}, ZeroDisplay::Show, "Sí"},
        {Variant(int64_t(0)), {DisplayKind::Boolean, "No,Sí", "", ""}, ZeroDisplay::Show, "No"},
        {Variant(false), {DisplayKind::Boolean, "", "", ""}, ZeroDisplay::Show, "False"},
        {Variant(), {DisplayKind::Numeric, "%2.2n", "", ""}, ZeroDisplay::Show, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatDisplayValue(c.value, c.format, c.zeros, rules), c.expected)
            << c.format.formatString << " of " << valueToText(c.value, FormatSettings{});
    }
    EXPECT_EQ(displayKindFromName("fkNumeric"), DisplayKind::Numeric);
    EXPECT_EQ(displayKindFromName("FKDATETIME"), DisplayKind::DateTime);
    EXPECT_FALSE(displayKindFromName("fkWhatever"));
}

TEST(Diagnostics, FailuresCarryTheObjectAndExpressionAndPrintNoGarbage) {
    TextFixture f;
    f.evaluator.host().setField("ds", "x", Variant("abc"));
    EXPECT_EQ(f.run("A [Frob(1)] B [<ds.\"x\"> + 1] C [Page#]"), "A [Frob(1)] B  C 1");
    ASSERT_EQ(f.diagnostics.size(), 2u);
    const ReportDiagnostic& compile = f.diagnostics.entries()[0];
    EXPECT_EQ(compile.objectName, "Memo1");
    EXPECT_EQ(compile.expression, "Frob(1)");
    EXPECT_EQ(compile.stage, DiagnosticStage::Compile);
    EXPECT_EQ(compile.describe(), "Memo1: la expresión «Frob(1)» no es válida: Función desconocida: Frob");
    const ReportDiagnostic& evaluation = f.diagnostics.entries()[1];
    EXPECT_EQ(evaluation.stage, DiagnosticStage::Evaluate);
    EXPECT_EQ(evaluation.describe(),
              "Memo1: error al evaluar «<ds.\"x\"> + 1»: No se puede convertir el texto 'abc' a número");
}

TEST(Diagnostics, RepeatsCountUpAndTheListIsBounded) {
    DiagnosticList list;
    for (int i = 0; i < 1000; ++i)
        list.add(ReportDiagnostic{"Memo1", "1/0", "División por cero", DiagnosticStage::Evaluate});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.entries()[0].occurrences, 1000u);
    EXPECT_NE(list.entries()[0].describe().find("(1000 veces)"), std::string::npos);
    for (size_t i = 0; i < DiagnosticList::kMaximumEntries + 10; ++i)
        list.add(ReportDiagnostic{"Memo" + std::to_string(i), "x", "y", DiagnosticStage::Compile});
    EXPECT_EQ(list.size(), DiagnosticList::kMaximumEntries);
    EXPECT_EQ(list.dropped(), 11u);
}

} // namespace
} // namespace velkaro::report
