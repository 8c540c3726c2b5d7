// How requests fail: status lines, connection failures, timeouts, refused addresses, bad replies.
#include "LoopbackHttpServer.h"
#include "http/HttpClient.h"

#include <gtest/gtest.h>

namespace velkaro::http {
namespace {

using testing::LoopbackHttpServer;
using testing::Reply;
using testing::ReplyWriter;

// Runs the request and returns the error it raised; fails the test when it succeeded.
template <typename Request> HttpError failureOf(Request&& request) {
    try {
        request();
    } catch (const HttpError& error) {
        return error;
    }
    ADD_FAILURE() << "the request succeeded";
    return HttpError(HttpFailure::TransferFailed, "");
}

TEST(HttpClientFailure, StatusOutsideTwoHundredsGivesTheStatusLineAsSent) {
    struct Case {
        const char* name;
        Reply reply;
        int code;
        const char* statusLine;
    };
    const Case cases[] = {
        {"not-found", Reply::status(404, "Not Found", "<html>missing</html>"), 404, "HTTP/1.1 404 Not Found"},
        {"server-error", Reply::status(500, "Internal Server Error"), 500,
         "HTTP/1.1 500 Internal Server Error"},
        {"own-wording", Reply::raw("HTTP/1.0 503 Vuelva  luego \r\nContent-Length: 0\r\n\r\n"), 503,
         "HTTP/1.0 503 Vuelva  luego "},
        {"redirect-without-location", Reply::status(302, "Found"), 302, "HTTP/1.1 302 Found"},
        {"not-modified", Reply::status(304, "Not Modified"), 304, "HTTP/1.1 304 Not Modified"},
        {"after-interim",
         Reply::raw("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"), 404,
         "HTTP/1.1 404 Not Found"},
    };
    LoopbackHttpServer server;
    for (const Case& c : cases)
        server.on(std::string("/") + c.name, c.reply);
    server.on("/moved", Reply::redirect(302, "/not-found"));
    HttpClient client;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            (void)client.get(server.url(std::string("/") + c.name));
            ADD_FAILURE() << "no error";
        } catch (const HttpStatusError& error) {
            EXPECT_EQ(std::string(error.what()), c.statusLine);
            EXPECT_EQ(error.statusCode(), c.code);
        }
    }
    // After redirects, the final reply decides.
    EXPECT_EQ(std::string(failureOf([&] { (void)client.get(server.url("/moved")); }).what()),
              "HTTP/1.1 404 Not Found");
    // An error reply's body never reaches the caller's stream.
    std::ostringstream out;
    EXPECT_THROW(client.get(server.url("/not-found"), out), HttpStatusError);
    EXPECT_EQ(out.str(), "");
}

TEST(HttpClientFailure, RefusedConnectionNamesHostPortAndReason) {
    const auto port = std::to_string(testing::unusedLoopbackPort());
    HttpClient client;
    const HttpError error = failureOf([&] { (void)client.get("http://127.0.0.1:" + port + "/fr3.php"); });
    EXPECT_EQ(error.failure(), HttpFailure::ConnectFailed);
    EXPECT_EQ(std::string(error.what()),
              "No se pudo conectar con 127.0.0.1 en el puerto " + port + ": conexión rechazada.");
}

TEST(HttpClientFailure, UnansweredConnectTimesOutWhileTheIdleHookKeepsRunning) {
    testing::UnansweredListener listener;
    HttpClient client;
    client.setConnectTimeout(std::chrono::milliseconds(400));
    int idleCalls = 0;
    client.setIdleHook([&] { ++idleCalls; });
    const HttpError error =
        failureOf([&] { (void)client.get("http://127.0.0.1:" + std::to_string(listener.port()) + "/"); });
    EXPECT_EQ(error.failure(), HttpFailure::ConnectTimeout);
    EXPECT_EQ(std::string(error.what()), "Connect timed out.");
    EXPECT_GE(idleCalls, 5); // 400 ms of waiting in polls of at most 20 ms
}

TEST(HttpClientFailure, SilentServerHitsTheReadTimeoutButASlowSteadyOneDoesNot) {
    LoopbackHttpServer server;
    Reply silent;
    silent.writer = [](ReplyWriter& writer) { writer.pause(std::chrono::seconds(20)); };
    server.on("/silent", silent);
    Reply trickle;
    trickle.bytes = "HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\n";
    trickle.writer = [](ReplyWriter& writer) {
        for (char c : std::string("trickled")) {
            if (!writer.pause(std::chrono::milliseconds(100)) || !writer.write(std::string(1, c)))
                return;
        }
    };
    server.on("/trickle", trickle);

    HttpClient client;
    client.setReadTimeout(std::chrono::milliseconds(800));
    EXPECT_EQ(client.get(server.url("/trickle")), "trickled"); // longer than the timeout, never that silent
    const HttpError error = failureOf([&] { (void)client.get(server.url("/silent")); });
    EXPECT_EQ(error.failure(), HttpFailure::ReadTimeout);
    EXPECT_EQ(std::string(error.what()),
              "El servidor 127.0.0.1 en el puerto " + std::to_string(server.port()) +
                  " no envió datos durante 800 milisegundos; se canceló la solicitud.");
}

TEST(HttpClientFailure, OnlyHttpAndHttpsAddressesAreServed) {
    struct Case {
        const char* address;
        HttpFailure failure;
    };
    const Case cases[] = {
        {"qlx3://127.0.0.1/app/fr3.php?p=1", HttpFailure::UnsupportedScheme},
        {"QLX3://127.0.0.1/app/fr3.php?p=1", HttpFailure::UnsupportedScheme},
        {"ftp://127.0.0.1/file", HttpFailure::UnsupportedScheme},
        {"file:///etc/passwd", HttpFailure::UnsupportedScheme},
        {" http://127.0.0.1/x", HttpFailure::UnsupportedScheme},
        {"", HttpFailure::InvalidAddress},
        {"127.0.0.1/app/fr3.php", HttpFailure::InvalidAddress},
        {"http://", HttpFailure::InvalidAddress},
        {"http://127.0.0.1:99999/", HttpFailure::InvalidAddress},
        {"http://[::1/", HttpFailure::InvalidAddress},
    };
    HttpClient client;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const HttpError error = failureOf([&] { (void)client.get(c.address); });
        EXPECT_EQ(error.failure(), c.failure);
        EXPECT_NE(std::string(error.what()).find("\""), std::string::npos) << "the address is quoted";
    }
    EXPECT_EQ(std::string(failureOf([&] { (void)client.get("qlx3://server/fr3.php"); }).what()),
              "Protocolo no admitido en la dirección \"qlx3://server/fr3.php\": solo se atienden direcciones "
              "http y https.");
}

TEST(HttpClientFailure, HttpsIsRefusedWhileNoTlsTransportIsAttachedAlsoAfterARedirect) {
    LoopbackHttpServer server;
    server.on("/to-tls",
              Reply::redirect(302, "https://127.0.0.1:" + std::to_string(server.port()) + "/secure"));
    HttpClient client;
    ASSERT_EQ(client.tlsTransport(), nullptr);
    for (const std::string& address :
         {server.url("/to-tls"), "https://127.0.0.1:" + std::to_string(server.port()) + "/x",
          "HTTPS://127.0.0.1:" + std::to_string(server.port()) + "/x"}) {
        SCOPED_TRACE(address);
        const HttpError error = failureOf([&] { (void)client.get(address); });
        EXPECT_EQ(error.failure(), HttpFailure::TlsNotAttached);
        EXPECT_NE(std::string(error.what()).find("el transporte TLS no está activado"), std::string::npos);
    }
    // Only the plain request reached the server.
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.connectionCount(), 1);
}

TEST(HttpClientFailure, BrokenRepliesGiveAClearErrorNeverACrashOrHang) {
    struct Case {
        const char* name;
        std::string reply;
        HttpFailure failure;
    };
    const Case cases[] = {
        {"closed-mid-body", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly part",
         HttpFailure::ConnectionClosed},
        {"lying-length", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999\r\n\r\nshort",
         HttpFailure::ConnectionClosed},
        {"closed-mid-chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc",
         HttpFailure::ConnectionClosed},
        {"closed-mid-headers", "HTTP/1.1 200 OK\r\nContent-Le", HttpFailure::ConnectionClosed},
        {"closed-without-reply", "", HttpFailure::ConnectionClosed},
        {"not-http", "hello there\r\n\r\n", HttpFailure::InvalidReply},
        {"bad-status-code", "HTTP/1.1 2x0 OK\r\nContent-Length: 0\r\n\r\n", HttpFailure::InvalidReply},
        // libcurl reports an unreadable chunk like a cut connection.
        {"bad-chunk-size", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nabc\r\n0\r\n\r\n",
         HttpFailure::ConnectionClosed},
        {"huge-header", "HTTP/1.1 200 OK\r\nX-Long: " + std::string(300000, 'a') + "\r\n\r\n",
         HttpFailure::InvalidReply},
    };
    LoopbackHttpServer server;
    for (const Case& c : cases)
        server.on(std::string("/") + c.name, Reply::raw(c.reply));
    HttpClient client;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HttpError error = failureOf([&] { (void)client.get(server.url(std::string("/") + c.name)); });
        EXPECT_EQ(error.failure(), c.failure) << error.what();
        EXPECT_NE(std::string(error.what()).find("127.0.0.1 en el puerto " + std::to_string(server.port())),
                  std::string::npos)
            << error.what();
    }
}

TEST(HttpClientFailure, EndlessHeadersAreCutOff) {
    LoopbackHttpServer server;
    Reply endless;
    endless.bytes = "HTTP/1.1 200 OK\r\n";
    endless.writer = [](ReplyWriter& writer) {
        const std::string line = "X-Again: " + std::string(1000, 'h') + "\r\n";
        for (int i = 0; i < 20000 && writer.write(line); ++i) {
        }
    };
    server.on("/endless", endless);
    HttpClient client;
    const HttpError error = failureOf([&] { (void)client.get(server.url("/endless")); });
    EXPECT_EQ(error.failure(), HttpFailure::InvalidReply) << error.what();
}

TEST(HttpClientFailure, StreamThatRefusesTheBodyFailsTheRequest) {
    LoopbackHttpServer server;
    server.on("/a", Reply::ok("body"));
    HttpClient client;
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(failureOf([&] { client.get(server.url("/a"), out); }).failure(), HttpFailure::OutputFailed);
    out.clear();
    out.exceptions(std::ios::badbit);
    client.get(server.url("/a"), out); // an exception mask alone is no failure
    EXPECT_EQ(out.str(), "body");
}

} // namespace
} // namespace velkaro::http
