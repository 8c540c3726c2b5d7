#include "http/MultipartFormData.h"

#include "base/Error.h"

#include <gtest/gtest.h>

#include <regex>

namespace velkaro::http {
namespace {

TEST(MultipartFormData, BoundaryIsEightHyphensAndFifteenDigitsOfLocalTime) {
    struct Case {
        LocalDateTime time;
        const char* boundary;
    };
    const Case cases[] = {
        {{2026, 3, 15, 14, 5, 9, 7}, "--------031526140509007"},
        {{1999, 12, 31, 23, 59, 59, 999}, "--------123199235959999"},
        {{2000, 1, 1, 0, 0, 0, 0}, "--------010100000000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MultipartFormData::boundaryFor(c.time), c.boundary);

    const MultipartFormData now;
    EXPECT_TRUE(std::regex_match(now.boundary(), std::regex("-{8}[0-9]{15}"))) << now.boundary();
    EXPECT_EQ(now.contentType(), "multipart/form-data; boundary=" + now.boundary());
}

TEST(MultipartFormData, EmptyFormIsOnlyTheClosingLine) {
    const MultipartFormData form(LocalDateTime{2026, 1, 2, 3, 4, 5, 6});
    EXPECT_EQ(form.body(), "----------010226030405006--\r\n");
}

TEST(MultipartFormData, NamesThatWouldBreakThePartHeaderAndValuesHoldingTheBoundaryAreRefused) {
    MultipartFormData form(LocalDateTime{2026, 1, 2, 3, 4, 5, 6});
    EXPECT_THROW(form.addField("a\"b", "x"), Error);
    EXPECT_THROW(form.addField("a\r\nX-Injected: 1", "x"), Error);
    form.addField("fr3", "text\r\n--" + form.boundary() + "--\r\n");
    EXPECT_THROW((void)form.body(), Error);
}

} // namespace
} // namespace velkaro::http
