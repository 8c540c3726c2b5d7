#pragma once

#include "http/CookieStore.h"
#include "http/HttpError.h"
#include "http/MultipartFormData.h"
#include "http/TlsTransport.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

namespace velkaro::http {

enum class TransferDirection { Receive, Send };

// A blocking HTTP/HTTPS client for one thread. A request returns only when it is over, but the
// client calls its idle hook after every wait on the network (each at most pollInterval long) and
// its work handler whenever bytes have moved, so a caller that processes window events there
// keeps its windows alive. Hooks run outside libcurl's callbacks.
//
// Every request sends "Accept: text/html, */*" and "User-Agent: Mozilla/3.0 (compatible; Indy
// Library)", never an Authorization header (user information in an address is dropped), and never
// goes through a proxy, whatever the environment says. GET speaks HTTP/1.1 on a kept-alive
// connection; POST speaks HTTP/1.0 on a new connection, closing any open one first. Redirects
// (301, 302, 303, 307, 308) are followed up to maximumRedirects; 301 to 303 turn a POST into a
// GET, 307 and 308 repeat it. Cookies live in cookies() for the life of the client and go along with
// every matching request, redirected ones included.
//
// Addresses: every "\" becomes "/"; blanks, control bytes and bytes above 127 are sent
// percent-encoded (a UTF-8 host goes out as an international domain name); only http and https
// (any a-z case) are served.
//
// Failures throw HttpError (HttpStatusError for a final status outside 2xx); the texts are meant
// for the user. A request started while another of the same client is still running (from the
// idle hook or the work handler) throws HttpFailure::RequestInProgress and leaves the first one
// undisturbed. Exceptions thrown by the hooks abandon the request and reach the caller.
//
// Bodies are bytes, returned or written unchanged. A client must not be destroyed from its own
// hooks while a request runs.
class HttpClient {
public:
    // byteCount: bytes moved in that direction so far in the current request, redirects included;
    // Receive counts the replies' heads and bodies, Send the request body.
    using WorkHandler = std::function<void(TransferDirection direction, std::int64_t byteCount)>;
    using IdleHook = std::function<void()>;

    static constexpr int maximumRedirects = 15;
    static constexpr std::chrono::milliseconds pollInterval{20};
    static constexpr std::chrono::milliseconds defaultConnectTimeout{120000};
    // A silent server is given up after this long without a byte (see setReadTimeout).
    static constexpr std::chrono::milliseconds defaultReadTimeout{300000};

    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // The body of the final reply.
    [[nodiscard]] std::string get(const std::string& url);
    // Writes the body of the final reply to `out` as it arrives; a failure can leave part of it
    // written. Bodies of redirects and of error replies are never written.
    void get(const std::string& url, std::ostream& out);
    // Posts the form (HTTP/1.0) and returns the body of the final reply.
    [[nodiscard]] std::string post(const std::string& url, const MultipartFormData& form);

    void setWorkHandler(WorkHandler handler);
    void setIdleHook(IdleHook hook);

    // Attaches the TLS transport used for https addresses, or detaches it with nullptr. While
    // detached, an https address fails with HttpFailure::TlsNotAttached, also when a redirect
    // leads there; http addresses are served in plain mode either way. Not owned; the transport
    // is read at every request and must outlive its attachment.
    void setTlsTransport(const TlsTransport* transport);
    [[nodiscard]] const TlsTransport* tlsTransport() const;

    // Connect (name lookup and TLS handshake included); when it runs out the request fails with
    // "Connect timed out.". Zero leaves libcurl's own bound (300 s).
    void setConnectTimeout(std::chrono::milliseconds timeout);
    // Longest silence of a connected server, in both directions, before the request fails with
    // HttpFailure::ReadTimeout. Zero waits without limit.
    void setReadTimeout(std::chrono::milliseconds timeout);

    [[nodiscard]] CookieStore& cookies();
    [[nodiscard]] const CookieStore& cookies() const;

    // True while a request is running (seen from the hooks).
    [[nodiscard]] bool busy() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace velkaro::http
