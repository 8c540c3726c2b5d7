#include "ServerSocket.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cerrno>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace velkaro::testing {

namespace {

void setSocketTimeouts(int fd) {
    timeval timeout{0, 50000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
}

bool isRetry(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

class PlainSocket final : public ServerSocket {
public:
    PlainSocket(int fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {
        setSocketTimeouts(fd_);
    }
    ~PlainSocket() override { close(fd_); }

    bool read(std::string& into) override {
        char buffer[65536];
        while (!stopping_) {
            const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
            if (got > 0) {
                into.append(buffer, static_cast<size_t>(got));
                return true;
            }
            if (got == 0 || !isRetry(errno))
                return false;
        }
        return false;
    }

    bool write(std::string_view bytes) override {
        while (!bytes.empty()) {
            if (stopping_)
                return false;
            const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent > 0)
                bytes.remove_prefix(static_cast<size_t>(sent));
            else if (sent < 0 && !isRetry(errno))
                return false;
        }
        return true;
    }

private:
    int fd_;
    const std::atomic<bool>& stopping_;
};

class TlsSocket final : public ServerSocket {
public:
    TlsSocket(SSL* ssl, int fd, const std::atomic<bool>& stopping)
        : ssl_(ssl), fd_(fd), stopping_(stopping) {}
    ~TlsSocket() override {
        SSL_shutdown(ssl_);
        SSL_free(ssl_);
        close(fd_);
    }

    bool read(std::string& into) override {
        char buffer[65536];
        while (!stopping_) {
            const int got = SSL_read(ssl_, buffer, sizeof buffer);
            if (got > 0) {
                into.append(buffer, static_cast<size_t>(got));
                return true;
            }
            const int error = SSL_get_error(ssl_, got);
            if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE)
                return false;
        }
        return false;
    }

    bool write(std::string_view bytes) override {
        while (!bytes.empty()) {
            if (stopping_)
                return false;
            const int chunk = static_cast<int>(std::min<size_t>(bytes.size(), 1 << 20));
            const int sent = SSL_write(ssl_, bytes.data(), chunk);
            if (sent > 0) {
                bytes.remove_prefix(static_cast<size_t>(sent));
                continue;
            }
            const int error = SSL_get_error(ssl_, sent);
            if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE)
                return false;
        }
        return true;
    }

    std::string tlsVersion() const override { return SSL_get_version(ssl_); }

private:
    SSL* ssl_;
    int fd_;
    const std::atomic<bool>& stopping_;
};

void addNameEntry(X509_NAME* name, const char* field, const char* value) {
    X509_NAME_add_entry_by_txt(name, field, MBSTRING_ASC, reinterpret_cast<const unsigned char*>(value), -1,
                               -1, 0);
}

} // namespace

std::unique_ptr<ServerSocket> plainServerSocket(int fd, const std::atomic<bool>& stopping) {
    return std::make_unique<PlainSocket>(fd, stopping);
}

ServerTlsContext::ServerTlsContext(int minimumVersion, int maximumVersion) {
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* certificate = X509_new();
    if (context == nullptr || key == nullptr || certificate == nullptr)
        throw std::runtime_error("test TLS context: out of resources");

    X509_set_version(certificate, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 86400);
    X509_set_pubkey(certificate, key);
    X509_NAME* name = X509_get_subject_name(certificate);
    addNameEntry(name, "O", "Velkaro test server");
    addNameEntry(name, "CN", "127.0.0.1");
    X509_set_issuer_name(certificate, name);
    X509V3_CTX extensionContext;
    X509V3_set_ctx_nodb(&extensionContext);
    X509V3_set_ctx(&extensionContext, certificate, certificate, nullptr, nullptr, 0);
    if (X509_EXTENSION* altNames = X509V3_EXT_conf_nid(nullptr, &extensionContext, NID_subject_alt_name,
                                                       "IP:127.0.0.1,DNS:localhost")) {
        X509_add_ext(certificate, altNames, -1);
        X509_EXTENSION_free(altNames);
    }
    X509_sign(certificate, key, EVP_sha256());

    // Level 0 so that the old protocol versions can be offered at all.
    SSL_CTX_set_security_level(context, 0);
    if (minimumVersion != 0)
        SSL_CTX_set_min_proto_version(context, minimumVersion);
    if (maximumVersion != 0)
        SSL_CTX_set_max_proto_version(context, maximumVersion);
    SSL_CTX_set_cipher_list(context, "DEFAULT:@SECLEVEL=0");
    const bool ready =
        SSL_CTX_use_certificate(context, certificate) == 1 && SSL_CTX_use_PrivateKey(context, key) == 1;
    X509_free(certificate);
    EVP_PKEY_free(key);
    if (!ready) {
        SSL_CTX_free(context);
        throw std::runtime_error("test TLS context: certificate refused");
    }
    SSL_CTX_set_mode(context, SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    context_ = context;
}

ServerTlsContext::~ServerTlsContext() {
    SSL_CTX_free(static_cast<SSL_CTX*>(context_));
}

std::unique_ptr<ServerSocket> ServerTlsContext::accept(int fd, const std::atomic<bool>& stopping) {
    setSocketTimeouts(fd);
    SSL* ssl = SSL_new(static_cast<SSL_CTX*>(context_));
    if (ssl == nullptr) {
        close(fd);
        return nullptr;
    }
    SSL_set_fd(ssl, fd);
    // The handshake gets at most about 10 s.
    for (int attempt = 0; attempt < 200 && !stopping; ++attempt) {
        const int result = SSL_accept(ssl);
        if (result == 1)
            return std::make_unique<TlsSocket>(ssl, fd, stopping);
        const int error = SSL_get_error(ssl, result);
        if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE)
            break;
    }
    ERR_clear_error();
    SSL_free(ssl);
    close(fd);
    return nullptr;
}

} // namespace velkaro::testing
