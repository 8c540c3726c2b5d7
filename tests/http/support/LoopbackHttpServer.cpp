#include "LoopbackHttpServer.h"

#include "ServerSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <stdexcept>

namespace velkaro::testing {

namespace {

constexpr size_t maximumRequestHeadBytes = size_t(1) << 20;

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string statusHead(int code, std::string_view reason, size_t length,
                       const std::vector<std::string>& extra) {
    std::string head = "HTTP/1.1 " + std::to_string(code) + " " + std::string(reason) + "\r\n";
    for (const std::string& line : extra)
        head += line + "\r\n";
    head += "Content-Length: " + std::to_string(length) + "\r\n\r\n";
    return head;
}

sockaddr_in loopbackAddress(const std::string& address, std::uint16_t port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &socketAddress.sin_addr) != 1)
        throw std::runtime_error("test server: not an IPv4 address: " + address);
    return socketAddress;
}

std::uint16_t boundPort(int fd) {
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    return ntohs(bound.sin_port);
}

// Parses the head (up to the blank line) into `request`; false when it is no HTTP request.
bool parseHead(std::string_view head, RecordedRequest& request) {
    const size_t lineEnd = head.find("\r\n");
    request.requestLine = std::string(head.substr(0, lineEnd));
    const size_t firstSpace = request.requestLine.find(' ');
    const size_t lastSpace = request.requestLine.rfind(' ');
    if (firstSpace == std::string::npos || lastSpace == firstSpace)
        return false;
    request.method = request.requestLine.substr(0, firstSpace);
    request.target = request.requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    request.version = request.requestLine.substr(lastSpace + 1);
    request.path = request.target.substr(0, request.target.find('?'));
    size_t position = lineEnd == std::string_view::npos ? head.size() : lineEnd + 2;
    while (position < head.size()) {
        size_t end = head.find("\r\n", position);
        if (end == std::string_view::npos)
            end = head.size();
        const std::string_view line = head.substr(position, end - position);
        const size_t colon = line.find(':');
        if (colon != std::string_view::npos)
            request.headers.emplace_back(std::string(trim(line.substr(0, colon))),
                                         std::string(trim(line.substr(colon + 1))));
        position = end + 2;
    }
    return true;
}

class SocketReplyWriter final : public ReplyWriter {
public:
    SocketReplyWriter(ServerSocket& socket, const std::atomic<bool>& stopping)
        : socket_(socket), stopping_(stopping) {}

    bool write(std::string_view bytes) override { return !stopping_ && socket_.write(bytes); }

    bool pause(std::chrono::milliseconds duration) override {
        const auto until = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < until) {
            if (stopping_)
                return false;
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
                std::chrono::milliseconds(10), until - std::chrono::steady_clock::now()));
        }
        return !stopping_;
    }

private:
    ServerSocket& socket_;
    const std::atomic<bool>& stopping_;
};

} // namespace

std::optional<std::string> RecordedRequest::header(std::string_view name) const {
    for (const auto& [headerName, value] : headers) {
        if (sameName(headerName, name))
            return value;
    }
    return std::nullopt;
}

size_t RecordedRequest::headerCount(std::string_view name) const {
    size_t count = 0;
    for (const auto& entry : headers)
        count += sameName(entry.first, name) ? 1 : 0;
    return count;
}

Reply Reply::ok(std::string body, const std::vector<std::string>& extraHeaders) {
    return status(200, "OK", std::move(body), extraHeaders);
}

Reply Reply::status(int code, std::string_view reason, std::string body,
                    const std::vector<std::string>& extraHeaders) {
    Reply reply;
    reply.bytes = statusHead(code, reason, body.size(), extraHeaders) + body;
    return reply;
}

Reply Reply::redirect(int code, std::string_view location, const std::vector<std::string>& extraHeaders) {
    std::vector<std::string> headers = extraHeaders;
    headers.push_back("Location: " + std::string(location));
    const std::string reason = code == 301 ? "Moved Permanently" : code == 303 ? "See Other" : "Found";
    return status(code, reason, "moved", headers);
}

Reply Reply::raw(std::string bytes) {
    Reply reply;
    reply.bytes = std::move(bytes);
    reply.after = AfterReply::Close;
    return reply;
}

LoopbackHttpServer::LoopbackHttpServer(std::string address, std::uint16_t port,
                                       std::optional<TlsServerSettings> tls)
    : address_(std::move(address)) {
    std::signal(SIGPIPE, SIG_IGN); // a client that hangs up must not end the test run
    if (tls)
        tls_ = std::make_unique<ServerTlsContext>(tls->minimumVersion, tls->maximumVersion);
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    const sockaddr_in socketAddress = loopbackAddress(address_, port);
    if (bind(listener_, reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress) != 0 ||
        listen(listener_, 64) != 0) {
        close(listener_);
        throw std::runtime_error("test server: cannot listen on " + address_ + ":" + std::to_string(port));
    }
    port_ = boundPort(listener_);
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stop();
}

void LoopbackHttpServer::stop() {
    if (stopping_.exchange(true))
        return;
    if (acceptThread_.joinable())
        acceptThread_.join();
    close(listener_);
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        threads.swap(connectionThreads_);
    }
    for (std::thread& thread : threads)
        thread.join();
}

std::string LoopbackHttpServer::url(std::string_view path) const {
    return std::string(tls_ ? "https://" : "http://") + address_ + ":" + std::to_string(port_) +
           std::string(path);
}

void LoopbackHttpServer::on(std::string path, Reply reply) {
    on(std::move(path), [reply](const RecordedRequest&) { return reply; });
}

void LoopbackHttpServer::on(std::string path, RequestHandler handler) {
    std::lock_guard lock(mutex_);
    handlers_[std::move(path)] = std::move(handler);
}

std::vector<RecordedRequest> LoopbackHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

Reply LoopbackHttpServer::replyFor(const RecordedRequest& request) const {
    RequestHandler handler;
    {
        std::lock_guard lock(mutex_);
        const auto found = handlers_.find(request.path);
        if (found != handlers_.end())
            handler = found->second;
    }
    if (!handler)
        return Reply::status(404, "Not Found", "no such path");
    try {
        return handler(request);
    } catch (const std::exception& error) {
        return Reply::status(500, "Internal Server Error", error.what());
    }
}

void LoopbackHttpServer::acceptLoop() {
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0)
            continue;
        const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        const int ordinal = ++connections_;
        std::lock_guard lock(mutex_);
        connectionThreads_.emplace_back([this, fd, ordinal] { serve(fd, ordinal); });
    }
}

bool LoopbackHttpServer::waitUntilConnectionEnds(int ordinal, std::chrono::milliseconds timeout) const {
    const auto until = std::chrono::steady_clock::now() + timeout;
    do {
        {
            std::lock_guard lock(mutex_);
            if (std::find(endedConnections_.begin(), endedConnections_.end(), ordinal) !=
                endedConnections_.end())
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < until);
    return false;
}

void LoopbackHttpServer::serve(int fd, int ordinal) {
    struct EndMark {
        LoopbackHttpServer& server;
        int ordinal;
        ~EndMark() {
            std::lock_guard lock(server.mutex_);
            server.endedConnections_.push_back(ordinal);
        }
    } endMark{*this, ordinal};
    std::unique_ptr<ServerSocket> socket =
        tls_ ? tls_->accept(fd, stopping_) : plainServerSocket(fd, stopping_);
    if (!socket)
        return;
    std::string buffer;
    while (!stopping_) {
        size_t headEnd;
        while ((headEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
            if (buffer.size() > maximumRequestHeadBytes || !socket->read(buffer))
                return;
        }
        RecordedRequest request;
        if (!parseHead(std::string_view(buffer).substr(0, headEnd), request))
            return;
        size_t bodyLength = 0;
        if (const auto length = request.header("Content-Length")) {
            for (char c : *length) {
                if (c < '0' || c > '9' || bodyLength > maximumRequestHeadBytes * 1024)
                    return;
                bodyLength = bodyLength * 10 + size_t(c - '0');
            }
        }
        const size_t requestEnd = headEnd + 4 + bodyLength;
        while (buffer.size() < requestEnd) {
            if (!socket->read(buffer))
                return;
        }
        request.raw = buffer.substr(0, requestEnd);
        request.body = buffer.substr(headEnd + 4, bodyLength);
        request.connection = ordinal;
        request.tlsVersion = socket->tlsVersion();
        buffer.erase(0, requestEnd);
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }

        const Reply reply = replyFor(request);
        SocketReplyWriter writer(*socket, stopping_);
        if (reply.delay.count() > 0 && !writer.pause(reply.delay))
            return;
        if (!socket->write(reply.bytes))
            return;
        if (reply.writer)
            reply.writer(writer);
        const auto connectionHeader = request.header("Connection");
        const bool keepAlive = request.version == "HTTP/1.1"
                                   ? !(connectionHeader && sameName(*connectionHeader, "close"))
                                   : connectionHeader && sameName(*connectionHeader, "keep-alive");
        if (reply.after == AfterReply::Close || !keepAlive)
            return;
    }
}

std::uint16_t unusedLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in socketAddress = loopbackAddress("127.0.0.1", 0);
    bind(fd, reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress);
    const std::uint16_t port = boundPort(fd);
    close(fd); // bound but never listening: connects are refused
    return port;
}

UnansweredListener::UnansweredListener() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in socketAddress = loopbackAddress("127.0.0.1", 0);
    if (bind(listener_, reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress) != 0 ||
        listen(listener_, 0) != 0)
        throw std::runtime_error("test listener: cannot listen");
    port_ = boundPort(listener_);
    const sockaddr_in target = loopbackAddress("127.0.0.1", port_);
    // A backlog of 0 still queues one connection; fill the queue so further handshakes go unanswered.
    for (int i = 0; i < 2; ++i) {
        const int filler = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        connect(filler, reinterpret_cast<const sockaddr*>(&target), sizeof target);
        fillers_.push_back(filler);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

UnansweredListener::~UnansweredListener() {
    for (int filler : fillers_)
        close(filler);
    close(listener_);
}

} // namespace velkaro::testing
