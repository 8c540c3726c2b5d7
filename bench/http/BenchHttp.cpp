// Prints the loopback throughput of the HTTP client for a large body, into a string and into a
// stream, with no idle hook and with the Qt event-processing hook, plus the process's peak memory.
//   bench_http [megabytes]   (default 100)
#include "LoopbackHttpServer.h"
#include "http/QtEventProcessing.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <streambuf>
#include <sys/resource.h>

namespace {

using velkaro::testing::Reply;
using velkaro::testing::ReplyWriter;

class CountingBuffer : public std::streambuf {
public:
    std::uint64_t count = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize size) override {
        count += static_cast<std::uint64_t>(size);
        return size;
    }
    int_type overflow(int_type c) override {
        ++count;
        return traits_type::not_eof(c);
    }
};

long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100;
    const std::uint64_t size = megabytes * 1024 * 1024;

    velkaro::testing::LoopbackHttpServer server;
    Reply big;
    big.bytes = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n";
    big.writer = [size](ReplyWriter& writer) {
        const std::string block(256 * 1024, 'x');
        for (std::uint64_t sent = 0; sent < size;) {
            const std::uint64_t part = std::min<std::uint64_t>(block.size(), size - sent);
            if (!writer.write(std::string_view(block).substr(0, part)))
                return;
            sent += part;
        }
    };
    server.on("/big", big);
    const std::string url = server.url("/big");

    // A timer keeps the Qt event queue busy as a real window would.
    int ticks = 0;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();

    auto run = [&](const char* label, velkaro::http::HttpClient::IdleHook hook, bool intoStream) {
        velkaro::http::HttpClient client;
        client.setIdleHook(hook);
        std::int64_t workEvents = 0;
        client.setWorkHandler([&](velkaro::http::TransferDirection, std::int64_t) {
            ++workEvents;
            if (hook)
                hook();
        });
        ticks = 0;
        const auto start = std::chrono::steady_clock::now();
        std::uint64_t received = 0;
        if (intoStream) {
            CountingBuffer buffer;
            std::ostream out(&buffer);
            client.get(url, out);
            received = buffer.count;
        } else {
            received = client.get(url).size();
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf(
            "%-28s %8.1f MB/s  %6.3f s  %llu bytes  %lld work events  %d timer ticks  peak RSS %ld MB\n",
            label, static_cast<double>(received) / (1024.0 * 1024.0) / seconds, seconds,
            static_cast<unsigned long long>(received), static_cast<long long>(workEvents), ticks,
            peakMegabytes());
    };

    std::printf("loopback download of %llu MB\n", static_cast<unsigned long long>(megabytes));
    run("stream, no hook", nullptr, true);
    run("stream, Qt events", velkaro::http::qtEventProcessing(), true);
    run("string, no hook", nullptr, false);
    run("string, Qt events", velkaro::http::qtEventProcessing(), false);
    return 0;
}
