#pragma once

namespace velkaro::http {

enum class TlsVersion { Tls1_0, Tls1_1, Tls1_2, Tls1_3 };

enum class CertificateCheck {
    None,   // any certificate is accepted, also a self-signed or expired one
    Verify, // the chain must lead to a root of the system's store and name the host
};

// The secure transport a client uses for https addresses while it is attached
// (HttpClient::setTlsTransport). The handshake offers every version from minimumVersion up to
// TLS 1.3, so the highest version both sides speak is chosen. Versions below 1.2 are only
// negotiable because the client then lowers the TLS library's security level, which otherwise
// refuses them.
struct TlsTransport {
    TlsVersion minimumVersion = TlsVersion::Tls1_0;
    CertificateCheck certificateCheck = CertificateCheck::None;
};

} // namespace velkaro::http
