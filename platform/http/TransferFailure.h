#pragma once

#include "http/RequestAddress.h"

#include <curl/curl.h>

#include <chrono>
#include <string>

namespace velkaro::http::detail {

// Throws the HttpError for a libcurl failure of a request to `address`. osErrno is the system error
// of a failed connect (0 when unknown).
[[noreturn]] void throwTransferFailure(CURLcode code, long osErrno, const RequestAddress& address);

[[noreturn]] void throwReadTimeout(const RequestAddress& address, std::chrono::milliseconds silence);

[[noreturn]] void throwOversizedHeaders(const RequestAddress& address);

} // namespace velkaro::http::detail
