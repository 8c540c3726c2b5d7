#include "json/Parse.h"

#include <gtest/gtest.h>

#include <string>

namespace velkaro::json {
namespace {

struct TextCase {
    const char* json;
    std::string text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.json;
}

class TextFormTest : public testing::TestWithParam<TextCase> {};

TEST_P(TextFormTest, MatchesTable) {
    const Value value = parse(GetParam().json, CodePage::Windows1252);
    ASSERT_TRUE(value) << GetParam().json;
    EXPECT_EQ(value.text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Strings, TextFormTest,
                         testing::Values(TextCase{R"("abc")", "abc"}, TextCase{R"("")", ""},
                                         TextCase{R"("a\"b")", "a\"b"}, TextCase{R"("a\/b\\c")", "a/b\\c"},
                                         TextCase{R"("\b\f\n\r\t")", "\b\f\n\r\t"},
                                         TextCase{R"("\u00e9\u20AC")", "é€"},
                                         TextCase{R"("\ud83d\ude00")", "\xF0\x9F\x98\x80"},
                                         TextCase{R"("\u0000x")", std::string("\0x", 2)},
                                         TextCase{"\"Espa\xC3\xB1"
                                                  "a\"",
                                                  "España"}));

INSTANTIATE_TEST_SUITE_P(Integers, TextFormTest,
                         testing::Values(TextCase{"0", "0"}, TextCase{"-0", "0"}, TextCase{"42", "42"},
                                         TextCase{"-17", "-17"}, TextCase{"4294967296", "4294967296"},
                                         TextCase{"9223372036854775807", "9223372036854775807"},
                                         TextCase{"-9223372036854775808", "-9223372036854775808"},
                                         // Beyond 64 bits signed: other numbers.
                                         TextCase{"9223372036854775808", "9.22337203685478e+18"},
                                         TextCase{"-9223372036854775809", "-9.22337203685478e+18"},
                                         TextCase{"18446744073709551616", "1.84467440737096e+19"}));

INSTANTIATE_TEST_SUITE_P(
    OtherNumbers, TextFormTest,
    testing::Values(TextCase{"0.1", "0.1"}, TextCase{"1e300", "1e+300"}, TextCase{"-0.0", "0"},
                    TextCase{"1.0", "1"}, TextCase{"1e2", "100"}, TextCase{"-2.5", "-2.5"},
                    TextCase{"1E-7", "1e-07"}, TextCase{"1e15", "1e+15"},
                    TextCase{"123456789012345.0", "123456789012345"},
                    TextCase{"123456789012345678.0", "1.23456789012346e+17"},
                    TextCase{"3.14159265358979323846", "3.14159265358979"},
                    TextCase{"0.30000000000000004", "0.3"}, TextCase{"4.9e-324", "4.94065645841247e-324"},
                    TextCase{"1.000000000000005", "1.00000000000001"},
                    // Zero with any exponent, and numbers too small for a double.
                    TextCase{"0e300", "0"}, TextCase{"-0.0e300", "0"}, TextCase{"0.000e-5", "0"},
                    TextCase{"1e-400", "0"}, TextCase{"-2e-324", "0"}, TextCase{"0.0000001e-320", "0"}));

INSTANTIATE_TEST_SUITE_P(Literals, TextFormTest,
                         testing::Values(TextCase{"true", "true"}, TextCase{"false", "false"},
                                         TextCase{"null", "null"}, TextCase{"[]", "[]"}, TextCase{"{}", "{}"},
                                         TextCase{" [ \n ] ", "[]"}, TextCase{"{ }", "{}"}));

INSTANTIATE_TEST_SUITE_P(
    Containers, TextFormTest,
    testing::Values(
        TextCase{R"([1, 2.5, "x", true, false, null, [], {}])", R"([1,2.5,"x",true,false,null,[],{}])"},
        TextCase{"[[], {}, [[]], [{}]]", "[[],{},[[]],[{}]]"},
        TextCase{R"([0.1, -0.0, 1e300, 9223372036854775808])", "[0.1,0,1e+300,9.22337203685478e+18]"},
        // Only the quote, the slash and the backslash are escaped inside.
        TextCase{R"(["a\"b", "c/d", "e\\f"])", R"(["a\"b","c\/d","e\\f"])"},
        TextCase{R"(["line\nbreak\ttab\u0001\u001f"])", "[\"line\nbreak\ttab\x01\x1f\"]"},
        TextCase{R"({"q\"/\\": "v\r\n"})", "{\"q\\\"\\/\\\\\":\"v\r\n\"}"},
        // Members in walk order: b before a.
        TextCase{R"({"a": 1, "b": [1, {"c": "x/y"}]})", R"({"b":[1,{"c":"x\/y"}],"a":1})"},
        TextCase{R"({"n": "\u00f1", "e": "\ud83d\ude00"})", "{\"n\":\"ñ\",\"e\":\"\xF0\x9F\x98\x80\"}"}));

TEST(TextForm, AbsentValueIsEmpty) {
    EXPECT_EQ(Value().text(), "");
    EXPECT_EQ(parse("[1]", CodePage::Windows1252).at(5).text(), "");
}

TEST(TextForm, AppendsToExistingText) {
    std::string out = "v=";
    parse(R"({"a":[1,"/"]})", CodePage::Windows1252).appendText(out);
    EXPECT_EQ(out, R"(v={"a":[1,"\/"]})");
}

} // namespace
} // namespace velkaro::json
