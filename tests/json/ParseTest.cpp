#include "json/Parse.h"

#include <gtest/gtest.h>

#include <string>

namespace velkaro::json {
namespace {

Value parse1252(std::string body) {
    return parse(std::move(body), CodePage::Windows1252);
}

TEST(Parse, BodiesThatAreNotJson) {
    const std::string bodies[] = {
        "",
        "   \r\n\t",
        "<html><body><h1>500 Internal Server Error</h1></body></html>",
        "[",
        "{",
        "{\"a\":}",
        "{\"a\" 1}",
        "{a:1}",
        "[1,]",
        "[1 2]",
        "nul",
        "'texto'",
        "\"sin cierre",
        "\"a\tb\"",    // a raw control character inside a string
        "\"\\ud800\"", // an unpaired high surrogate
        "\"\\x41\"",   // not a JSON escape
        "1e400",       // beyond the double range
        "9.9e308",
        "[1, 1.8e308]",
        std::string("\0[1]", 4), // the text ends at a NUL
        "\xEF\xBB\xBF",
    };
    for (const std::string& body : bodies)
        EXPECT_TRUE(parse1252(body).isAbsent()) << body;
}

TEST(Parse, FailureTellsWhereAndWhy) {
    ParseFailure failure;
    EXPECT_FALSE(parse(R"({"a":1,"b":})", CodePage::Windows1252, &failure));
    EXPECT_EQ(failure.offset, 11u);
    EXPECT_EQ(failure.reason, "valor no válido");

    EXPECT_FALSE(parse("[9.9e308]", CodePage::Windows1252, &failure));
    EXPECT_EQ(failure.reason, "número demasiado grande");

    EXPECT_FALSE(parse("", CodePage::Windows1252, &failure));
    EXPECT_EQ(failure.reason, "el texto está vacío");
}

TEST(Parse, TextAfterTheFirstValueIsIgnored) {
    struct Case {
        const char* body;
        const char* text;
    };
    const Case cases[] = {
        {R"({"a":1} y luego <b>texto</b>)", R"({"a":1})"},
        {"[1]]", "[1]"},
        {"1 2", "1"},
        {"{}{}", "{}"},
        {"\"x\"<html>", "x"},
        {"null,", "null"},
        {"  [true]\n\nWarning: Undefined variable", "[true]"},
    };
    for (const Case& c : cases) {
        const Value value = parse1252(c.body);
        ASSERT_TRUE(value) << c.body;
        EXPECT_EQ(value.text(), c.text) << c.body;
    }
}

TEST(Parse, KindsOfValues) {
    struct Case {
        const char* body;
        Kind kind;
    };
    const Case cases[] = {
        {"null", Kind::Null},
        {"true", Kind::Boolean},
        {"12", Kind::Integer},
        {"-9223372036854775808", Kind::Integer},
        {"9223372036854775808", Kind::Float},
        {"1.0", Kind::Float},
        {"1e2", Kind::Float},
        {"\"1\"", Kind::String},
        {"[1]", Kind::Array},
        {"{\"a\":1}", Kind::Object},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse1252(c.body).kind(), c.kind) << c.body;

    const Value values = parse1252(R"([true, false, -5, 2.5, "s"])");
    EXPECT_TRUE(values.at(0).boolean());
    EXPECT_FALSE(values.at(1).boolean());
    EXPECT_EQ(values.at(2).integer(), -5);
    EXPECT_DOUBLE_EQ(values.at(2).number(), -5.0);
    EXPECT_DOUBLE_EQ(values.at(3).number(), 2.5);
    EXPECT_EQ(values.at(3).integer(), 0); // not an integer
    EXPECT_EQ(values.at(4).string(), "s");
    EXPECT_EQ(values.at(2).string(), ""); // not a string
    EXPECT_EQ(values.at(4).size(), 0u);
}

TEST(Parse, WindowsCodePageAndMixedBodies) {
    // Windows-1252 only: "país" and "España €".
    const Value latin = parse1252("{\"pa\xEDs\":\"Espa\xF1"
                                  "a \x80\"}");
    EXPECT_EQ(latin.member("país").text(), "España €");

    // UTF-8 and Windows-1252 in one body.
    const Value mixed = parse1252("{\"utf8\":\"Espa\xC3\xB1"
                                  "a\",\"ansi\":\"Espa\xF1"
                                  "a\",\"both\":\"\xC3\xA1\xE1\"}");
    EXPECT_EQ(mixed.member("utf8").text(), "España");
    EXPECT_EQ(mixed.member("ansi").text(), "España");
    EXPECT_EQ(mixed.member("both").text(), "áá");

    // The caller's code page decides the bytes: 1251 reads Cyrillic.
    EXPECT_EQ(parse("\"\xCF\xF0\xE8\xE2\xE5\xF2\"", CodePage::Windows1251).text(), "Привет");
    EXPECT_EQ(parse("\"\xCF\xF0\"", CodePage::Windows1252).text(), "Ïð");
}

TEST(Parse, EscapesAndSurrogates) {
    EXPECT_EQ(parse1252(R"("\u00f1\u20ac\ud83d\ude00\uD834\uDD1E")").text(),
              "ñ€\xF0\x9F\x98\x80\xF0\x9D\x84\x9E");
    EXPECT_EQ(parse1252(R"("\"\\\/\b\f\n\r\t")").text(), "\"\\/\b\f\n\r\t");
    // An unpaired low surrogate cannot be UTF-8: it becomes U+FFFD, in names too.
    EXPECT_EQ(parse1252(R"("a\udc00b")").text(), "a\xEF\xBF\xBD"
                                                 "b");
    const Value object = parse1252(R"({"x\uDFFF":1})");
    EXPECT_EQ(object.memberName(0), "x\xEF\xBF\xBD");
    EXPECT_EQ(object.member("x\xEF\xBF\xBD").text(), "1");
    // An escaped name is found by its unescaped characters.
    EXPECT_EQ(parse1252(R"({"\u0071ry":7})").member("qry").text(), "7");
}

TEST(Parse, ByteOrderMarkIsSkipped) {
    EXPECT_EQ(parse1252("\xEF\xBB\xBF{\"a\":1}").member("a").text(), "1");
}

TEST(Parse, DeepNestingGivesResultOrNothing) {
    constexpr std::size_t depth = 1'000'000;
    EXPECT_TRUE(parse1252(std::string(depth, '[')).isAbsent());

    const std::string balanced = std::string(depth, '[') + std::string(depth, ']');
    const Value arrays = parse1252(balanced);
    ASSERT_TRUE(arrays.isArray());
    EXPECT_EQ(arrays.text(), balanced);
    Value innermost = arrays;
    for (std::size_t i = 1; i < depth; ++i)
        innermost = innermost.at(0);
    EXPECT_EQ(innermost.text(), "[]");

    std::string objects;
    for (std::size_t i = 0; i < depth; ++i)
        objects += "{\"a\":";
    objects += "1" + std::string(depth, '}');
    const Value nested = parse1252(objects);
    ASSERT_TRUE(nested.isObject());
    EXPECT_EQ(nested.text(), objects);
}

TEST(Parse, HundredMegabyteString) {
    constexpr std::size_t length = 100u << 20;
    std::string body(length + 2, 'x');
    body.front() = '"';
    body.back() = '"';
    const Value text = parse1252(std::move(body));
    ASSERT_TRUE(text.isString());
    EXPECT_EQ(text.string().size(), length);

    std::string inArray = "[\"" + std::string(length, '/') + "\"]";
    const Value array = parse1252(std::move(inArray));
    ASSERT_TRUE(array.isArray());
    EXPECT_EQ(array.text().size(), 2 * length + 4); // every slash escaped

    std::string unclosed = "\"" + std::string(length, 'y');
    EXPECT_TRUE(parse1252(std::move(unclosed)).isAbsent());
}

} // namespace
} // namespace velkaro::json
