#pragma once

#include <string>
#include <string_view>

namespace velkaro::http {

// A URL split the way the program's addresses need it. Parsing never fails: text that is not a URL
// gives empty parts.
//
//  - every "\" becomes "/" first;
//  - the scheme is the text before the first "://", the authority the text after it up to the next
//    "/" (or the end); without "://" there is neither;
//  - user information up to the last "@" of the authority is split off; the host is what remains up
//    to the first ":", the port what follows; a host in square brackets (IPv6) loses its brackets;
//  - after the authority, the query runs from the first "?" (included) to the end, or when there is
//    no "?" from the first "=" (included); it ends before the first "#", which starts the fragment.
struct Url {
    std::string scheme;
    std::string userName;
    std::string password;
    std::string host;
    std::string port;
    std::string path;          // from the end of the authority up to the query, e.g. "/app/fr3.php"
    std::string query;         // with its first character ("?" or "="), or empty
    std::string fragment;      // with its "#", or empty
    bool hasAuthority = false; // the text had a "://"

    [[nodiscard]] static Url parse(std::string_view text);
};

} // namespace velkaro::http
