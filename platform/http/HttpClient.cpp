#include "http/HttpClient.h"

#include "http/CurlSession.h"
#include "http/RequestAddress.h"

#include <algorithm>
#include <ctime>
#include <ostream>

namespace velkaro::http {

using detail::Method;

struct HttpClient::State {
    detail::CurlSession session;
    CookieStore cookies;
    WorkHandler workHandler;
    IdleHook idleHook;
    const TlsTransport* tls = nullptr;
    std::chrono::milliseconds connectTimeout = defaultConnectTimeout;
    std::chrono::milliseconds readTimeout = defaultReadTimeout;
    bool busy = false;

    void perform(const std::string& url, Method method, const MultipartFormData* form,
                 const std::function<void(std::string_view)>& body,
                 const std::function<void(std::int64_t)>& announcedLength = nullptr);
};

namespace {

class BusyMark {
public:
    explicit BusyMark(bool& busy) : busy_(busy) {
        if (busy_)
            throw HttpError(HttpFailure::RequestInProgress,
                            "El cliente HTTP está atendiendo otra solicitud; no se puede iniciar una nueva "
                            "hasta que termine.");
        busy_ = true;
    }
    ~BusyMark() { busy_ = false; }
    BusyMark(const BusyMark&) = delete;
    BusyMark& operator=(const BusyMark&) = delete;

private:
    bool& busy_;
};

bool isRedirect(int statusCode) {
    return statusCode == 301 || statusCode == 302 || statusCode == 303 || statusCode == 307 ||
           statusCode == 308;
}

CookieOrigin originOf(const RequestAddress& address) {
    return CookieOrigin{address.scheme, address.host, address.path};
}

// Growing a large body step by step costs twice its memory traffic; take the announced length at
// its word, up to a bound a lying server cannot abuse.
constexpr std::int64_t largestReservation = std::int64_t(256) << 20;

std::function<void(std::int64_t)> reserveFor(std::string& body) {
    return [&body](std::int64_t length) {
        body.reserve(static_cast<size_t>(std::min(length, largestReservation)));
    };
}

} // namespace

void HttpClient::State::perform(const std::string& url, Method method, const MultipartFormData* form,
                                const std::function<void(std::string_view)>& body,
                                const std::function<void(std::int64_t)>& announcedLength) {
    BusyMark mark(busy);
    RequestAddress address = RequestAddress::prepare(url);
    std::string formBody;
    std::string contentType;
    if (form != nullptr) {
        formBody = form->body();
        contentType = form->contentType();
    }

    std::int64_t received = 0;
    std::int64_t sent = 0;
    detail::ExchangeCallbacks callbacks;
    callbacks.body = body;
    callbacks.announcedLength = announcedLength;
    // Copies, so that a hook may replace itself while it runs.
    callbacks.idle = [this] {
        if (IdleHook hook = idleHook)
            hook();
    };
    callbacks.moved = [this, &received, &sent](TransferDirection direction, std::int64_t delta) {
        std::int64_t& total = direction == TransferDirection::Receive ? received : sent;
        total += delta;
        if (WorkHandler handler = workHandler)
            handler(direction, total);
    };

    for (int redirects = 0;; ++redirects) {
        if (address.scheme == "https" && tls == nullptr)
            throw HttpError(HttpFailure::TlsNotAttached,
                            "No se puede abrir la dirección segura \"" + address.url +
                                "\": el transporte TLS no está activado en el cliente.");
        if (method == Method::Post)
            session.closeConnections(); // a POST goes out on a connection of its own

        const CookieOrigin origin = originOf(address);
        callbacks.cookie = [this, &origin](CookieSyntax syntax, std::string_view value) {
            cookies.store(syntax, value, origin, std::time(nullptr));
        };
        detail::Exchange exchange{address};
        exchange.method = method;
        exchange.body = &formBody;
        exchange.contentType = contentType;
        exchange.cookieHeader = cookies.cookieHeaderFor(origin, std::time(nullptr));
        exchange.tls = tls;
        exchange.connectTimeout = connectTimeout;
        exchange.readTimeout = readTimeout;
        const detail::ExchangeReply reply = session.run(exchange, callbacks);

        if (reply.statusCode >= 200 && reply.statusCode < 300)
            return;
        if (!isRedirect(reply.statusCode) || reply.redirectUrl.empty())
            throw HttpStatusError(reply.statusCode, reply.statusLine);
        if (redirects == maximumRedirects)
            throw HttpError(HttpFailure::TooManyRedirects, "Demasiadas redirecciones (más de " +
                                                               std::to_string(maximumRedirects) +
                                                               ") al solicitar \"" + url + "\".");
        if (method == Method::Post && reply.statusCode != 307 && reply.statusCode != 308)
            method = Method::Get;
        address = RequestAddress::prepare(reply.redirectUrl);
    }
}

HttpClient::HttpClient() : state_(std::make_unique<State>()) {}

HttpClient::~HttpClient() = default;

std::string HttpClient::get(const std::string& url) {
    std::string body;
    state_->perform(
        url, Method::Get, nullptr, [&body](std::string_view bytes) { body.append(bytes); }, reserveFor(body));
    return body;
}

void HttpClient::get(const std::string& url, std::ostream& out) {
    state_->perform(url, Method::Get, nullptr, [&out](std::string_view bytes) {
        bool written = false;
        try {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            written = static_cast<bool>(out);
        } catch (const std::ios_base::failure&) {
        }
        if (!written)
            throw HttpError(HttpFailure::OutputFailed, "No se pudo escribir la respuesta recibida.");
    });
}

std::string HttpClient::post(const std::string& url, const MultipartFormData& form) {
    std::string body;
    state_->perform(
        url, Method::Post, &form, [&body](std::string_view bytes) { body.append(bytes); }, reserveFor(body));
    return body;
}

void HttpClient::setWorkHandler(WorkHandler handler) {
    state_->workHandler = std::move(handler);
}

void HttpClient::setIdleHook(IdleHook hook) {
    state_->idleHook = std::move(hook);
}

void HttpClient::setTlsTransport(const TlsTransport* transport) {
    state_->tls = transport;
}

const TlsTransport* HttpClient::tlsTransport() const {
    return state_->tls;
}

void HttpClient::setConnectTimeout(std::chrono::milliseconds timeout) {
    state_->connectTimeout = timeout;
}

void HttpClient::setReadTimeout(std::chrono::milliseconds timeout) {
    state_->readTimeout = timeout;
}

CookieStore& HttpClient::cookies() {
    return state_->cookies;
}

const CookieStore& HttpClient::cookies() const {
    return state_->cookies;
}

bool HttpClient::busy() const {
    return state_->busy;
}

} // namespace velkaro::http
