#include "json/Parse.h"

#include <gtest/gtest.h>

#include <string>

namespace velkaro::json {
namespace {

constexpr const char* kDocument = R"({
  "qry": {"q": {"fields": ["id", "nombre"], "types": ["I", "S"],
                "data": [[1, "Ana"], [2, "Íñigo"], [3]]}},
  "a": {"b": [10, 20, 30]},
  "x.y": 1,
  "m[0]": 2
})";

Value document() {
    return parse(kDocument, CodePage::Windows1252);
}

TEST(Lookup, PathsResolveOrGiveNothing) {
    struct Case {
        const char* path;
        const char* text; // nullptr: absent
    };
    const Case cases[] = {
        {"qry.q.fields[1]", "nombre"},
        {"qry.q.data[1][1]", "Íñigo"},
        {"qry.q.data[2]", "[3]"},
        {"a.b[2]", "30"},
        {"a.b", "[10,20,30]"},
        {"a.b[3]", nullptr},           // past the end
        {"qry.q.data[2][1]", nullptr}, // a short row
        {"a.b[-1]", nullptr},
        {"a.b[x]", nullptr},
        {"a.b[", nullptr},
        {"a.b[1", nullptr},
        {"a.b[]", nullptr},
        {"a.b[ 1]", nullptr},
        {"a.b[1]x", nullptr},
        {"a.b[99999999999999999999999]", nullptr},
        {"a..b", nullptr},
        {".a", nullptr},
        {"a.", nullptr},
        {"a.b.c", nullptr}, // a name on an array
        {"a[0]", nullptr},  // an index on an object
        {"x.y", nullptr},   // the dot always separates
        {"m[0]", nullptr},
        {"QRY", nullptr}, // names are case-sensitive
        {"missing", nullptr},
    };
    const Value root = document();
    for (const Case& c : cases) {
        const Value found = root.lookup(c.path);
        if (c.text == nullptr)
            EXPECT_TRUE(found.isAbsent()) << c.path;
        else
            EXPECT_EQ(found.text(), c.text) << c.path;
    }
    EXPECT_TRUE(root.lookup("").isSameNode(root));
    EXPECT_EQ(root.lookup("qry.q").lookup("fields[0]").text(), "id");
    EXPECT_EQ(parse("[[5,6]]", CodePage::Windows1252).lookup("[0][1]").text(), "6");
}

TEST(Lookup, MembersByExactName) {
    const Value root = document();
    EXPECT_EQ(root.member("x.y").text(), "1");
    EXPECT_EQ(root.member("m[0]").text(), "2");
    EXPECT_TRUE(root.member("Qry").isAbsent());
    EXPECT_TRUE(root.member("qry ").isAbsent());
    EXPECT_TRUE(root.member("a").member("b").member("c").isAbsent());
    EXPECT_TRUE(root.at(0).isAbsent()); // an object has no elements
}

TEST(Lookup, IndexAccessGivesThePathResult) {
    const Value query = document().lookup("qry.q");
    const Value fields = query.member("fields");
    const Value data = query.member("data");
    ASSERT_EQ(fields.size(), 2u);
    ASSERT_EQ(data.size(), 3u);
    for (std::size_t row = 0; row <= data.size(); ++row) {
        const Value byIndex = data.at(row);
        EXPECT_TRUE(byIndex.isSameNode(query.lookup("data[" + std::to_string(row) + "]")));
        for (std::size_t column = 0; column <= fields.size(); ++column) {
            const std::string path = "data[" + std::to_string(row) + "][" + std::to_string(column) + "]";
            EXPECT_TRUE(byIndex.at(column).isSameNode(query.lookup(path))) << path;
        }
    }
    EXPECT_TRUE(data.at(static_cast<std::size_t>(-1)).isAbsent());
}

TEST(Lookup, MemberWalkYieldsNamesAndValues) {
    std::string walked;
    for (const Member& member : document().members())
        walked += std::string(member.name) + "=" + member.value.text() + ";";
    EXPECT_EQ(walked, "x.y=1;qry={\"q\":{\"fields\":[\"id\",\"nombre\"],\"types\":[\"I\",\"S\"],"
                      "\"data\":[[1,\"Ana\"],[2,\"Íñigo\"],[3]]}};a={\"b\":[10,20,30]};m[0]=2;");
    const Value array = parse("[1,2]", CodePage::Windows1252);
    EXPECT_EQ(array.members().begin(), array.members().end());
    EXPECT_EQ(array.memberName(0), "");
    EXPECT_TRUE(array.memberValue(0).isAbsent());
}

TEST(Lookup, AbsentValueAnswersEverything) {
    const Value absent;
    EXPECT_EQ(absent.kind(), Kind::Absent);
    EXPECT_FALSE(absent.isNull());
    EXPECT_EQ(absent.size(), 0u);
    EXPECT_TRUE(absent.at(0).isAbsent());
    EXPECT_TRUE(absent.member("a").isAbsent());
    EXPECT_TRUE(absent.lookup("a[0]").isAbsent());
    EXPECT_TRUE(absent.lookup("").isAbsent());
    EXPECT_EQ(absent.members().begin(), absent.members().end());
    EXPECT_EQ(absent.documentBytes(), 0u);
}

TEST(Lookup, ValueOutlivesDocumentAndBody) {
    Value query;
    std::string_view name;
    {
        std::string body = kDocument;
        Value root = parse(std::move(body), CodePage::Windows1252);
        query = root.lookup("qry.q");
        name = query.lookup("data[1][1]").string();
    }
    EXPECT_EQ(name, "Íñigo");
    EXPECT_EQ(query.lookup("data[1][1]").text(), "Íñigo");
    EXPECT_EQ(query.member("fields").size(), 2u);
    EXPECT_GT(query.documentBytes(), 0u);
}

} // namespace
} // namespace velkaro::json
