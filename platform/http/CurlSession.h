#pragma once

#include "http/CookieStore.h"
#include "http/HttpClient.h"
#include "http/RequestAddress.h"
#include "http/TlsTransport.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The client's own machinery: one request and its reply over libcurl, without following
// redirects. Not meant for use outside HttpClient.
namespace velkaro::http::detail {

enum class Method { Get, Post };

struct Exchange {
    const RequestAddress& address;
    Method method = Method::Get;
    const std::string* body = nullptr; // Post only
    std::string contentType;           // Post only
    std::string cookieHeader;          // empty: no Cookie header
    const TlsTransport* tls = nullptr; // required for https
    std::chrono::milliseconds connectTimeout{0};
    std::chrono::milliseconds readTimeout{0}; // zero: no limit
};

struct ExchangeCallbacks {
    std::function<void(std::string_view)> body;        // bytes of a 2xx reply's body
    std::function<void(std::int64_t)> announcedLength; // a 2xx reply's Content-Length, when given
    std::function<void(CookieSyntax, std::string_view)> cookie;
    std::function<void(TransferDirection, std::int64_t)> moved; // bytes moved since the last call
    std::function<void()> idle;
};

struct ExchangeReply {
    int statusCode = 0;
    std::string statusLine;  // as sent, without CR LF
    std::string redirectUrl; // absolute, for a 3xx reply with a Location header
};

// Owns the libcurl handles of one client; the connection cache lives as long as the session or
// until closeConnections().
class CurlSession {
public:
    CurlSession();
    ~CurlSession();
    CurlSession(const CurlSession&) = delete;
    CurlSession& operator=(const CurlSession&) = delete;

    // Runs one exchange to its end, calling back as bytes move and between polls. Throws
    // HttpError for transport failures; a status outside 2xx is no failure here.
    [[nodiscard]] ExchangeReply run(const Exchange& exchange, const ExchangeCallbacks& callbacks);

    void closeConnections();

private:
    CURLM* multi_ = nullptr;
    CURL* easy_ = nullptr;
};

} // namespace velkaro::http::detail
