#pragma once

#include <string>
#include <string_view>

namespace velkaro::http {

// An address made ready for the transfer library: "\" turned into "/", blanks, control bytes and
// bytes above 127 percent-encoded (a host keeps its UTF-8, which the transfer sends as an
// international domain name), user information and fragment removed (so that no credentials are
// ever sent). The parts are those of the prepared address.
struct RequestAddress {
    std::string url;
    std::string scheme; // "http" or "https", lower case
    std::string host;   // IPv6 literals without brackets
    std::string port;   // explicit or the scheme's default
    std::string path;   // without the query, at least "/"

    // Throws HttpError: HttpFailure::UnsupportedScheme for any scheme but http and https (in any
    // a-z case), HttpFailure::InvalidAddress for text that is not an address.
    [[nodiscard]] static RequestAddress prepare(std::string_view address);
};

} // namespace velkaro::http
