#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro::http {

// Where a request goes, as far as cookies are concerned. The path is the URL's path without its
// query ("/app/fr3.php"); an empty path counts as "/".
struct CookieOrigin {
    std::string scheme; // "http" or "https"
    std::string host;   // compared without regard to a-z case
    std::string path;
};

enum class CookieSyntax {
    SetCookie,  // one cookie per header, attributes after ';'
    SetCookie2, // a comma-separated list of cookies, attribute values may be quoted
};

// An in-memory cookie jar: what servers set with Set-Cookie and Set-Cookie2, sent back with later
// requests whose host, path and scheme match (Domain, Path, Secure, Expires and Max-Age are
// honoured). Nothing is read from or written to disk. Malformed cookies are dropped silently, as a
// browser would; cookies whose bytes could break a request header (controls, DEL) are dropped too.
// The jar holds at most maximumCookies; the oldest cookie gives way to a new one.
class CookieStore {
public:
    static constexpr size_t maximumCookies = 3000;
    static constexpr size_t maximumCookieBytes = 8192; // name plus value

    // Takes the value of one Set-Cookie or Set-Cookie2 header of a reply from `origin`.
    void store(CookieSyntax syntax, std::string_view headerValue, const CookieOrigin& origin,
               std::time_t now);

    // The value of the Cookie header for a request to `origin` ("a=1; b=2"), or empty when no
    // cookie matches. Longer paths come first, then older cookies.
    [[nodiscard]] std::string cookieHeaderFor(const CookieOrigin& origin, std::time_t now) const;

    [[nodiscard]] size_t size() const { return cookies_.size(); }
    void clear() { cookies_.clear(); }

private:
    struct Cookie {
        std::string name;
        std::string value;
        std::string domain; // lower case, no leading dot
        bool hostOnly = true;
        std::string path;
        bool secure = false;
        bool persistent = false;
        std::time_t expires = 0; // only when persistent
        std::uint64_t created = 0;
    };

    void storeOne(CookieSyntax syntax, std::string_view text, const CookieOrigin& origin, std::time_t now);
    void insert(Cookie cookie, std::time_t now);

    std::vector<Cookie> cookies_;
    std::uint64_t nextSerial_ = 0;
};

} // namespace velkaro::http
