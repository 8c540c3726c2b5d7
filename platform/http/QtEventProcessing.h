#pragma once

#include "http/HttpClient.h"

namespace velkaro::http {

// An idle hook that lets the Qt event loop of the calling thread handle what is pending (timers,
// painting, input) while a request of the client waits. Install it with HttpClient::setIdleHook.
[[nodiscard]] HttpClient::IdleHook qtEventProcessing();

} // namespace velkaro::http
