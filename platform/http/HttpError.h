#pragma once

#include "base/Error.h"

#include <string>

namespace velkaro::http {

// Why a request failed. what() carries the text for the user; the kind is for code that reacts.
enum class HttpFailure {
    Status,            // the final reply's status was outside 2xx (HttpStatusError)
    InvalidAddress,    // the address cannot be parsed
    UnsupportedScheme, // neither http nor https
    TlsNotAttached,    // an https address while no TLS transport is attached
    TooManyRedirects,  // more redirects than the client follows for one request
    RequestInProgress, // another request of the same client has not ended yet
    HostNotFound,      // the host name does not resolve
    ConnectFailed,     // refused, unreachable, reset while connecting
    ConnectTimeout,    // the connect did not finish in time ("Connect timed out.")
    ReadTimeout,       // the server sent nothing for too long
    ConnectionClosed,  // the server closed the connection before the reply was complete
    InvalidReply,      // what came back is not HTTP
    TlsFailure,        // the TLS handshake or TLS transport failed
    OutputFailed,      // the caller's stream refused the body
    TransferFailed,    // any other transport failure
};

class HttpError : public Error {
public:
    HttpError(HttpFailure failure, const std::string& message) : Error(message), failure_(failure) {}

    [[nodiscard]] HttpFailure failure() const { return failure_; }

private:
    HttpFailure failure_;
};

// A reply outside 2xx after all redirects: what() is the status line exactly as the server sent it,
// without its line end (e.g. "HTTP/1.1 404 Not Found").
class HttpStatusError : public HttpError {
public:
    HttpStatusError(int statusCode, const std::string& statusLine)
        : HttpError(HttpFailure::Status, statusLine), statusCode_(statusCode) {}

    [[nodiscard]] int statusCode() const { return statusCode_; }

private:
    int statusCode_;
};

} // namespace velkaro::http
