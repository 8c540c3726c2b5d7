#include "http/CookieStore.h"

#include <gtest/gtest.h>

namespace velkaro::http {
namespace {

constexpr std::time_t now = 1'800'000'000;

CookieOrigin at(const char* scheme, const char* host, const char* path) {
    return CookieOrigin{scheme, host, path};
}

TEST(CookieStore, WhichRequestsACookieGoesWith) {
    struct Case {
        const char* header;
        CookieOrigin setBy;
        CookieOrigin request;
        const char* sent;
    };
    const Case cases[] = {
        {"a=1", at("http", "Server", "/app/fr3.php"), at("http", "server", "/app/getdata.php"), "a=1"},
        {"a=1", at("http", "server", "/app/fr3.php"), at("http", "server", "/other"),
         ""}, // default path /app
        {"a=1", at("http", "server", "/app/fr3.php"), at("http", "server", "/application"), ""},
        {"a=1", at("http", "server", "/fr3.php"), at("http", "server", "/img/x.png"), "a=1"},
        {"a=1", at("http", "server", "/x"), at("http", "www.server", "/x"), ""}, // host only
        {"a=1; Domain=.example.com", at("http", "app.example.com", "/"), at("http", "img.example.com", "/"),
         "a=1"},
        {"a=1; Domain=example.com", at("http", "app.example.com", "/"), at("http", "example.com", "/"),
         "a=1"},
        {"a=1; Domain=other.com", at("http", "app.example.com", "/"), at("http", "other.com", "/"), ""},
        {"a=1; Domain=com", at("http", "app.example.com", "/"), at("http", "app.example.com", "/"), ""},
        {"a=1; Domain=0.1", at("http", "127.0.0.1", "/"), at("http", "127.0.0.1", "/"), ""},
        {"a=1; Path=/app", at("http", "server", "/"), at("http", "server", "/app/x"), "a=1"},
        {"a=1; Path=/app", at("http", "server", "/"), at("http", "server", "/"), ""},
        {"a=1; Secure", at("https", "server", "/"), at("http", "server", "/"), ""},
        {"a=1; Secure", at("https", "server", "/"), at("https", "server", "/"), "a=1"},
        {"a=1; Max-Age=60", at("http", "server", "/"), at("http", "server", "/"), "a=1"},
        {"a=1; Max-Age=0", at("http", "server", "/"), at("http", "server", "/"), ""},
        {"a=1; Expires=Wed, 09 Jun 2021 10:18:14 GMT", at("http", "server", "/"), at("http", "server", "/"),
         ""},
        {"a=1; Expires=Wed, 09 Jun 2021 10:18:14 GMT; Max-Age=60", at("http", "server", "/"),
         at("http", "server", "/"), "a=1"},
        {"a=1; Expires=Fri, 01 Jan 2100 00:00:00 GMT", at("http", "server", "/"), at("http", "server", "/"),
         "a=1"},
        {" spaced = value with blanks ; path=/", at("http", "server", "/"), at("http", "server", "/"),
         "spaced=value with blanks"},
        {"empty=", at("http", "server", "/"), at("http", "server", "/"), "empty="},
        {"novalue", at("http", "server", "/"), at("http", "server", "/"), ""},
        {"=nameless", at("http", "server", "/"), at("http", "server", "/"), ""},
        {"a=1\r\nX-Injected: yes", at("http", "server", "/"), at("http", "server", "/"), ""},
        {"a=\x7F", at("http", "server", "/"), at("http", "server", "/"), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        CookieStore store;
        store.store(CookieSyntax::SetCookie, c.header, c.setBy, now);
        EXPECT_EQ(store.cookieHeaderFor(c.request, now), c.sent);
    }
}

TEST(CookieStore, SetCookie2ListsSeveralCookiesWithQuotedAttributes) {
    CookieStore store;
    store.store(CookieSyntax::SetCookie2,
                "first=\"a,b\"; Version=\"1\"; Path=\"/app\", second=2; Max-Age=\"100\", third=3; Discard",
                at("http", "server", "/app/fr3.php"), now);
    EXPECT_EQ(store.size(), 3u);
    EXPECT_EQ(store.cookieHeaderFor(at("http", "server", "/app/x"), now), "first=\"a,b\"; second=2; third=3");
    EXPECT_EQ(store.cookieHeaderFor(at("http", "server", "/"), now), "");
    EXPECT_EQ(store.cookieHeaderFor(at("http", "server", "/app/x"), now + 101), "first=\"a,b\"; third=3");
}

TEST(CookieStore, LaterCookiesReplaceOrDeleteTheSameNameDomainAndPath) {
    CookieStore store;
    const CookieOrigin origin = at("http", "server", "/");
    store.store(CookieSyntax::SetCookie, "a=1", origin, now);
    store.store(CookieSyntax::SetCookie, "b=2; Path=/deep", origin, now);
    store.store(CookieSyntax::SetCookie, "c=3", origin, now);
    store.store(CookieSyntax::SetCookie, "a=changed", origin, now);
    // Longer paths first, then the order of first arrival.
    EXPECT_EQ(store.cookieHeaderFor(at("http", "server", "/deep/x"), now), "b=2; a=changed; c=3");
    store.store(CookieSyntax::SetCookie, "c=gone; Max-Age=-1", origin, now);
    store.store(CookieSyntax::SetCookie, "b=x; Expires=Thu, 01 Jan 1970 00:00:01 GMT; Path=/deep", origin,
                now);
    EXPECT_EQ(store.cookieHeaderFor(at("http", "server", "/deep/x"), now), "a=changed");
    EXPECT_EQ(store.size(), 1u);
}

TEST(CookieStore, HoldsABoundedNumberGivingUpTheOldest) {
    CookieStore store;
    const CookieOrigin origin = at("http", "server", "/");
    for (size_t i = 0; i < CookieStore::maximumCookies + 10; ++i)
        store.store(CookieSyntax::SetCookie, "n" + std::to_string(i) + "=v", origin, now);
    EXPECT_EQ(store.size(), CookieStore::maximumCookies);
    const std::string header = store.cookieHeaderFor(origin, now);
    EXPECT_EQ(header.find("n9=v"), std::string::npos);
    EXPECT_TRUE(header.starts_with("n10=v; "));
    store.store(CookieSyntax::SetCookie, "big=" + std::string(CookieStore::maximumCookieBytes, 'x'), origin,
                now);
    EXPECT_EQ(store.cookieHeaderFor(origin, now).find("big="), std::string::npos);
}

} // namespace
} // namespace velkaro::http
