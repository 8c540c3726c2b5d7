#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

namespace velkaro::testing {

// One accepted connection of the test server, plain or TLS. Reads and writes give up when
// `stopping` turns true; every wait inside is at most a few tens of milliseconds long.
class ServerSocket {
public:
    virtual ~ServerSocket() = default;
    // Appends what arrived to `into`; false when the peer closed, failed, or the server stops.
    virtual bool read(std::string& into) = 0;
    virtual bool write(std::string_view bytes) = 0;
    // The negotiated TLS version ("TLSv1.2"), empty for plain sockets.
    [[nodiscard]] virtual std::string tlsVersion() const { return {}; }
};

// A TLS server context with a fresh self-signed certificate for 127.0.0.1 and localhost.
class ServerTlsContext {
public:
    ServerTlsContext(int minimumVersion, int maximumVersion);
    ~ServerTlsContext();
    ServerTlsContext(const ServerTlsContext&) = delete;
    ServerTlsContext& operator=(const ServerTlsContext&) = delete;

    // Runs the handshake on `fd` (taken over); nullptr when it fails.
    [[nodiscard]] std::unique_ptr<ServerSocket> accept(int fd, const std::atomic<bool>& stopping);

private:
    void* context_ = nullptr; // SSL_CTX
};

[[nodiscard]] std::unique_ptr<ServerSocket> plainServerSocket(int fd, const std::atomic<bool>& stopping);

} // namespace velkaro::testing
