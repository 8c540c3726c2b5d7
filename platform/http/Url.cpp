#include "http/Url.h"

#include <algorithm>

namespace velkaro::http {

Url Url::parse(std::string_view text) {
    std::string work(text);
    std::replace(work.begin(), work.end(), '\\', '/');

    Url url;
    std::string_view rest(work);
    const size_t schemeEnd = rest.find("://");
    if (schemeEnd != std::string_view::npos) {
        url.hasAuthority = true;
        url.scheme = std::string(rest.substr(0, schemeEnd));
        rest.remove_prefix(schemeEnd + 3);
        const size_t authorityEnd = std::min(rest.find('/'), rest.size());
        std::string_view authority = rest.substr(0, authorityEnd);
        rest.remove_prefix(authorityEnd);

        const size_t at = authority.rfind('@');
        if (at != std::string_view::npos) {
            std::string_view user = authority.substr(0, at);
            const size_t colon = user.find(':');
            url.userName = std::string(user.substr(0, colon));
            if (colon != std::string_view::npos)
                url.password = std::string(user.substr(colon + 1));
            authority.remove_prefix(at + 1);
        }
        const size_t open = authority.find('[');
        const size_t close = authority.find(']');
        if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
            url.host = std::string(authority.substr(open + 1, close - open - 1));
            std::string_view after = authority.substr(close + 1);
            const size_t colon = after.find(':');
            if (colon != std::string_view::npos)
                url.port = std::string(after.substr(colon + 1));
        } else {
            const size_t colon = authority.find(':');
            url.host = std::string(authority.substr(0, colon));
            if (colon != std::string_view::npos)
                url.port = std::string(authority.substr(colon + 1));
        }
    }

    size_t queryStart = rest.find('?');
    if (queryStart == std::string_view::npos)
        queryStart = rest.find('=');
    std::string_view query;
    if (queryStart != std::string_view::npos) {
        query = rest.substr(queryStart);
        rest = rest.substr(0, queryStart);
    }
    const size_t hash = query.find('#');
    if (hash != std::string_view::npos) {
        url.fragment = std::string(query.substr(hash));
        query = query.substr(0, hash);
    } else if (queryStart == std::string_view::npos) {
        const size_t pathHash = rest.find('#');
        if (pathHash != std::string_view::npos) {
            url.fragment = std::string(rest.substr(pathHash));
            rest = rest.substr(0, pathHash);
        }
    }
    url.query = std::string(query);
    url.path = std::string(rest);
    return url;
}

} // namespace velkaro::http
