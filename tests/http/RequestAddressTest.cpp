#include "http/RequestAddress.h"

#include "http/HttpError.h"

#include <gtest/gtest.h>

namespace velkaro::http {
namespace {

TEST(RequestAddress, PreparedForTheTransfer) {
    struct Case {
        const char* given;
        const char* url;
        const char* scheme;
        const char* host;
        const char* port;
        const char* path;
    };
    const Case cases[] = {
        {"http://server/app/fr3.php?p=12&f=x", "http://server/app/fr3.php?p=12&f=x", "http", "server", "80",
         "/app/fr3.php"},
        {"http:\\\\server\\img\\a.png", "http://server/img/a.png", "http", "server", "80", "/img/a.png"},
        {"HTTPS://Server:8443", "https://Server:8443/", "https", "Server", "8443", "/"},
        {"http://user:pw@server/x#part", "http://server/x", "http", "server", "80", "/x"},
        {"http://server/img/logo.png ", "http://server/img/logo.png%20", "http", "server", "80",
         "/img/logo.png%20"},
        {"http://server/a b?q=\xC3\xB1", "http://server/a%20b?q=%C3%B1", "http", "server", "80", "/a%20b"},
        {"http://server/ya%20codificado", "http://server/ya%20codificado", "http", "server", "80",
         "/ya%20codificado"},
        {"http://[::1]:8080/x", "http://[::1]:8080/x", "http", "::1", "8080", "/x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        const RequestAddress address = RequestAddress::prepare(c.given);
        EXPECT_EQ(address.url, c.url);
        EXPECT_EQ(address.scheme, c.scheme);
        EXPECT_EQ(address.host, c.host);
        EXPECT_EQ(address.port, c.port);
        EXPECT_EQ(address.path, c.path);
    }
}

TEST(RequestAddress, RefusedWithTheReason) {
    struct Case {
        const char* given;
        HttpFailure failure;
    };
    const Case cases[] = {
        {"qlx3://server/fr3.php", HttpFailure::UnsupportedScheme},
        {"QLX3://server/fr3.php", HttpFailure::UnsupportedScheme},
        {"gopher://server/", HttpFailure::UnsupportedScheme},
        {"server/fr3.php", HttpFailure::InvalidAddress},
        {"http:server", HttpFailure::InvalidAddress},
        {"http:///path", HttpFailure::InvalidAddress},
        {"http://server:port/", HttpFailure::InvalidAddress},
        {"http://ser%7Fver/", HttpFailure::InvalidAddress},
        {"http://ser%0D%0Aver/", HttpFailure::InvalidAddress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        try {
            (void)RequestAddress::prepare(c.given);
            ADD_FAILURE() << "accepted";
        } catch (const HttpError& error) {
            EXPECT_EQ(error.failure(), c.failure);
        }
    }
}

} // namespace
} // namespace velkaro::http
