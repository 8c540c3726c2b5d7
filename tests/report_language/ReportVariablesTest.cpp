// Report variables are expressions evaluated when named.
#include "TestHost.h"
#include "report/language/LanguageError.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

using testing::Evaluator;

TEST(ReportVariables, ValuesAreExpressionsUnlessTheyHoldALineBreak) {
    Evaluator e;
    ReportVariables& variables = e.host().variables();
    e.host().setField("ds", "n", Variant(int64_t(4)));
    variables.add(" Recibidas", Variant());
    variables.add("cliente", Variant("'7'"));
    variables.add("doble", Variant("<ds.\"n\"> * 2"));
    variables.add("texto", Variant("línea 1\r\nlínea 2"));
    variables.add("recibido", Variant("'calle 1\r\nciudad'"));
    variables.add("numero", Variant(int64_t(5)));
    variables.add("vacia", Variant(""));
    variables.add("nombre", Variant("'O'Brien'"));
    variables.add("suma", Variant("<doble> + <numero>"));
    EXPECT_EQ(e.text("<cliente>"), "7");
    EXPECT_EQ(e.evaluate("<cliente>").type(), Variant::Type::String);
    EXPECT_EQ(e.text("<doble>"), "8");
    e.host().setField("ds", "n", Variant(int64_t(10)));
    EXPECT_EQ(e.text("<doble>"), "20"); // evaluated each time it is named
    EXPECT_EQ(e.text("<texto>"), "línea 1\r\nlínea 2");
    EXPECT_EQ(e.text("<recibido>"), "calle 1\r\nciudad");
    EXPECT_EQ(e.text("<numero> + 1"), "6");
    EXPECT_TRUE(e.evaluate("<vacia>").isNull());
    EXPECT_EQ(e.text("<nombre>"), "O'Brien"); // a stray apostrophe does not lose the value
    EXPECT_EQ(e.text("<suma>"), "25");
    EXPECT_FALSE(variables.find(" Recibidas"));
    EXPECT_EQ(variables.find("CLIENTE"), 1u);
}

TEST(ReportVariables, SetReplacesAndRecompiles) {
    Evaluator e;
    ReportVariables& variables = e.host().variables();
    variables.add("Periodo", Variant("'enero'"));
    const CompiledExpression named = compileExpression("'Periodo: ' + Periodo", e.host().environment());
    EXPECT_EQ(valueToText(named.evaluate(e.context()), e.context().format()), "Periodo: enero");
    variables.set("PERIODO", Variant("'febrero'"));
    EXPECT_EQ(valueToText(named.evaluate(e.context()), e.context().format()), "Periodo: febrero");
    variables.set("Nueva", Variant(int64_t(1)));
    EXPECT_EQ(variables.size(), 2u);
}

TEST(ReportVariables, BadAndCircularValuesFailWithTheVariableName) {
    Evaluator e;
    ReportVariables& variables = e.host().variables();
    variables.add("mala", Variant("Frob(1)"));
    variables.add("a", Variant("<b> + 1"));
    variables.add("b", Variant("<a> + 1"));
    variables.add("yo", Variant("<yo>"));
    try {
        (void)e.evaluate("<mala>");
        ADD_FAILURE();
    } catch (const EvaluationError& error) {
        EXPECT_STREQ(error.what(),
                     "La variable mala contiene una expresión no válida: Función desconocida: Frob");
    }
    EXPECT_THROW((void)e.evaluate("<a>"), EvaluationError);
    try {
        (void)e.evaluate("<yo>");
        ADD_FAILURE();
    } catch (const EvaluationError& error) {
        EXPECT_STREQ(error.what(), "La variable yo se nombra a sí misma");
    }
    // After a failure the variables still work.
    variables.set("b", Variant(int64_t(1)));
    EXPECT_EQ(e.text("<a>"), "2");
}

} // namespace
} // namespace velkaro::report
