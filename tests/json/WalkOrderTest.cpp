#include "json/WalkOrder.h"
#include "json/Parse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velkaro::json {
namespace {

// The hash written down directly over UTF-16 code units, to check the UTF-8 implementation.
std::uint32_t referenceHash(std::u16string_view name) {
    std::uint32_t hash = 0;
    for (char16_t unit : name)
        hash = hash * 129u + unit + 0x9E370001u;
    return hash;
}

std::vector<std::string> walkedNames(const std::string& json) {
    const Value object = parse(json, CodePage::Windows1252);
    std::vector<std::string> names;
    for (const Member& member : object.members())
        names.emplace_back(member.name);
    return names;
}

using Names = std::vector<std::string>;

TEST(MemberNameHash, MatchesUtf16Definition) {
    struct Case {
        const char* utf8;
        std::u16string_view utf16;
    };
    const Case cases[] = {
        {"", u""},
        {"a", u"a"},
        {"qry", u"qry"},
        {"añoÁé€", u"añoÁé€"},
        {"\xF0\x9F\x98\x80x", u"\U0001F600x"}, // a surrogate pair: two code units
        {"\xEF\xBF\xBD", u"\uFFFD"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(memberNameHash(c.utf8), referenceHash(c.utf16)) << c.utf8;
    EXPECT_EQ(memberNameHash("a"), 0x9E370062u);
    EXPECT_EQ(memberNameHash(""), 0u);
}

TEST(CompareUtf16, OrdersByCodeUnits) {
    EXPECT_EQ(compareUtf16("", ""), 0);
    EXPECT_EQ(compareUtf16("abc", "abc"), 0);
    EXPECT_LT(compareUtf16("ab", "abc"), 0); // a prefix first
    EXPECT_GT(compareUtf16("abc", "ab"), 0);
    EXPECT_LT(compareUtf16("", "a"), 0);
    EXPECT_LT(compareUtf16("B", "a"), 0);
    EXPECT_GT(compareUtf16("é", "z"), 0);
    // U+1F600 is D83D DE00 in UTF-16, below U+FFFD although its UTF-8 bytes are larger.
    EXPECT_LT(compareUtf16("x\xF0\x9F\x98\x80", "x\xEF\xBF\xBD"), 0);
    EXPECT_GT(compareUtf16("x\xEE\x80\x80", "x\xF0\x9F\x98\x80"), 0); // U+E000
    EXPECT_LT(compareUtf16("\xF0\x9F\x98\x80", "\xF0\x9F\x98\x81"), 0);
    EXPECT_LT(compareUtf16("\xC3\xA9", "\xC3\xAA"), 0); // é < ê, differing in the second byte
}

TEST(WalkOrder, ExamplesOfTheRules) {
    EXPECT_EQ(walkedNames(R"({"a":1,"b":2,"c":3})"), (Names{"c", "b", "a"}));
    EXPECT_EQ(walkedNames(R"({"c":1,"a":2,"b":3})"), (Names{"c", "b", "a"}));
    // The empty name hashes to 0 and comes last.
    EXPECT_EQ(walkedNames(R"({"":0,"zz":1,"a":2})"), (Names{"a", "zz", ""})); // "zz" wraps around
    // Neither document order nor alphabetical: x, y, z walk z, y, x.
    EXPECT_EQ(walkedNames(R"({"x":{},"y":{},"z":{}})"), (Names{"z", "y", "x"}));
    EXPECT_EQ(walkedNames("{}"), Names{});
}

TEST(WalkOrder, EqualHashesByAscendingName) {
    // "dwep", "dwepa\u9a9d" and "dwepb\u9a1c" share one hash; "aÁ" and "b@" share another.
    const std::string dwep = "dwep";
    const std::string dwepA = "dwepa\xE9\xAA\x9D";
    const std::string dwepB = "dwepb\xE9\xA8\x9C";
    ASSERT_EQ(memberNameHash(dwep), memberNameHash(dwepA));
    ASSERT_EQ(memberNameHash(dwep), memberNameHash(dwepB));
    ASSERT_EQ(memberNameHash("a\xC3\x81"), memberNameHash("b@"));

    EXPECT_EQ(walkedNames("{\"" + dwepB + "\":1,\"" + dwep + "\":2,\"" + dwepA + "\":3}"),
              (Names{dwep, dwepA, dwepB})); // the prefix first
    EXPECT_EQ(walkedNames("{\"b@\":1,\"a\xC3\x81\":2}"), (Names{"a\xC3\x81", "b@"}));
}

TEST(WalkOrder, DuplicateNameKeepsLastValue) {
    const Value object = parse(R"({"a":1,"b":2,"a":3,"a":{"x":4}})", CodePage::Windows1252);
    EXPECT_EQ(object.size(), 2u);
    EXPECT_EQ(object.member("a").text(), R"({"x":4})");
    EXPECT_EQ(object.text(), R"({"b":2,"a":{"x":4}})");

    // Duplicates among names of equal hash, and of the empty name.
    const Value colliding =
        parse("{\"dwep\":1,\"dwepa\xE9\xAA\x9D\":2,\"dwep\":3,\"\":4,\"\":5}", CodePage::Windows1252);
    EXPECT_EQ(colliding.size(), 3u);
    EXPECT_EQ(colliding.member("dwep").text(), "3");
    EXPECT_EQ(colliding.member("").text(), "5");
    EXPECT_EQ(colliding.text(), "{\"dwep\":3,\"dwepa\xE9\xAA\x9D\":2,\"\":5}");
}

TEST(WalkOrder, LargeObjectIsSortedAndEveryNameFound) {
    std::string json = "{";
    for (int i = 0; i < 3000; ++i) {
        if (i > 0)
            json += ',';
        json += "\"k" + std::to_string(i * 7919 % 3001) + "\xC3\xB1\":" + std::to_string(i);
    }
    json += '}';
    const Value object = parse(json, CodePage::Windows1252);
    ASSERT_EQ(object.size(), 3000u);
    for (std::size_t i = 0; i + 1 < object.size(); ++i) {
        const std::string_view a = object.memberName(i);
        const std::string_view b = object.memberName(i + 1);
        EXPECT_TRUE(walksBefore(memberNameHash(a), a, memberNameHash(b), b)) << a << " / " << b;
    }
    for (std::size_t i = 0; i < object.size(); ++i)
        EXPECT_TRUE(object.member(object.memberName(i)).isSameNode(object.memberValue(i)));
}

} // namespace
} // namespace velkaro::json
