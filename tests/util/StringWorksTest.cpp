#include "util/StringWorks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;
using Pieces = std::vector<std::string>;

TEST(StringWorks, SplitByDelimiter) {
    const struct {
        std::string text;
        Pieces pieces;
    } cases[] = {
        {"p=12&f=invoice&show=1", {"p=12", "f=invoice", "show=1"}},
        {"no delimiter", {"no delimiter"}},
        {"", {""}},
        {"&", {"", ""}},
        {"a&&b", {"a", "", "b"}},
        {"&a&", {"", "a", ""}},
        {"Ab &cD", {"Ab ", "cD"}},
        {"x&x&x", {"x", "x", "x"}},
        {"a&b\0&c"s, {"a", "b"}}, // the text ends at its NUL
    };
    for (const auto& c : cases)
        EXPECT_EQ(StringWorks::SplitByDelimiter(c.text, "&"), c.pieces) << c.text;
}

TEST(StringWorks, SplitYieldsOneMorePieceThanOccurrences) {
    for (const std::string text : {"", "&&&&", "a&b&c&", "&&x&&y&&"})
        EXPECT_EQ(StringWorks::SplitByDelimiter(text, "&").size(),
                  static_cast<size_t>(StringWorks::CountOccurrences("&", text) + 1))
            << text;
}

TEST(StringWorks, LongerAndEmptyDelimiters) {
    EXPECT_EQ(StringWorks::SplitByDelimiter("a::b::::c", "::"), (Pieces{"a", "b", "", "c"}));
    EXPECT_EQ(StringWorks::SplitByDelimiter("abc", ""), (Pieces{"abc"}));
}

TEST(StringWorks, CountOccurrences) {
    const struct {
        std::string substring, text;
        int count;
    } cases[] = {
        {"aa", "aaaa", 3},                                                   // overlapping occurrences count
        {"&", "a&b&c", 2},  {"&", "", 0}, {"abc", "ab", 0}, {"A", "aAa", 1}, // case matters
        {"&", "a&\0&"s, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StringWorks::CountOccurrences(c.substring, c.text), c.count)
            << c.substring << " in " << c.text;
}

TEST(StringWorks, NthOccurrence) {
    EXPECT_EQ(StringWorks::NthOccurrence("a&b&c", "&", 1), 2);
    EXPECT_EQ(StringWorks::NthOccurrence("a&b&c", "&", 2), 4);
    EXPECT_EQ(StringWorks::NthOccurrence("a&b&c", "&", 3), 0);
    EXPECT_EQ(StringWorks::NthOccurrence("aaaa", "aa", 3), 3);
    EXPECT_EQ(StringWorks::NthOccurrence("", "&", 1), 0);
}

TEST(StringWorks, CopyHelpers) {
    EXPECT_EQ(StringWorks::CopyLeft("abcdef", 3), "abc");
    EXPECT_EQ(StringWorks::CopyLeft("abc", 10), "abc");
    EXPECT_EQ(StringWorks::CopyLeft("abc", 0), "");
    EXPECT_EQ(StringWorks::CopyMid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(StringWorks::CopyMid("abcdef", 5, 10), "ef");
    EXPECT_EQ(StringWorks::CopyMid("abcdef", 7, 1), "");
    EXPECT_EQ(StringWorks::CopyMid("abcdef", 3, 0), "");
    EXPECT_EQ(StringWorks::CopyRange("abcdef", 2, 5), "bcd");
    EXPECT_EQ(StringWorks::CopyRange("abcdef", 4, 100), "def");
    EXPECT_EQ(StringWorks::CopyRange("abcdef", 4, 4), "");
    EXPECT_EQ(StringWorks::CopyRange("abcdef", 9, 12), "");
}
