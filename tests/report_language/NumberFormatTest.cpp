// FormatFloat and Format patterns, checked against what a Pascal user expects.
#include "report/language/NumberFormat.h"
#include "report/language/LanguageError.h"

#include <gtest/gtest.h>

#include <vector>

namespace velkaro::report {
namespace {

struct FloatCase {
    const char* pattern;
    double value;
    const char* expected;
};

TEST(FormatFloat, PatternsSectionsAndLiterals) {
    const FloatCase cases[] = {
        {",0.00##", 1234.5, "1,234.50"},
        {",0.00##", 1234.56789, "1,234.5679"},
        {",0.00##", 0.5, "0.50"},
        {"#,##0.00;(#,##0.00)", -5, "(5.00)"},
        {"#,##0.00;(#,##0.00)", 1234567.891, "1,234,567.89"},
        {"#,##0.00;(#,##0.00);'cero'", 0, "cero"},
        {"#,##0.00;(#,##0.00);'cero'", 0.001, "cero"}, // rounds to zero: the zero section
        {"#0.00", -0.001, "0.00"},                     // no negative zero
        {"#0.00", -3.456, "-3.46"},
        {"#0.00", 2.675, "2.68"}, // the decimal 2.675, not its binary neighbour
        {"#0.00", 1.005, "1.01"},
        {"0.00", 1e15, "1000000000000000.00"},
        {"#.##", 0.5, ".5"},
        {"#.##", 5, "5"},
        {"#000", 5, "005"},
        {"#000", 12345, "12345"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"#%", 45, "45%"},
        {"0.0 'kg'", 12.25, "12.3 kg"},
        {"\"R$ \"#,##0.00", 1500, "R$ 1,500.00"},
        {"0.00E+00", 1234.5, "1.23E+03"},
        {"0.###E-0", 0.000123, "1.23E-4"},
        {"", 1234.5, "1234.5"},
        {"#,##0", 999999.5, "1,000,000"},
        {"##-##", 1234, "12-34"},
    };
    const FormatSettings format;
    for (const FloatCase& c : cases)
        EXPECT_EQ(formatFloat(c.pattern, c.value, format), c.expected) << c.pattern << " of " << c.value;
}

TEST(FormatFloat, UsesTheSettingsSeparators) {
    FormatSettings brazil;
    brazil.decimalSeparator = ',';
    brazil.thousandSeparator = '.';
    EXPECT_EQ(formatFloat(",0.00", 1234567.891, brazil), "1.234.567,89");
}

struct FormatCase {
    const char* pattern;
    Variant value;
    const char* expected;
};

TEST(Format, SpecifiersOfEachType) {
    const FormatCase cases[] = {
        {"%2.2n", Variant(1234567.891), "1,234,567.89"},
        {"%2.2f", Variant(1234567.891), "1234567.89"},
        {"%2.4f", Variant(3.14159265), "3.1416"},
        {"%2.3n", Variant(-0.0005), "-0.001"},
        {"%2,2f", Variant(5.555), "5.56"}, // a decimal comma in the pattern still means precision
        {"%2.2m", Variant(1234.5), "$1,234.50"},
        {"%2.2m", Variant(-1234.5), "-$1,234.50"},
        {"%g", Variant(1234.5), "1234.5"},
        {"%g", Variant(0.1 + 0.2), "0.3"},
        {"%d", Variant(int64_t(42)), "42"},
        {"%d", Variant(2.5), "2"},
        {"%5d", Variant(int64_t(42)), "   42"},
        {"%-5d|", Variant(int64_t(42)), "42   |"},
        {"%.4d", Variant(int64_t(-7)), "-0007"},
        {"%x", Variant(int64_t(255)), "FF"},
        {"%e", Variant(1234.5), "1.23450000000000E+003"},
        {"%.3e", Variant(-0.00012345), "-1.23E-004"},
        {"%s", Variant("hola"), "hola"},
        {"%.2s", Variant("hola"), "ho"},
        {"%s", Variant(2.5), "2.5"},
        {"%f", Variant("1234.5"), "1234.50"},
        {"Total: %2.2n €", Variant(10), "Total: 10.00 €"},
        {"100%%", Variant(1), "100%"},
    };
    const ValueRules rules;
    for (const FormatCase& c : cases) {
        EXPECT_EQ(formatArguments(c.pattern, std::span<const Variant>(&c.value, 1), rules), c.expected)
            << c.pattern;
    }
}

TEST(Format, SeveralArgumentsIndexesAndStars) {
    const ValueRules rules;
    const std::vector<Variant> arguments{Variant("a"), Variant(int64_t(2)), Variant(int64_t(7))};
    EXPECT_EQ(formatArguments("%s-%d-%d", arguments, rules), "a-2-7");
    EXPECT_EQ(formatArguments("%2:d %0:s %d", arguments, rules), "7 a 2");
    const std::vector<Variant> widthFirst{Variant(int64_t(4)), Variant(int64_t(9))};
    EXPECT_EQ(formatArguments("[%*d]", widthFirst, rules), "[   9]");
}

TEST(Format, BadPatternsAndMissingArgumentsFailClearly) {
    const ValueRules rules;
    const Variant one(int64_t(1));
    for (const char* pattern : {"%", "%5", "%q", "%d %d", "%p"}) {
        try {
            (void)formatArguments(pattern, std::span<const Variant>(&one, 1), rules);
            ADD_FAILURE() << pattern;
        } catch (const EvaluationError& error) {
            EXPECT_FALSE(std::string(error.what()).empty());
        }
    }
    const Variant text("abc");
    EXPECT_THROW((void)formatArguments("%d", std::span<const Variant>(&text, 1), rules), EvaluationError);
}

TEST(Format, RecognisesFormatStyleDisplayPatterns) {
    EXPECT_TRUE(containsFormatSpecifier("%2.2n"));
    EXPECT_TRUE(containsFormatSpecifier("Total %g"));
    EXPECT_TRUE(containsFormatSpecifier("%2,2m"));
    EXPECT_FALSE(containsFormatSpecifier("#%"));
    EXPECT_FALSE(containsFormatSpecifier(",0.00##"));
}

} // namespace
} // namespace velkaro::report
