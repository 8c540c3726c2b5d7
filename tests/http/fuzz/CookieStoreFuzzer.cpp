// Set-Cookie and Set-Cookie2 values from hostile servers: storing never crashes, and what is sent
// back never holds a byte that would break the request's header block.
#include "http/CookieStore.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velkaro::http;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    // Layout: request path, a line end, then one header value per line; a leading "2" in a line
    // marks Set-Cookie2.
    const size_t pathEnd = input.find('\n');
    const std::string path(input.substr(0, pathEnd));
    input = pathEnd == std::string_view::npos ? std::string_view() : input.substr(pathEnd + 1);

    CookieStore store;
    const CookieOrigin origin{"http", "app.example.com", path};
    constexpr std::time_t now = 1'800'000'000;
    while (!input.empty()) {
        const size_t end = std::min(input.find('\n'), input.size());
        std::string_view line = input.substr(0, end);
        input = end < input.size() ? input.substr(end + 1) : std::string_view();
        CookieSyntax syntax = CookieSyntax::SetCookie;
        if (!line.empty() && line.front() == '2') {
            syntax = CookieSyntax::SetCookie2;
            line.remove_prefix(1);
        }
        store.store(syntax, line, origin, now);
    }
    for (const CookieOrigin& request : {origin, CookieOrigin{"https", "x.app.example.com", "/"},
                                        CookieOrigin{"http", "example.com", path}}) {
        const std::string header = store.cookieHeaderFor(request, now);
        for (char c : header) {
            if (c == '\r' || c == '\n' || c == '\0')
                std::abort();
        }
    }
    if (store.size() > CookieStore::maximumCookies)
        std::abort();
    return 0;
}
