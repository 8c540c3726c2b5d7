// Operators and conversions: what a Pascal user expects of variants.
#include "report/language/Values.h"
#include "TestHost.h"
#include "report/language/LanguageError.h"
#include "report/language/NumberText.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

using testing::Evaluator;
using Type = Variant::Type;

struct OperatorCase {
    const char* expression;
    const char* text;
    Type type;
};

TEST(Operators, FollowPascalPrecedenceAndVariantConversions) {
    const OperatorCase cases[] = {
        {"1 + 2 * 3", "7", Type::Integer},
        {"(1 + 2) * 3", "9", Type::Integer},
        {"7 / 2", "3.5", Type::Float},
        {"6 / 3", "2", Type::Float},
        {"7 div 2", "3", Type::Integer},
        {"-7 div 2", "-3", Type::Integer},
        {"7 mod 3", "1", Type::Integer},
        {"-7 mod 3", "-1", Type::Integer},
        {"7.5 div 2", "4", Type::Integer}, // 7.5 rounds to even 8
        {"2 - 3 - 4", "-5", Type::Integer},
        {"-2 * -3", "6", Type::Integer},
        {"'a' + 'b'", "ab", Type::String},
        {"'5' + 1", "6", Type::Integer},
        {"'2.5' * 2", "5", Type::Float},
        {"1 + ' 3 '", "4", Type::Integer},
        {"0.1 + 0.2", "0.3", Type::Float},
        {"9223372036854775807 + 1", "9.22337203685478E18", Type::Float},
        {"3000000000 * 4", "12000000000", Type::Integer},
        {"1 = 1.0", "True", Type::Boolean},
        {"'abc' = 'ABC'", "False", Type::Boolean},
        {"'abc' < 'abd'", "True", Type::Boolean},
        {"'10' = 10", "True", Type::Boolean},
        {"'10' > 9", "True", Type::Boolean},
        {"'abc' = 0", "False", Type::Boolean},
        {"'abc' <> 0", "True", Type::Boolean},
        {"1 < 2 = True", "True", Type::Boolean}, // relational operators chain left to right
        {"(1 < 2) and (3 > 2)", "True", Type::Boolean},
        {"not (1 > 2)", "True", Type::Boolean},
        {"True xor True", "False", Type::Boolean},
        {"6 and 3", "2", Type::Integer},
        {"6 or 3", "7", Type::Integer},
        {"not 0", "-1", Type::Integer},
        {"1 shl 4", "16", Type::Integer},
        {"256 shr 4", "16", Type::Integer},
        {"3 in [1, 2, 3]", "True", Type::Boolean},
        {"5 in [1..4]", "False", Type::Boolean},
        {"'b' in ['a'..'c']", "True", Type::Boolean},
        {"'hola'[2]", "o", Type::String},
        {"'a'#13#10'b' = 'a' + Chr(13) + Chr(10) + 'b'", "True", Type::Boolean},
        {"'It''s'", "It's", Type::String},
        {"$FF + 1", "256", Type::Integer},
        {"1.5e3", "1500", Type::Float},
        {"True + 1", "0", Type::Integer}, // variants count True as -1
    };
    for (const OperatorCase& c : cases) {
        Evaluator e;
        const Variant value = e.evaluate(c.expression);
        EXPECT_EQ(valueToText(value, e.context().format()), c.text) << c.expression;
        EXPECT_EQ(value.type(), c.type) << c.expression;
    }
}

TEST(Operators, CurrencyStaysExactAndDatesMoveByDays) {
    Evaluator e;
    e.host().setField("ds", "price", Variant(Currency{12345})); // 1.2345
    e.host().setField("ds", "day", Variant(DateTime{45306.0})); // 2024-01-15
    const Variant sum = e.evaluate("<ds.\"price\"> + <ds.\"price\"> * 2");
    ASSERT_EQ(sum.type(), Type::Currency);
    EXPECT_EQ(sum.asCurrency().scaled, 37035);
    EXPECT_EQ(e.evaluate("<ds.\"price\"> * <ds.\"price\">").asCurrency().scaled, 15240); // 1.52399025
    EXPECT_EQ(e.evaluate("<ds.\"price\"> = 1.2345").asBoolean(), true);
    const Variant later = e.evaluate("<ds.\"day\"> + 17");
    ASSERT_EQ(later.type(), Type::DateTime);
    EXPECT_EQ(e.text("<ds.\"day\"> + 17"), "01/02/2024");
    const Variant days = e.evaluate("EncodeDate(2024, 3, 1) - <ds.\"day\">");
    ASSERT_EQ(days.type(), Type::Float);
    EXPECT_EQ(days.asFloat(), 46.0);
    EXPECT_TRUE(e.evaluate("<ds.\"day\"> < EncodeDate(2024, 1, 16)").asBoolean());
    EXPECT_TRUE(e.evaluate("<ds.\"day\"> = '15/01/2024'").asBoolean());
}

TEST(Operators, NonNumericTextInArithmeticIsAConversionError) {
    for (const char* expression : {"'abc' + 1", "'12abc' * 2", "1 - ''", "-'x'", "'a' div 2"}) {
        Evaluator e;
        try {
            (void)e.evaluate(expression);
            ADD_FAILURE() << expression << " did not fail";
        } catch (const EvaluationError& error) {
            EXPECT_NE(std::string(error.what()).find("No se puede convertir"), std::string::npos)
                << error.what();
        }
    }
    Evaluator e;
    try {
        (void)e.evaluate("'Total: ' + 5");
        ADD_FAILURE();
    } catch (const EvaluationError& error) {
        EXPECT_STREQ(error.what(), "No se puede convertir el texto 'Total: ' a número");
    }
}

TEST(Operators, DivisionByZeroFollowsIgnoreDevByZero) {
    for (const char* expression : {"1 / 0", "5 div 0", "5 mod 0", "1.5 / 0.0"}) {
        Evaluator strict;
        EXPECT_THROW((void)strict.evaluate(expression), EvaluationError) << expression;
        Evaluator lenient;
        lenient.setOptions(EvaluationOptions{NullConversion::ToEmptyValue, DivisionByZero::GivesZero});
        EXPECT_EQ(lenient.text(expression), "0") << expression;
    }
}

TEST(Operators, FloatOverflowIsAnErrorNotInfinity) {
    Evaluator e;
    EXPECT_THROW((void)e.evaluate("1e308 * 10"), EvaluationError);
    EXPECT_THROW((void)e.evaluate("Power(10, 400)"), EvaluationError);
}

TEST(Operators, NullsFollowConvertNulls) {
    struct Case {
        const char* expression;
        const char* converted; // ConvertNulls on
        const char* kept;      // off
    };
    const Case cases[] = {
        {"<ds.\"n\"> + 1", "1", ""},
        {"<ds.\"n\"> + 'x'", "x", ""},
        {"<ds.\"n\"> * 5", "0", ""},
        {"<ds.\"n\"> = 0", "True", "False"},
        {"<ds.\"n\"> = ''", "True", "False"},
        {"<ds.\"n\"> <> 0", "False", "True"},
        {"<ds.\"n\"> = <ds.\"n\">", "True", "True"},
        {"<ds.\"n\"> < 1", "True", "False"},
        {"-<ds.\"n\">", "0", ""},
        {"IIF(<ds.\"n\">, 'y', 'n')", "n", "n"},
    };
    for (const Case& c : cases) {
        Evaluator converted;
        converted.host().setField("ds", "n", Variant());
        EXPECT_EQ(converted.text(c.expression), c.converted) << c.expression;
        Evaluator kept;
        kept.host().setField("ds", "n", Variant());
        kept.setOptions(EvaluationOptions{NullConversion::KeepNull, DivisionByZero::Error});
        EXPECT_EQ(kept.text(c.expression), c.kept) << c.expression;
    }
}

TEST(Operators, AndOrSkipTheRightSideWhenTheLeftDecides) {
    Evaluator e;
    EXPECT_FALSE(e.evaluate("(1 > 2) and (1 / 0 > 0)").asBoolean());
    EXPECT_TRUE(e.evaluate("(1 < 2) or (1 / 0 > 0)").asBoolean());
    EXPECT_THROW((void)e.evaluate("(1 < 2) and (1 / 0 > 0)"), EvaluationError);
}

TEST(Conversions, TextOfEachKind) {
    const FormatSettings format;
    EXPECT_EQ(valueToText(Variant(), format), "");
    EXPECT_EQ(valueToText(Variant(true), format), "True");
    EXPECT_EQ(valueToText(Variant(int64_t(-42)), format), "-42");
    EXPECT_EQ(valueToText(Variant(1234.5), format), "1234.5");
    EXPECT_EQ(valueToText(Variant(1e20), format), "1E20");
    EXPECT_EQ(valueToText(Variant(1.5e-7), format), "1.5E-7");
    EXPECT_EQ(valueToText(Variant(0.00001), format), "0.00001");
    EXPECT_EQ(valueToText(Variant(123456789012345.0), format), "123456789012345");
    EXPECT_EQ(valueToText(Variant(1234567890123456.0), format), "1.23456789012346E15");
    EXPECT_EQ(valueToText(Variant(Currency{-12500}), format), "-1.25");
    EXPECT_EQ(valueToText(Variant(DateTime{45306.0}), format), "15/01/2024");
    EXPECT_EQ(valueToText(Variant(DateTime{45306.75}), format), "15/01/2024 18:00:00");
    EXPECT_EQ(valueToText(Variant(DateTime{0.5}), format), "12:00:00");
    FormatSettings comma = format;
    comma.decimalSeparator = ',';
    EXPECT_EQ(valueToText(Variant(2.5), comma), "2,5");
}

TEST(Conversions, IntegersRoundHalvesToEven) {
    const ValueRules rules;
    EXPECT_EQ(valueToInteger(Variant(2.5), rules), 2);
    EXPECT_EQ(valueToInteger(Variant(3.5), rules), 4);
    EXPECT_EQ(valueToInteger(Variant(-2.5), rules), -2);
    EXPECT_EQ(valueToInteger(Variant(Currency{25000}), rules), 2);
    EXPECT_EQ(valueToInteger(Variant("17"), rules), 17);
    EXPECT_EQ(valueToInteger(Variant("$1F"), rules), 31);
    EXPECT_THROW((void)valueToInteger(Variant(1e300), rules), EvaluationError);
    EXPECT_THROW((void)valueToInteger(Variant("doce"), rules), EvaluationError);
}

TEST(NumberText, ParsesOnlyTheProcessFormat) {
    const FormatSettings format;
    EXPECT_EQ(parseFloatText(" -1.5e2 ", format), -150.0);
    EXPECT_EQ(parseFloatText(".5", format), 0.5);
    EXPECT_FALSE(parseFloatText("1,234.5", format));
    EXPECT_FALSE(parseFloatText("1.5.2", format));
    EXPECT_FALSE(parseFloatText("", format));
    EXPECT_FALSE(parseFloatText("1e999", format));
    EXPECT_EQ(parseIntegerText("-9223372036854775808"), INT64_MIN);
    EXPECT_FALSE(parseIntegerText("9223372036854775808"));
}

} // namespace
} // namespace velkaro::report
