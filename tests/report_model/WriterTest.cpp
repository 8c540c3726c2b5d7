#include "report/model/Fr3Reader.h"
#include "report/model/Fr3Writer.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

TEST(Fr3Writer, EscapesValuesSoTheyReadBackExactly) {
    struct Case {
        std::string value;
        std::string written;
    };
    const Case cases[] = {
        {"plain", "plain"}, {"\r\nbegin\r\n\r\nend.", "&#13;&#10;begin&#13;&#10;&#13;&#10;end."},
        {"a\tb", "a&#9;b"}, {"[ds.\"F\"] <b> & 'x'", "[ds.&#34;F&#34;] &#60;b&#62; &amp; 'x'"},
        {"ñ Ş Ж", "ñ Ş Ж"}, {std::string("\x01\x7F", 2), "&#1;&#127;"},
    };
    for (const Case& c : cases) {
        Component root("TfrxReport");
        root.appendAttribute("V", c.value);
        const std::string text = writeFr3(root);
        EXPECT_EQ(text,
                  "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<TfrxReport V=\"" + c.written + "\"/>\r\n");
        const ReadResult back = Fr3Reader(CodePage::Windows1252).read(text);
        ASSERT_TRUE(back.errors.empty());
        EXPECT_EQ(back.root->attribute("V"), c.value);
    }
}

TEST(Fr3Writer, IndentsTwoBlanksPerLevelWithCrLf) {
    Component root("TfrxReport");
    Component& page = root.appendChild("TfrxReportPage");
    page.appendAttribute("Name", "Page1");
    page.appendChild("TfrxMasterData").appendChild("TfrxMemoView");
    root.appendChild("TfrxDataPage");
    EXPECT_EQ(writeFr3(root), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                              "<TfrxReport>\r\n"
                              "  <TfrxReportPage Name=\"Page1\">\r\n"
                              "    <TfrxMasterData>\r\n"
                              "      <TfrxMemoView/>\r\n"
                              "    </TfrxMasterData>\r\n"
                              "  </TfrxReportPage>\r\n"
                              "  <TfrxDataPage/>\r\n"
                              "</TfrxReport>\r\n");
}

} // namespace
} // namespace velkaro::report
