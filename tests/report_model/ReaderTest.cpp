#include "TestSupport.h"
#include "report/model/Fr3Reader.h"
#include "report/model/Fr3Writer.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

using testing::templateWith;

ReadResult read(std::string_view bytes, CodePage codePage = CodePage::Windows1252) {
    return Fr3Reader(codePage).read(bytes);
}

struct ValueCase {
    const char* label;
    std::string bytes; // the attribute value as written in the file
    CodePage codePage;
    std::string expected; // UTF-8
};

TEST(Fr3Reader, ReadsAttributeValuesTolerantly) {
    const ValueCase cases[] = {
        {"plain", "abc", CodePage::Windows1252, "abc"},
        {"bare ampersand", "A & B", CodePage::Windows1252, "A & B"},
        {"ampersand before a word", "R&D;x", CodePage::Windows1252, "R&D;x"},
        {"unknown entity", "&nbsp;", CodePage::Windows1252, "&nbsp;"},
        {"numeric references", "&#13;&#10;begin&#9;&#34;&#60;&#62;", CodePage::Windows1252,
         "\r\nbegin\t\"<>"},
        {"hex reference", "&#x41;&#xe9;", CodePage::Windows1252, "A\xC3\xA9"},
        {"named entities", "&amp;&lt;&gt;&quot;&apos;", CodePage::Windows1252, "&<>\"'"},
        {"NUL reference", "a&#0;b", CodePage::Windows1252, std::string("a\0b", 3)},
        {"lone surrogate reference stays text", "&#xD800;", CodePage::Windows1252, "&#xD800;"},
        {"utf-8", "Padr\xC3\xA3o", CodePage::Windows1252, "Padr\xC3\xA3o"},
        {"cp1252 run", "Padr\xE3o", CodePage::Windows1252, "Padr\xC3\xA3o"},
        {"cp1254 run", "Varsay\xFDl\xFDn", CodePage::Windows1254, "Varsay\xC4\xB1l\xC4\xB1n"},
        {"cp1251 run", "\xCF\xF0\xE8\xED\xF2\xE5\xF0", CodePage::Windows1251,
         "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBD\xD1\x82\xD0\xB5\xD1\x80"},
        {"literal less-than", "a<b", CodePage::Windows1252, "a<b"},
        {"literal line break kept", "a\nb", CodePage::Windows1252, "a\nb"},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.label);
        const ReadResult result = read("<TfrxReport PrintOptions.Printer=\"" + c.bytes + "\"/>", c.codePage);
        ASSERT_TRUE(result.root);
        EXPECT_TRUE(result.errors.empty());
        EXPECT_EQ(result.root->attribute("PrintOptions.Printer"), c.expected);
    }
}

TEST(Fr3Reader, KeepsEverythingInOrderIncludingUnknownAndOddNames) {
    const std::string text = templateWith(" Zeta=\"1\" Alpha=\"2\" Zeta=\"3\"",
                                          R"(  <TfrxReportPage Name="Page1">
    <TfrxMemoView Name="Outside" Left="-3" Top="-3,5" Width="10" Height="5" Memo.Text="old"/>
    <TfrxPictureView Name="Pic" HightQuality="False" Transparent="False"/>
    <TfrxMasterData Name="MD" Height="18,89765"><TfrxFancyView Name="X" Whatever="w"><Nested a="1"/></TfrxFancyView></TfrxMasterData>
  </TfrxReportPage>
  <!-- a comment -->
  <Unknown/>)");
    const ReadResult result = read(text);
    ASSERT_TRUE(result.root);
    EXPECT_TRUE(result.errors.empty());
    const Component& root = *result.root;
    ASSERT_EQ(root.attributes().size(), 4u);
    EXPECT_EQ(root.attributes()[1].name, "Zeta");
    EXPECT_EQ(root.attributes()[3].value, "3");
    EXPECT_EQ(root.attribute("Zeta"), "1"); // the first of duplicates wins
    ASSERT_EQ(root.childCount(), 2u);
    EXPECT_EQ(root.child(1).className(), "Unknown");
    const Component& page = root.child(0);
    ASSERT_EQ(page.childCount(), 3u);
    const Component& outside = page.child(0);
    EXPECT_EQ(outside.parent(), &page);
    EXPECT_DOUBLE_EQ(outside.left(), -3.0);
    EXPECT_DOUBLE_EQ(outside.top(), -3.5);
    EXPECT_EQ(outside.text(), "old");
    EXPECT_FALSE(page.child(1).boolean("HightQuality", true));
    EXPECT_DOUBLE_EQ(page.child(2).height(), 18.89765);
    const Component* fancy = root.findByName("x");
    ASSERT_NE(fancy, nullptr);
    EXPECT_EQ(fancy->className(), "TfrxFancyView");
    ASSERT_EQ(fancy->childCount(), 1u);
    EXPECT_EQ(fancy->child(0).attribute("a"), "1");
}

TEST(Fr3Reader, ReadsUtf16WithByteOrderMarkAndSkipsUtf8Mark) {
    const std::string ascii = "<TfrxReport Name=\"R\"/>";
    std::string utf16 = "\xFF\xFE";
    for (char c : ascii) {
        utf16 += c;
        utf16 += '\0';
    }
    EXPECT_EQ(read(utf16).root->name(), "R");
    EXPECT_EQ(read("\xEF\xBB\xBF" + ascii).root->name(), "R");
}

struct BrokenCase {
    const char* label;
    std::string text;
    const char* messagePart; // part of the first error's message
    size_t childrenKept;     // children of the root that survive
};

TEST(Fr3Reader, CollectsErrorsAndKeepsWhatCouldBeRead) {
    const BrokenCase cases[] = {
        {"truncated inside a tag", "<TfrxReport><TfrxDataPage Name=\"Data\"/><TfrxReportPage Name=\"P",
         "no se cierra", 2},
        {"truncated after a tag", "<TfrxReport><TfrxDataPage Name=\"Data\"/><TfrxReportPage Name=\"P\">",
         "termina antes de cerrar", 2},
        {"mismatched end tag", "<TfrxReport><A><B></A><C/></TfrxReport>", "falta la etiqueta de cierre", 2},
        {"stray end tag", "<TfrxReport><A/></B><C/></TfrxReport>", "sin apertura", 2},
        {"attribute without value", "<TfrxReport><A x y=\"1\"/></TfrxReport>", "no tiene valor", 1},
        {"unquoted value", "<TfrxReport><A x=1/></TfrxReport>", "no lleva comillas", 1},
        {"second root", "<TfrxReport/><TfrxReport/>", "después del elemento raíz", 0},
        {"lone less-than", "<TfrxReport>< <A/></TfrxReport>", "inesperado", 1},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.label);
        const ReadResult result = read(c.text);
        ASSERT_FALSE(result.errors.empty());
        EXPECT_NE(result.errors.front().message.find(c.messagePart), std::string::npos)
            << result.errors.front().message;
        EXPECT_GT(result.errors.front().line, 0);
        ASSERT_TRUE(result.root);
        EXPECT_EQ(result.root->childCount(), c.childrenKept);
    }
}

TEST(Fr3Reader, NamesTheObjectAndPlaceOfAnError) {
    const ReadResult result = read("<TfrxReport>\n  <TfrxMemoView Name=\"Memo3\" Left=\"1\"\n");
    ASSERT_EQ(result.errors.size(), 2u); // the cut tag, and the report left open
    EXPECT_EQ(result.errors[0].objectName, "Memo3");
    EXPECT_EQ(result.errors[0].line, 2);
    EXPECT_EQ(result.errors[0].describe(),
              "Memo3 (línea 2, columna 3): el archivo termina dentro de una etiqueta");
}

TEST(Fr3Reader, EmptyBinaryAndNonXmlInputGiveErrors) {
    EXPECT_EQ(read("").errors.at(0).message, "el archivo está vacío");
    EXPECT_FALSE(read("   \r\n").errors.empty());
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 7919) & 0xFF);
    const ReadResult garbage = read(binary);
    EXPECT_FALSE(garbage.errors.empty());
    EXPECT_LE(garbage.errors.size(), ReaderLimits{}.maxErrors + 1);
    EXPECT_FALSE(read("just text, no markup").errors.empty());
}

TEST(Fr3Reader, HugelyNestedInputStopsAtTheDepthLimit) {
    std::string text = "<TfrxReport>";
    for (int i = 0; i < 200'000; ++i)
        text += "<a>";
    for (int i = 0; i < 200'000; ++i)
        text += "</a>";
    text += "<After/></TfrxReport>";
    const ReadResult result = read(text);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_NE(result.errors[0].message.find("anidamiento"), std::string::npos);
    size_t depth = 0;
    const Component* node = result.root.get();
    while (node->childCount() > 0) {
        node = &node->child(0);
        ++depth;
    }
    EXPECT_EQ(depth, ReaderLimits{}.maxDepth - 1);
    // Reading goes on after the skipped subtree.
    EXPECT_EQ(result.root->child(result.root->childCount() - 1).className(), "After");
}

TEST(Fr3Reader, ManyElementsStopAtTheElementLimit) {
    ReaderLimits limits;
    limits.maxElements = 1000;
    std::string text = "<TfrxReport>";
    for (int i = 0; i < 5000; ++i)
        text += "<a/>";
    text += "</TfrxReport>";
    const ReadResult result = Fr3Reader(CodePage::Windows1252, limits).read(text);
    ASSERT_FALSE(result.errors.empty());
    EXPECT_NE(result.errors[0].message.find("demasiados elementos"), std::string::npos);
    EXPECT_EQ(result.root->childCount(), 999u);
}

TEST(Fr3Reader, FiftyMegabyteInputs) {
    constexpr size_t kSize = 50u << 20;
    // A huge attribute value (a picture) reads whole.
    std::string big = "<TfrxReport><TfrxPictureView Picture.PropData=\"";
    big.append(kSize, 'A');
    big += "\"/></TfrxReport>";
    const ReadResult picture = read(big);
    EXPECT_TRUE(picture.errors.empty());
    EXPECT_EQ(picture.root->child(0).attribute("Picture.PropData").size(), kSize);
    // Fifty megabytes of tiny elements stop at the limit instead of eating memory.
    std::string flood = "<TfrxReport>";
    while (flood.size() < kSize)
        flood += "<a b=\"c\"/>";
    const ReadResult flooded = read(flood);
    ASSERT_FALSE(flooded.errors.empty());
    EXPECT_NE(flooded.errors[0].message.find("demasiados elementos"), std::string::npos);
    // Fifty megabytes of text without markup.
    const ReadResult text = read(std::string(kSize, 'x'));
    EXPECT_FALSE(text.errors.empty());
    EXPECT_FALSE(text.root);
}

TEST(Fr3Reader, ElementTextIsKeptAndRoundTrips) {
    const ReadResult result = read("<TfrxReport><A>  keep &amp; this  <B/>\n</A></TfrxReport>");
    ASSERT_TRUE(result.errors.empty());
    EXPECT_EQ(result.root->child(0).content(), "keep & this");
    Component root("TfrxReport");
    root.appendChild("A").setContent(" padded\r\nline ");
    root.child(0).appendChild("B");
    const ReadResult again = read(writeFr3(root));
    ASSERT_TRUE(again.errors.empty());
    EXPECT_EQ(again.root->child(0).content(), " padded\r\nline ");
}

} // namespace
} // namespace velkaro::report
