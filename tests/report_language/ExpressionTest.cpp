// Compiling expressions: references, name resolution, aggregates, errors.
#include "TestHost.h"
#include "report/language/LanguageError.h"
#include "report/language/Nodes.h"
#include "report/language/Parser.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

using testing::Evaluator;

CompileErrorKind compileFailure(Evaluator& e, std::string_view text, std::string* message = nullptr) {
    try {
        (void)compileExpression(text, e.host().environment());
    } catch (const CompileError& error) {
        if (message)
            *message = error.what();
        return error.kind();
    }
    ADD_FAILURE() << text << " compiled";
    return CompileErrorKind::Syntax;
}

TEST(References, FieldsInBothSpellingsAreBoundOnceAndReadPerRow) {
    Evaluator e;
    e.host().setField("dsData", "KD", Variant(int64_t(30)));
    e.host().setField("dsData", "PLAN_OMS", Variant(int64_t(120)));
    e.host().setField("My Data", "Unit Price", Variant(2.5));
    const CompiledExpression percent =
        compileExpression("IIF(<dsData.\"PLAN_OMS\">=0, '', <dsData.\"KD\">/<dsData.\"PLAN_OMS\">*100)",
                          e.host().environment());
    EXPECT_EQ(valueToText(percent.evaluate(e.context()), e.context().format()), "25");
    e.host().setField("dsData", "PLAN_OMS", Variant(int64_t(0))); // the next row
    EXPECT_EQ(valueToText(percent.evaluate(e.context()), e.context().format()), "");
    EXPECT_EQ(e.text("dsData.\"KD\" + 1"), "31");
    EXPECT_EQ(e.text("DSDATA.\"kd\""), "30");
    EXPECT_EQ(e.text("<My Data.\"Unit Price\"> * 2"), "5");
    std::string message;
    EXPECT_EQ(compileFailure(e, "<dsData.\"MISSING\">", &message), CompileErrorKind::UnknownName);
    EXPECT_EQ(message, "Campo desconocido: dsData.\"MISSING\"");
}

TEST(References, SystemVariablesWithoutRegardToCase) {
    Evaluator e;
    e.system().setPage(3);
    e.system().setTotalPages(7);
    e.system().setLine(12);
    e.system().setValue(Variant(-4));
    struct Case {
        const char* expression;
        const char* expected;
    } const cases[] = {
        {"Page#", "3"},
        {"PAGE#", "3"},
        {"<Page#>", "3"},
        {"Page", "3"},
        {"TotalPages#", "7"},
        {"TOTALPAGES#", "7"},
        {"Line#", "12"},
        {"<Line> mod 2 = 0", "True"},
        {"<Line#> mod 5", "2"},
        {"Value < 0", "True"},
        {"Date", "15/01/2024"},
        {"DATE", "15/01/2024"},
        {"TIME", "12:00:00"},
        {"Date + 1", "16/01/2024"},
        {"'Página ' + IntToStr(Page#) + ' de ' + IntToStr(TotalPages#)", "Página 3 de 7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(e.text(c.expression), c.expected) << c.expression;
}

TEST(References, ReportVariablesComeBeforeSystemNamesAndMarkersAreNoVariables) {
    Evaluator e;
    e.host().variables().add(" Recibidas", Variant());
    e.host().variables().add("cliente", Variant("'7'"));
    e.host().variables().add("Page", Variant("'mine'"));
    EXPECT_EQ(e.text("<cliente>"), "7");
    EXPECT_EQ(e.text("CLIENTE + '!'"), "7!");
    EXPECT_EQ(e.text("Page"), "mine");
    EXPECT_EQ(e.text("Page#"), "1");
    EXPECT_EQ(compileFailure(e, "< Recibidas>"), CompileErrorKind::UnknownName);
}

TEST(References, UnknownNamesAndFunctionsAreClearCompileErrors) {
    Evaluator e;
    std::string message;
    EXPECT_EQ(compileFailure(e, "NoSuchName + 1", &message), CompileErrorKind::UnknownName);
    EXPECT_EQ(message, "Identificador desconocido: NoSuchName");
    EXPECT_EQ(compileFailure(e, "Frobnicate(1)", &message), CompileErrorKind::UnknownFunction);
    EXPECT_EQ(message, "Función desconocida: Frobnicate");
    EXPECT_EQ(compileFailure(e, "CallHbFunc('x', 1)", &message), CompileErrorKind::HostApplicationFunction);
    EXPECT_NE(message.find("CallHbFunc"), std::string::npos);
    EXPECT_EQ(compileFailure(e, "Copy('abc')", &message), CompileErrorKind::WrongArguments);
    EXPECT_EQ(message, "Copy espera de 2 a 3 parámetros y recibió 1");
    EXPECT_EQ(compileFailure(e, "IntToStr", &message), CompileErrorKind::WrongArguments);
    EXPECT_EQ(compileFailure(e, "DecodeDate(Date, 1, 2, 3)", &message), CompileErrorKind::WrongArguments);
    EXPECT_EQ(message, "El parámetro 2 de DecodeDate debe ser una variable");
}

TEST(References, SyntaxErrorsSayWhatIsWrong) {
    Evaluator e;
    struct Case {
        const char* text;
        const char* message;
    } const cases[] = {
        {"(1 + 2", "Se esperaba ')' y se encontró el final de la expresión"},
        {"1 +", "La expresión está incompleta"},
        {"'abc", "Cadena sin cerrar"},
        {"<ds.\"x\"", "Falta '>' al final de la referencia"},
        {"1 2", "Sobra texto al final de la expresión: '2'"},
        {"\"Field\"", "Falta el nombre del conjunto de datos antes de \"Field\""},
        {"1 + [2]", "Un conjunto [...] no se permite aquí"},
        {"2 ? 3", "Carácter no válido '?'"},
        {"", "La expresión está incompleta"},
    };
    for (const Case& c : cases) {
        std::string message;
        EXPECT_EQ(compileFailure(e, c.text, &message), CompileErrorKind::Syntax) << c.text;
        EXPECT_EQ(message, c.message) << c.text;
    }
}

TEST(References, DeepNestingIsRefusedNotAStackOverflow) {
    Evaluator e;
    EXPECT_EQ(compileFailure(e, std::string(5000, '(') + "1" + std::string(5000, ')')),
              CompileErrorKind::TooComplex);
    std::string chain = "1";
    for (int i = 0; i < 5000; ++i)
        chain += "+1";
    EXPECT_EQ(compileFailure(e, chain), CompileErrorKind::TooComplex);
    EXPECT_EQ(compileFailure(e, std::string(5000, '-') + "1"), CompileErrorKind::TooComplex);
    std::string fine = "1";
    for (int i = 0; i < 150; ++i)
        fine += "+1";
    EXPECT_EQ(e.text(fine), "151");
}

TEST(Aggregates, AreDeclaredToTheHostWithBandAndFlags) {
    Evaluator e;
    e.host().addBand("MasterData1");
    e.host().addBand("md");
    e.host().setField("ds", "CNT", Variant(int64_t(2)));
    e.host().variables().add("KD", Variant(int64_t(4)));
    e.host().setAggregateResult(Variant(int64_t(10)));
    EXPECT_EQ(e.text("SUM(<ds.\"CNT\">,md)/<KD>*100"), "250");
    ASSERT_EQ(e.host().aggregates().size(), 1u);
    const AggregateDefinition& sum = e.host().aggregates()[0];
    EXPECT_EQ(sum.function, AggregateFunction::Sum);
    EXPECT_EQ(sum.bandName, "md");
    EXPECT_EQ(sum.argumentText, "<ds.\"CNT\">");
    ASSERT_TRUE(sum.argument);
    EXPECT_EQ(valueToText(sum.argument->evaluate(e.context()), e.context().format()), "2");

    (void)e.evaluate("SUM(<ds.\"CNT\">, MasterData1, 2)");
    EXPECT_EQ(e.host().aggregates().back().flags, 2);
    (void)e.evaluate("COUNT(MasterData1)");
    EXPECT_EQ(e.host().aggregates().back().function, AggregateFunction::Count);
    EXPECT_FALSE(e.host().aggregates().back().argument);
    (void)e.evaluate("AVG(<ds.\"CNT\">)");
    EXPECT_EQ(e.host().aggregates().back().bandName, "");

    std::string message;
    EXPECT_EQ(compileFailure(e, "SUM(<ds.\"CNT\">, NoBand)", &message), CompileErrorKind::UnknownName);
    EXPECT_EQ(message, "SUM: la banda 'NoBand' no existe");
    EXPECT_EQ(compileFailure(e, "SUM(<ds.\"CNT\">, MasterData1, <KD>)"), CompileErrorKind::WrongArguments);
}

TEST(Aggregates, MinAndMaxOfTwoValuesAreTheMathFunctions) {
    Evaluator e;
    e.host().addBand("MasterData1");
    e.host().variables().add("a", Variant(int64_t(3)));
    e.host().setAggregateResult(Variant(int64_t(99)));
    EXPECT_EQ(e.text("Max(2, 5)"), "5");
    EXPECT_EQ(e.text("MIN(<a>, 1 + 1)"), "2");
    EXPECT_EQ(e.text("Min(7, a)"), "3"); // a is a variable, not a band
    EXPECT_TRUE(e.host().aggregates().empty());
    EXPECT_EQ(e.text("MAX(<a>, MasterData1)"), "99");
    EXPECT_EQ(e.host().aggregates().size(), 1u);
}

TEST(Scripts, LocalsReceiveVarParameters) {
    Evaluator e;
    LocalScope scope;
    const size_t year = scope.declare("Y");
    const size_t month = scope.declare("M");
    const size_t day = scope.declare("D");
    EXPECT_EQ(scope.declare("y"), year);
    const CompileEnvironment environment{e.host(), e.host().environment().functions, &scope};
    LocalFrame frame(scope.size());
    e.context().setFrame(&frame);
    (void)compileExpression("DecodeDate(EncodeDate(2024, 2, 29), Y, M, D)", environment)
        .evaluate(e.context());
    EXPECT_EQ(frame.slot(year).asInteger(), 2024);
    EXPECT_EQ(frame.slot(month).asInteger(), 2);
    EXPECT_EQ(frame.slot(day).asInteger(), 29);
    EXPECT_EQ(compileExpression("DaysInMonth(Y, M) = D", environment).evaluate(e.context()).asBoolean(),
              true);
    frame.slot(day) = Variant("abcdef");
    (void)compileExpression("Delete(D, 2, 3)", environment).evaluate(e.context());
    EXPECT_EQ(frame.slot(day).asString(), "aef");
    (void)compileExpression("Insert('XY', D, 2)", environment).evaluate(e.context());
    EXPECT_EQ(frame.slot(day).asString(), "aXYef");
    frame.slot(month) = Variant(int64_t(5));
    (void)compileExpression("Inc(M, 3)", environment).evaluate(e.context());
    EXPECT_EQ(frame.slot(month).asInteger(), 8);
}

TEST(Scripts, TheParserStopsWhereTheExpressionEnds) {
    Evaluator e;
    Lexer lexer("1 + 2; 'next'");
    ExpressionParser parser(lexer, e.host().environment());
    const NodePointer first = parser.parseExpression();
    EXPECT_EQ(lexer.current().kind, TokenKind::Semicolon);
    EXPECT_EQ(first->evaluate(e.context()).asInteger(), 3);
    lexer.advance();
    EXPECT_EQ(parser.parseExpression()->evaluate(e.context()).asString(), "next");
}

TEST(Lexer, CommentsCharacterCodesAndHashNames) {
    Lexer lexer("Page# {c} (* c *) // c\n #13#10'x'#$41 $1F 1..2");
    EXPECT_EQ(lexer.current().text, "Page#");
    lexer.advance();
    EXPECT_EQ(lexer.current().kind, TokenKind::String);
    EXPECT_EQ(lexer.current().text, "\r\nxA");
    lexer.advance();
    EXPECT_EQ(lexer.current().integer, 31);
    lexer.advance();
    EXPECT_EQ(lexer.current().kind, TokenKind::Integer);
    lexer.advance();
    EXPECT_EQ(lexer.current().kind, TokenKind::DotDot);
    EXPECT_THROW(Lexer("{ open"), CompileError);
    EXPECT_THROW(Lexer("#99999999"), CompileError);
}

} // namespace
} // namespace velkaro::report
