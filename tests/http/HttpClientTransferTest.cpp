// Bodies as bytes, large bodies, and what the client does while a transfer runs.
#include "LoopbackHttpServer.h"
#include "http/HttpClient.h"

#include <gtest/gtest.h>

#include <streambuf>

namespace velkaro::http {
namespace {

using testing::LoopbackHttpServer;
using testing::Reply;
using testing::ReplyWriter;

// The byte at `index` of the generated large body: varies within and across blocks.
char patternByte(std::uint64_t index) {
    return static_cast<char>((index * 7 + index / 65536) & 0xFF);
}

// FNV-1a over the bytes, so that a 100 MB body need not be kept twice.
struct Digest {
    std::uint64_t value = 1469598103934665603ULL;
    std::uint64_t size = 0;
    void add(std::string_view bytes) {
        for (char c : bytes) {
            value = (value ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
        size += bytes.size();
    }
};

Digest patternDigest(std::uint64_t size) {
    Digest digest;
    std::string block;
    for (std::uint64_t done = 0; done < size;) {
        block.clear();
        for (std::uint64_t i = 0; i < 65536 && done < size; ++i, ++done)
            block += patternByte(done);
        digest.add(block);
    }
    return digest;
}

Reply largeReply(std::uint64_t size) {
    Reply reply;
    reply.bytes = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n";
    reply.writer = [size](ReplyWriter& writer) {
        std::string block;
        for (std::uint64_t done = 0; done < size;) {
            block.clear();
            for (std::uint64_t i = 0; i < 65536 && done < size; ++i, ++done)
                block += patternByte(done);
            if (!writer.write(block))
                return;
        }
    };
    return reply;
}

class DigestBuffer : public std::streambuf {
public:
    Digest digest;

protected:
    std::streamsize xsputn(const char* data, std::streamsize count) override {
        digest.add(std::string_view(data, static_cast<size_t>(count)));
        return count;
    }
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            const char byte = traits_type::to_char_type(c);
            digest.add(std::string_view(&byte, 1));
        }
        return traits_type::not_eof(c);
    }
};

TEST(HttpClientTransfer, BodiesAreBytesNulAndInvalidUtf8Included) {
    const std::string bytes("\0\x01\xFF\xFE\xC3(\xE2\x82 end\r\n\0\r\n\r\n\xC0\x80", 21);
    LoopbackHttpServer server;
    server.on("/bin", Reply::ok(bytes));
    server.on("/empty", Reply::ok(""));
    server.on("/after-interim",
              Reply::raw("HTTP/1.1 100 Continue\r\nSet-Cookie: early=1\r\n\r\nHTTP/1.1 200 OK\r\n"
                         "Content-Length: " +
                         std::to_string(bytes.size()) + "\r\n\r\n" + bytes));
    server.on("/close-delimited", Reply::raw("HTTP/1.0 200 OK\r\n\r\n" + bytes));
    HttpClient client;
    EXPECT_EQ(client.get(server.url("/bin")), bytes);
    EXPECT_EQ(client.get(server.url("/close-delimited")), bytes);
    EXPECT_EQ(client.get(server.url("/empty")), "");
    EXPECT_EQ(client.get(server.url("/after-interim")), bytes);
    EXPECT_EQ(client.cookies().size(), 0u); // headers of an interim reply are not the reply's
    std::ostringstream out;
    client.get(server.url("/bin"), out);
    EXPECT_EQ(out.str(), bytes);

    server.on("/echo", [](const testing::RecordedRequest& request) { return Reply::ok(request.body); });
    MultipartFormData form;
    form.addField("fr3", bytes);
    EXPECT_EQ(client.post(server.url("/echo"), form), form.body());
}

TEST(HttpClientTransfer, HundredMegabyteBodyArrivesWhole) {
    constexpr std::uint64_t size = 100ULL * 1024 * 1024;
    const Digest expected = patternDigest(size);
    LoopbackHttpServer server;
    server.on("/big", largeReply(size));
    HttpClient client;

    const std::string body = client.get(server.url("/big"));
    Digest received;
    received.add(body);
    EXPECT_EQ(received.size, size);
    EXPECT_EQ(received.value, expected.value);

    DigestBuffer buffer;
    std::ostream out(&buffer);
    client.get(server.url("/big"), out);
    EXPECT_EQ(buffer.digest.size, size);
    EXPECT_EQ(buffer.digest.value, expected.value);
}

TEST(HttpClientTransfer, WorkHandlerReportsBytesMovedInBothDirections) {
    LoopbackHttpServer server;
    server.on("/big", largeReply(3 * 1024 * 1024));
    server.on("/save", Reply::ok("OK"));
    HttpClient client;
    std::vector<std::pair<TransferDirection, std::int64_t>> events;
    client.setWorkHandler(
        [&](TransferDirection direction, std::int64_t count) { events.emplace_back(direction, count); });

    (void)client.get(server.url("/big"));
    ASSERT_GE(events.size(), 2u);
    std::int64_t previous = 0;
    for (const auto& [direction, count] : events) {
        EXPECT_EQ(direction, TransferDirection::Receive);
        EXPECT_GT(count, previous);
        previous = count;
    }
    EXPECT_GT(previous, 3 * 1024 * 1024); // the body and the reply's head

    events.clear();
    MultipartFormData form;
    form.addField("fr3", std::string(200000, 'x'));
    (void)client.post(server.url("/save"), form);
    std::int64_t sent = 0;
    for (const auto& [direction, count] : events) {
        if (direction == TransferDirection::Send)
            sent = count;
    }
    EXPECT_EQ(sent, static_cast<std::int64_t>(form.body().size()));
}

TEST(HttpClientTransfer, RequestStartedFromAHookIsRefusedAndTheFirstGoesOn) {
    LoopbackHttpServer server;
    Reply slow = Reply::ok("first body");
    slow.delay = std::chrono::milliseconds(200);
    server.on("/first", slow);
    server.on("/second", Reply::ok("second body"));
    HttpClient client;
    std::vector<std::string> refusals;
    auto tryAnother = [&] {
        if (!client.busy())
            return;
        try {
            (void)client.get(server.url("/second"));
            refusals.push_back("accepted");
        } catch (const HttpError& error) {
            refusals.push_back(error.failure() == HttpFailure::RequestInProgress ? error.what()
                                                                                 : "other error");
        }
    };
    client.setIdleHook(tryAnother);
    client.setWorkHandler([&](TransferDirection, std::int64_t) {
        tryAnother();
        MultipartFormData form;
        form.addField("f", "x");
        try {
            (void)client.post(server.url("/second"), form);
        } catch (const HttpError& error) {
            refusals.push_back(error.failure() == HttpFailure::RequestInProgress ? "post refused"
                                                                                 : "other error");
        }
    });

    EXPECT_EQ(client.get(server.url("/first")), "first body");
    ASSERT_FALSE(refusals.empty());
    for (const std::string& refusal : refusals) {
        EXPECT_TRUE(refusal == "post refused" ||
                    refusal ==
                        "El cliente HTTP está atendiendo otra solicitud; no se puede iniciar una nueva hasta "
                        "que termine.")
            << refusal;
    }
    EXPECT_FALSE(client.busy());
    ASSERT_EQ(server.requests().size(), 1u);

    client.setIdleHook(nullptr);
    client.setWorkHandler(nullptr);
    EXPECT_EQ(client.get(server.url("/second")), "second body");
}

TEST(HttpClientTransfer, ExceptionFromAHookAbandonsTheRequestAndTheClientStaysUsable) {
    LoopbackHttpServer server;
    Reply slow = Reply::ok("late");
    slow.delay = std::chrono::milliseconds(300);
    server.on("/slow", slow);
    server.on("/fast", Reply::ok("fast"));
    HttpClient client;
    struct Cancelled {};
    client.setIdleHook([] { throw Cancelled{}; });
    EXPECT_THROW((void)client.get(server.url("/slow")), Cancelled);
    EXPECT_FALSE(client.busy());
    client.setIdleHook(nullptr);
    EXPECT_EQ(client.get(server.url("/fast")), "fast");
}

} // namespace
} // namespace velkaro::http
