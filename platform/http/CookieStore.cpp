#include "http/CookieStore.h"

#include "base/AsciiCase.h"

#include <curl/curl.h>

#include <algorithm>
#include <limits>

namespace velkaro::http {

namespace {

std::string_view unquote(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

// A byte that would end or corrupt the Cookie header we send back.
bool holdsHeaderBreakingByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t') || byte == 0x7F;
    });
}

bool isIpAddress(std::string_view host) {
    if (host.find(':') != std::string_view::npos)
        return true;
    return !host.empty() &&
           std::all_of(host.begin(), host.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

bool domainMatches(std::string_view host, std::string_view domain) {
    if (host == domain)
        return true;
    return host.size() > domain.size() && host.ends_with(domain) &&
           host[host.size() - domain.size() - 1] == '.' && !isIpAddress(host);
}

std::string normalizedPath(std::string_view path) {
    if (path.empty() || path.front() != '/')
        return "/";
    return std::string(path);
}

// The directory of the request path: up to, not including, its last "/".
std::string defaultPath(std::string_view requestPath) {
    const std::string path = normalizedPath(requestPath);
    const size_t lastSlash = path.rfind('/');
    if (lastSlash == 0)
        return "/";
    return path.substr(0, lastSlash);
}

bool pathMatches(std::string_view requestPath, std::string_view cookiePath) {
    if (!requestPath.starts_with(cookiePath))
        return false;
    return requestPath.size() == cookiePath.size() || cookiePath.back() == '/' ||
           requestPath[cookiePath.size()] == '/';
}

bool parseDeltaSeconds(std::string_view text, long long& out) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = std::min<long long>(value * 10 + (c - '0'), std::numeric_limits<int>::max());
    }
    out = negative ? -value : value;
    return true;
}

// Set-Cookie2 lists cookies separated by commas; a comma inside quotes, or one not followed by
// "name=" (as in an Expires date), belongs to the current cookie.
std::vector<std::string_view> splitCookieList(std::string_view text) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            const std::string_view rest = text.substr(i + 1);
            const size_t equals = rest.find('=');
            const size_t semicolon = rest.find(';');
            const size_t comma = rest.find(',');
            if (equals != std::string_view::npos && equals < semicolon && equals < comma &&
                !trimBlanks(rest.substr(0, equals)).empty()) {
                pieces.push_back(text.substr(start, i - start));
                start = i + 1;
            }
        }
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

} // namespace

void CookieStore::store(CookieSyntax syntax, std::string_view headerValue, const CookieOrigin& origin,
                        std::time_t now) {
    if (syntax == CookieSyntax::SetCookie) {
        storeOne(syntax, headerValue, origin, now);
        return;
    }
    for (std::string_view piece : splitCookieList(headerValue))
        storeOne(syntax, piece, origin, now);
}

void CookieStore::storeOne(CookieSyntax syntax, std::string_view text, const CookieOrigin& origin,
                           std::time_t now) {
    const std::string host = toAsciiLower(origin.host);
    if (host.empty())
        return;
    const size_t pairEnd = std::min(text.find(';'), text.size());
    const std::string_view pair = text.substr(0, pairEnd);
    const size_t equals = pair.find('=');
    if (equals == std::string_view::npos)
        return;
    Cookie cookie;
    cookie.name = std::string(trimBlanks(pair.substr(0, equals)));
    cookie.value = std::string(trimBlanks(pair.substr(equals + 1)));
    if (cookie.name.empty() || cookie.name.size() + cookie.value.size() > maximumCookieBytes ||
        holdsHeaderBreakingByte(cookie.name) || holdsHeaderBreakingByte(cookie.value))
        return;

    std::string domain;
    std::string path;
    bool maxAgeSeen = false;
    bool expired = false;
    std::string_view attributes = pairEnd < text.size() ? text.substr(pairEnd + 1) : std::string_view();
    while (!attributes.empty()) {
        const size_t end = std::min(attributes.find(';'), attributes.size());
        const std::string_view attribute = attributes.substr(0, end);
        attributes = end < attributes.size() ? attributes.substr(end + 1) : std::string_view();

        const size_t attributeEquals = attribute.find('=');
        const std::string key = toAsciiLower(trimBlanks(attribute.substr(0, attributeEquals)));
        std::string_view value = attributeEquals == std::string_view::npos
                                     ? std::string_view()
                                     : trimBlanks(attribute.substr(attributeEquals + 1));
        if (syntax == CookieSyntax::SetCookie2)
            value = unquote(value);

        if (key == "expires" && !maxAgeSeen) {
            const std::string date(value);
            const std::time_t when = curl_getdate(date.c_str(), nullptr);
            if (when != -1) {
                cookie.persistent = true;
                cookie.expires = when;
                expired = when <= now;
            }
        } else if (key == "max-age") {
            long long seconds = 0;
            if (parseDeltaSeconds(value, seconds)) {
                maxAgeSeen = true;
                cookie.persistent = true;
                expired = seconds <= 0;
                cookie.expires = expired ? now : now + static_cast<std::time_t>(seconds);
            }
        } else if (key == "domain") {
            std::string_view name = value;
            while (!name.empty() && name.front() == '.')
                name.remove_prefix(1);
            if (!name.empty())
                domain = toAsciiLower(name);
        } else if (key == "path") {
            if (!value.empty() && value.front() == '/')
                path = std::string(value);
        } else if (key == "secure") {
            cookie.secure = true;
        }
    }

    if (domain.empty()) {
        cookie.domain = host;
        cookie.hostOnly = true;
    } else {
        // A domain the host does not belong to, or a bare top-level name, is another site's.
        if (!domainMatches(host, domain) || (domain != host && domain.find('.') == std::string::npos))
            return;
        cookie.domain = domain;
        cookie.hostOnly = false;
    }
    cookie.path = path.empty() ? defaultPath(origin.path) : path;
    if (holdsHeaderBreakingByte(cookie.path) || holdsHeaderBreakingByte(cookie.domain))
        return;

    if (expired) {
        std::erase_if(cookies_, [&](const Cookie& held) {
            return held.name == cookie.name && held.domain == cookie.domain && held.path == cookie.path;
        });
        return;
    }
    insert(std::move(cookie), now);
}

void CookieStore::insert(Cookie cookie, std::time_t now) {
    auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const Cookie& held) {
        return held.name == cookie.name && held.domain == cookie.domain && held.path == cookie.path;
    });
    if (same != cookies_.end()) {
        cookie.created = same->created;
        *same = std::move(cookie);
        return;
    }
    std::erase_if(cookies_, [now](const Cookie& held) { return held.persistent && held.expires <= now; });
    if (cookies_.size() >= maximumCookies) {
        auto oldest =
            std::min_element(cookies_.begin(), cookies_.end(),
                             [](const Cookie& a, const Cookie& b) { return a.created < b.created; });
        cookies_.erase(oldest);
    }
    cookie.created = nextSerial_++;
    cookies_.push_back(std::move(cookie));
}

std::string CookieStore::cookieHeaderFor(const CookieOrigin& origin, std::time_t now) const {
    const std::string host = toAsciiLower(origin.host);
    const std::string path = normalizedPath(origin.path);
    const bool secureRequest = equalsIgnoreAsciiCase(origin.scheme, "https");
    std::vector<const Cookie*> matching;
    for (const Cookie& cookie : cookies_) {
        if (cookie.persistent && cookie.expires <= now)
            continue;
        if (cookie.hostOnly ? host != cookie.domain : !domainMatches(host, cookie.domain))
            continue;
        if (!pathMatches(path, cookie.path) || (cookie.secure && !secureRequest))
            continue;
        matching.push_back(&cookie);
    }
    std::stable_sort(matching.begin(), matching.end(), [](const Cookie* a, const Cookie* b) {
        if (a->path.size() != b->path.size())
            return a->path.size() > b->path.size();
        return a->created < b->created;
    });
    std::string header;
    for (const Cookie* cookie : matching) {
        if (!header.empty())
            header += "; ";
        header += cookie->name;
        header += '=';
        header += cookie->value;
    }
    return header;
}

} // namespace velkaro::http
