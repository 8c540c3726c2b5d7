#include "base/CodePage.h"
#include "base/AsciiCase.h"

#include <gtest/gtest.h>

#include <string>

using velkaro::CodePage;
using velkaro::decodeMixedText;

TEST(CodePage, ValidUtf8ComesBackUnchanged) {
    for (const std::string text : {"", "plain ascii", "Página ñandú €", "\xF0\x9F\x96\xA8 printer"})
        EXPECT_EQ(decodeMixedText(text, CodePage::Windows1252), text);
}

TEST(CodePage, InvalidRunsReadInTheCodePage) {
    const struct {
        std::string bytes;
        CodePage page;
        std::string text;
    } cases[] = {
        {"P\xE1gina", CodePage::Windows1252, "Página"},
        {"\x80 y \x9C", CodePage::Windows1252, "€ y œ"},
        {"\xD7\xFD\xF0", CodePage::Windows1251, "Чэр"},
        {"Yaz\xFD"
         "c\xFD",
         CodePage::Windows1254, "Yazıcı"},
        {"\xB3\xF3"
         "d\x9F",
         CodePage::Windows1250, "łódź"},
        // UTF-8 and code page in one text, as some templates are.
        {"Impresora \xE9 — ñ", CodePage::Windows1252, "Impresora é — ñ"},
        // Truncated, overlong and surrogate sequences are not UTF-8.
        {"\xC3", CodePage::Windows1252, "Ã"},
        {"\xC0\xAF", CodePage::Windows1252, "À¯"},
        {"\xED\xA0\x80", CodePage::Windows1252, "í\xC2\xA0\xE2\x82\xAC"},
        // Bytes the code page leaves undefined read as C1 controls, as Windows reads them.
        {"\x81", CodePage::Windows1252, "\xC2\x81"},
    };
    for (const auto& c : cases) {
        const std::string decoded = decodeMixedText(c.bytes, c.page);
        EXPECT_EQ(decoded, c.text);
        EXPECT_TRUE(velkaro::isValidUtf8(decoded));
    }
}

TEST(CodePage, LocaleNames) {
    EXPECT_EQ(velkaro::codePageForLocale("es_ES.UTF-8"), CodePage::Windows1252);
    EXPECT_EQ(velkaro::codePageForLocale("ru_RU.UTF-8"), CodePage::Windows1251);
    EXPECT_EQ(velkaro::codePageForLocale("tr_TR"), CodePage::Windows1254);
    EXPECT_EQ(velkaro::codePageForLocale("pl"), CodePage::Windows1250);
    EXPECT_EQ(velkaro::codePageForLocale("C"), CodePage::Windows1252);
    EXPECT_EQ(velkaro::codePageForLocale(""), CodePage::Windows1252);
}

TEST(AsciiCase, FoldsOnlyAToZ) {
    EXPECT_TRUE(velkaro::equalsIgnoreAsciiCase("Show", "sHOW"));
    EXPECT_FALSE(velkaro::equalsIgnoreAsciiCase("ñ", "Ñ"));
    EXPECT_FALSE(velkaro::equalsIgnoreAsciiCase("a", "a "));
    EXPECT_EQ(velkaro::toAsciiUpper("página_1"), "PáGINA_1");
    EXPECT_EQ(velkaro::trimControls(" \t\r\nx y\x01 "), "x y");
}
