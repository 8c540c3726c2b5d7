// https through the attached TLS transport, against local servers with a self-signed certificate.
#include "LoopbackHttpServer.h"
#include "http/HttpClient.h"

#include <gtest/gtest.h>
#include <openssl/ssl.h>

namespace velkaro::http {
namespace {

using testing::LoopbackHttpServer;
using testing::Reply;
using testing::TlsServerSettings;

TEST(HttpClientTls, AttachedTransportNegotiatesTheHighestVersionAndAcceptsAnUnverifiedCertificate) {
    struct Case {
        const char* name;
        TlsServerSettings server;
        const char* negotiated;
    };
    const Case cases[] = {
        {"modern", {0, 0}, "TLSv1.3"},
        {"tls12-only", {TLS1_2_VERSION, TLS1_2_VERSION}, "TLSv1.2"},
        {"tls10-only", {TLS1_VERSION, TLS1_VERSION}, "TLSv1"},
    };
    const TlsTransport transport; // TLS 1.0 and up, certificate not checked
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server("127.0.0.1", 0, c.server);
        server.on("/img/logo.png",
                  Reply::ok(std::string("\x89PNG\r\n\x1A\n\0", 9), {"Set-Cookie: s=1; Path=/"}));
        server.on("/next", Reply::ok("next"));
        HttpClient client;
        client.setTlsTransport(&transport);
        EXPECT_EQ(client.get(server.url("/img/logo.png")), std::string("\x89PNG\r\n\x1A\n\0", 9));
        EXPECT_EQ(client.get(server.url("/next")), "next");
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[0].tlsVersion, c.negotiated);
        EXPECT_EQ(requests[0].requestLine, "GET /img/logo.png HTTP/1.1");
        EXPECT_EQ(requests[0].header("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
        EXPECT_EQ(requests[1].header("Cookie"), "s=1");
    }
}

TEST(HttpClientTls, PlainAddressesStayPlainWhileAttachedAndHttpsIsRefusedAgainOnceDetached) {
    LoopbackHttpServer secure("127.0.0.1", 0, TlsServerSettings{});
    secure.on("/a", Reply::ok("secure"));
    LoopbackHttpServer plain;
    plain.on("/orvane/savefr3.php", Reply::ok("OK"));
    const TlsTransport transport;
    HttpClient client;
    client.setTlsTransport(&transport);
    EXPECT_EQ(client.get(secure.url("/a")), "secure");
    MultipartFormData form;
    form.addField("f", "x");
    EXPECT_EQ(client.post(plain.url("/orvane/savefr3.php"), form), "OK");
    EXPECT_EQ(plain.requests().at(0).requestLine, "POST /orvane/savefr3.php HTTP/1.0");

    client.setTlsTransport(nullptr);
    try {
        (void)client.get(secure.url("/a"));
        FAIL() << "https served while detached";
    } catch (const HttpError& error) {
        EXPECT_EQ(error.failure(), HttpFailure::TlsNotAttached);
    }
    EXPECT_EQ(secure.requests().size(), 1u);
}

TEST(HttpClientTls, VerifyingTransportRefusesTheSelfSignedCertificate) {
    LoopbackHttpServer server("127.0.0.1", 0, TlsServerSettings{});
    server.on("/a", Reply::ok("secure"));
    const TlsTransport verifying{TlsVersion::Tls1_2, CertificateCheck::Verify};
    HttpClient client;
    client.setTlsTransport(&verifying);
    try {
        (void)client.get(server.url("/a"));
        FAIL() << "self-signed certificate accepted";
    } catch (const HttpError& error) {
        EXPECT_EQ(error.failure(), HttpFailure::TlsFailure);
        EXPECT_EQ(std::string(error.what()),
                  "No se pudo establecer la conexión segura con 127.0.0.1 en el puerto " +
                      std::to_string(server.port()) + ".");
    }
    EXPECT_TRUE(server.requests().empty());
}

} // namespace
} // namespace velkaro::http
