#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace velkaro::testing {

class ServerSocket;
class ServerTlsContext;

// One request as it reached the server.
struct RecordedRequest {
    std::string raw;         // request line, headers and body, byte for byte
    std::string requestLine; // without CR LF, e.g. "GET /a?b=1 HTTP/1.1"
    std::string method;
    std::string target; // "/a?b=1"
    std::string path;   // "/a"
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers; // in order, values trimmed
    std::string body;
    int connection = 0;     // ordinal of the connection that carried it, from 1
    std::string tlsVersion; // e.g. "TLSv1.3" on a TLS server, empty otherwise

    // The first header of that name (a-z case ignored), or nullopt.
    [[nodiscard]] std::optional<std::string> header(std::string_view name) const;
    [[nodiscard]] size_t headerCount(std::string_view name) const;
};

// Given to a streaming reply: writes go straight to the client.
class ReplyWriter {
public:
    virtual ~ReplyWriter() = default;
    // False once the client has gone or the server stops.
    virtual bool write(std::string_view bytes) = 0;
    // Waits, returning early (false) when the server stops.
    virtual bool pause(std::chrono::milliseconds duration) = 0;
};

enum class AfterReply { KeepOpen, Close };

// What the server sends back for one request: `bytes` as they are, after `delay`, then whatever
// `writer` writes. An HTTP/1.0 request or a "Connection: close" closes the connection anyway.
struct Reply {
    std::string bytes;
    std::chrono::milliseconds delay{0};
    std::function<void(ReplyWriter&)> writer;
    AfterReply after = AfterReply::KeepOpen;

    // "HTTP/1.1 200 OK" with Content-Length; each extra header is a full line without CR LF.
    [[nodiscard]] static Reply ok(std::string body, const std::vector<std::string>& extraHeaders = {});
    [[nodiscard]] static Reply status(int code, std::string_view reason, std::string body = {},
                                      const std::vector<std::string>& extraHeaders = {});
    [[nodiscard]] static Reply redirect(int code, std::string_view location,
                                        const std::vector<std::string>& extraHeaders = {});
    // Exactly these bytes, then the connection is closed.
    [[nodiscard]] static Reply raw(std::string bytes);
};

using RequestHandler = std::function<Reply(const RecordedRequest&)>;

struct TlsServerSettings {
    int minimumVersion = 0; // an OpenSSL version constant (TLS1_VERSION ...); 0: the library's default
    int maximumVersion = 0;
};

// An HTTP server on a loopback address for tests, serving each connection on a thread of its own.
// Replies are scripted per path (the target without its query); unknown paths get "HTTP/1.1 404
// Not Found". Every request is recorded. With TLS settings it speaks HTTPS with a self-signed
// certificate made at start. Stops (and joins its threads) on destruction; every wait is bounded.
class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(std::string address = "127.0.0.1", std::uint16_t port = 0,
                                std::optional<TlsServerSettings> tls = std::nullopt);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    [[nodiscard]] std::uint16_t port() const { return port_; }
    // "http://127.0.0.1:PORT" (or https) followed by `path`.
    [[nodiscard]] std::string url(std::string_view path = "/") const;

    void on(std::string path, Reply reply);
    void on(std::string path, RequestHandler handler);

    [[nodiscard]] std::vector<RecordedRequest> requests() const;
    [[nodiscard]] int connectionCount() const { return connections_.load(); }
    // Waits (at most `timeout`) until the server is done with that connection: the client closed
    // it, or the server closed it after its reply. False when it is still open.
    [[nodiscard]] bool waitUntilConnectionEnds(int ordinal, std::chrono::milliseconds timeout) const;

    void stop();

private:
    void acceptLoop();
    void serve(int fd, int ordinal);
    [[nodiscard]] Reply replyFor(const RecordedRequest& request) const;

    std::string address_;
    std::uint16_t port_ = 0;
    int listener_ = -1;
    std::unique_ptr<ServerTlsContext> tls_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::map<std::string, RequestHandler> handlers_;
    std::vector<RecordedRequest> requests_;
    std::vector<int> endedConnections_;
    std::vector<std::thread> connectionThreads_;
    std::thread acceptThread_;
};

// A loopback port on which nothing listens: connecting to it is refused.
[[nodiscard]] std::uint16_t unusedLoopbackPort();

// A loopback listener that never accepts and whose queue is already full, so that a further
// connect stays unanswered until the client gives up.
class UnansweredListener {
public:
    UnansweredListener();
    ~UnansweredListener();
    UnansweredListener(const UnansweredListener&) = delete;
    UnansweredListener& operator=(const UnansweredListener&) = delete;

    [[nodiscard]] std::uint16_t port() const { return port_; }

private:
    int listener_ = -1;
    std::vector<int> fillers_;
    std::uint16_t port_ = 0;
};

} // namespace velkaro::testing
