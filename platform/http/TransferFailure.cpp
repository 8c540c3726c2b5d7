#include "http/TransferFailure.h"

#include "http/HttpError.h"

#include <cerrno>

namespace velkaro::http::detail {

namespace {

std::string server(const RequestAddress& address) {
    return address.host + " en el puerto " + address.port;
}

std::string connectReason(long osErrno) {
    switch (osErrno) {
    case ECONNREFUSED:
        return "conexión rechazada";
    case ENETUNREACH:
        return "la red no está accesible";
    case EHOSTUNREACH:
        return "el equipo no está accesible";
    case ECONNRESET:
        return "la conexión fue cortada por el servidor";
    case ETIMEDOUT:
        return "el servidor no contesta";
    case EADDRNOTAVAIL:
        return "la dirección no está disponible";
    case EACCES:
    case EPERM:
        return "el sistema no permite la conexión";
    case 0:
        return "no se pudo establecer la conexión";
    default:
        return "error del sistema " + std::to_string(osErrno);
    }
}

} // namespace

void throwTransferFailure(CURLcode code, long osErrno, const RequestAddress& address) {
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        // The only timeout handed to libcurl is the connect timeout.
        throw HttpError(HttpFailure::ConnectTimeout, "Connect timed out.");
    case CURLE_COULDNT_RESOLVE_HOST:
        throw HttpError(HttpFailure::HostNotFound, "No se pudo conectar con " + server(address) +
                                                       ": no se encontró el servidor \"" + address.host +
                                                       "\".");
    case CURLE_COULDNT_CONNECT:
        throw HttpError(HttpFailure::ConnectFailed,
                        "No se pudo conectar con " + server(address) + ": " + connectReason(osErrno) + ".");
    case CURLE_GOT_NOTHING:
        throw HttpError(HttpFailure::ConnectionClosed,
                        "El servidor " + server(address) + " cerró la conexión sin enviar respuesta.");
    case CURLE_PARTIAL_FILE:
        throw HttpError(HttpFailure::ConnectionClosed,
                        "El servidor " + server(address) +
                            " cerró la conexión antes de terminar la respuesta.");
    case CURLE_RECV_ERROR: // a cut connection, or a chunked body that cannot be read
        throw HttpError(HttpFailure::ConnectionClosed,
                        "Se interrumpió la respuesta de " + server(address) +
                            ": la conexión se cortó o los datos llegaron dañados.");
    case CURLE_SEND_ERROR:
        throw HttpError(HttpFailure::ConnectionClosed,
                        "Se cortó la conexión con " + server(address) + " mientras se enviaba la solicitud.");
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UNSUPPORTED_PROTOCOL: // an HTTP/0.9 reply, i.e. no status line at all
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_RANGE_ERROR:
        throw HttpError(HttpFailure::InvalidReply,
                        "El servidor " + server(address) + " envió una respuesta HTTP no válida.");
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
        throw HttpError(HttpFailure::TlsFailure,
                        "No se pudo establecer la conexión segura con " + server(address) + ".");
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
        throw HttpError(HttpFailure::TlsFailure, "Could not load SSL library.");
    case CURLE_URL_MALFORMAT:
        throw HttpError(HttpFailure::InvalidAddress, "Dirección no válida: \"" + address.url + "\".");
    case CURLE_WRITE_ERROR:
        throw HttpError(HttpFailure::OutputFailed,
                        "No se pudo guardar la respuesta de " + server(address) + ".");
    default:
        throw HttpError(HttpFailure::TransferFailed, "Falló la transferencia con " + server(address) +
                                                         " (error " + std::to_string(static_cast<int>(code)) +
                                                         " de la biblioteca de red).");
    }
}

void throwReadTimeout(const RequestAddress& address, std::chrono::milliseconds silence) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(silence).count();
    const std::string duration = seconds >= 1 ? std::to_string(seconds) + " segundos"
                                              : std::to_string(silence.count()) + " milisegundos";
    throw HttpError(HttpFailure::ReadTimeout, "El servidor " + server(address) + " no envió datos durante " +
                                                  duration + "; se canceló la solicitud.");
}

void throwOversizedHeaders(const RequestAddress& address) {
    throw HttpError(HttpFailure::InvalidReply,
                    "El servidor " + server(address) + " envió cabeceras de respuesta demasiado largas.");
}

} // namespace velkaro::http::detail
