#include "http/CurlSession.h"

#include "base/AsciiCase.h"
#include "http/HttpError.h"
#include "http/TransferFailure.h"

#include <exception>
#include <memory>
#include <mutex>

namespace velkaro::http::detail {

namespace {

using Clock = std::chrono::steady_clock;

constexpr char acceptHeader[] = "Accept: text/html, */*";
constexpr char userAgent[] = "Mozilla/3.0 (compatible; Indy Library)";
// A reply whose header block never ends would otherwise keep the request alive forever. Below
// libcurl's own bound, so that the failure is recognised as ours.
constexpr size_t maximumHeaderBytes = 256 * 1024;
constexpr int maximumCookiesPerReply = 1000;

struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

// What the callbacks of one exchange share with the loop.
struct ExchangeState {
    const ExchangeCallbacks& callbacks;
    CURL* easy = nullptr;

    bool awaitingStatusLine = true; // at the start of a reply (interim 1xx replies repeat this)
    bool interimReply = false;
    bool headersDone = false;
    bool bodyWanted = false;
    std::string statusLine;
    size_t headerBytes = 0;
    bool headersTooLong = false;
    int cookiesInReply = 0;
    bool cookiePending = false;
    CookieSyntax pendingSyntax = CookieSyntax::SetCookie;
    std::string pendingCookie;

    bool connected = false;
    std::int64_t received = 0; // reply bytes, headers included
    std::exception_ptr failure;

    void flushCookie() {
        if (!cookiePending)
            return;
        cookiePending = false;
        if (!interimReply && ++cookiesInReply <= maximumCookiesPerReply && callbacks.cookie)
            callbacks.cookie(pendingSyntax, pendingCookie);
        pendingCookie.clear();
    }

    long responseCode() const {
        long code = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
        return code;
    }

    void headerLine(std::string_view line) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.remove_suffix(1);
        if (awaitingStatusLine) {
            statusLine = std::string(line);
            awaitingStatusLine = false;
            cookiesInReply = 0;
            // libcurl has read the status line before handing it over.
            const long code = responseCode();
            interimReply = code >= 100 && code < 200;
            return;
        }
        if (line.empty()) {
            flushCookie();
            const long code = responseCode();
            if (code >= 100 && code < 200) {
                awaitingStatusLine = true; // the real reply follows
                return;
            }
            headersDone = true;
            bodyWanted = code >= 200 && code < 300;
            curl_off_t length = -1;
            if (bodyWanted && callbacks.announcedLength &&
                curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
                length > 0)
                callbacks.announcedLength(length);
            return;
        }
        if (line.front() == ' ' || line.front() == '\t') { // folded continuation of the previous header
            if (cookiePending) {
                pendingCookie += ' ';
                pendingCookie += trimBlanks(line);
            }
            return;
        }
        flushCookie();
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            return;
        const std::string_view name = trimBlanks(line.substr(0, colon));
        if (equalsIgnoreAsciiCase(name, "Set-Cookie"))
            pendingSyntax = CookieSyntax::SetCookie;
        else if (equalsIgnoreAsciiCase(name, "Set-Cookie2"))
            pendingSyntax = CookieSyntax::SetCookie2;
        else
            return;
        cookiePending = true;
        pendingCookie = std::string(trimBlanks(line.substr(colon + 1)));
    }
};

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<ExchangeState*>(user);
    const size_t length = size * count;
    state.received += static_cast<std::int64_t>(length);
    if (state.headersDone)
        return length; // trailers of a chunked body
    state.headerBytes += length;
    if (state.headerBytes > maximumHeaderBytes) {
        state.headersTooLong = true;
        return 0;
    }
    try {
        state.headerLine(std::string_view(data, length));
    } catch (...) {
        state.failure = std::current_exception();
        return 0;
    }
    return length;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<ExchangeState*>(user);
    const size_t length = size * count;
    state.received += static_cast<std::int64_t>(length);
    if (!state.bodyWanted)
        return length; // a redirect's or an error's body
    try {
        state.callbacks.body(std::string_view(data, length));
    } catch (...) {
        state.failure = std::current_exception();
        return 0;
    }
    return length;
}

int onConnected(void* user, char*, char*, int, int) {
    static_cast<ExchangeState*>(user)->connected = true;
    return CURL_PREREQFUNC_OK;
}

long tlsVersionOption(TlsVersion minimum) {
    long floor = CURL_SSLVERSION_TLSv1_0;
    switch (minimum) {
    case TlsVersion::Tls1_0:
        floor = CURL_SSLVERSION_TLSv1_0;
        break;
    case TlsVersion::Tls1_1:
        floor = CURL_SSLVERSION_TLSv1_1;
        break;
    case TlsVersion::Tls1_2:
        floor = CURL_SSLVERSION_TLSv1_2;
        break;
    case TlsVersion::Tls1_3:
        floor = CURL_SSLVERSION_TLSv1_3;
        break;
    }
    return floor | static_cast<long>(CURL_SSLVERSION_MAX_DEFAULT);
}

template <typename Value> void setOption(CURL* easy, CURLoption option, Value value) {
    if (curl_easy_setopt(easy, option, value) != CURLE_OK)
        throw HttpError(HttpFailure::TransferFailed, "La biblioteca de red no admite la opción " +
                                                         std::to_string(static_cast<int>(option)) + ".");
}

void initializeLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Removes the handle from the multi handle however the exchange ends; mid-transfer this drops the
// connection.
class AttachedTransfer {
public:
    AttachedTransfer(CURLM* multi, CURL* easy) : multi_(multi), easy_(easy) {
        if (curl_multi_add_handle(multi_, easy_) != CURLM_OK)
            throw HttpError(HttpFailure::TransferFailed, "No se pudo iniciar la transferencia.");
    }
    ~AttachedTransfer() { curl_multi_remove_handle(multi_, easy_); }
    AttachedTransfer(const AttachedTransfer&) = delete;
    AttachedTransfer& operator=(const AttachedTransfer&) = delete;

private:
    CURLM* multi_;
    CURL* easy_;
};

} // namespace

CurlSession::CurlSession() {
    initializeLibraryOnce();
    multi_ = curl_multi_init();
    easy_ = curl_easy_init();
    if (multi_ == nullptr || easy_ == nullptr) {
        if (easy_ != nullptr)
            curl_easy_cleanup(easy_);
        if (multi_ != nullptr)
            curl_multi_cleanup(multi_);
        throw HttpError(HttpFailure::TransferFailed, "No se pudo preparar el cliente HTTP.");
    }
}

CurlSession::~CurlSession() {
    curl_multi_cleanup(multi_);
    curl_easy_cleanup(easy_);
}

void CurlSession::closeConnections() {
    // The connection cache belongs to the multi handle: a new one starts with none.
    CURLM* fresh = curl_multi_init();
    if (fresh == nullptr)
        throw HttpError(HttpFailure::TransferFailed, "No se pudo preparar el cliente HTTP.");
    curl_multi_cleanup(multi_);
    multi_ = fresh;
}

ExchangeReply CurlSession::run(const Exchange& exchange, const ExchangeCallbacks& callbacks) {
    curl_easy_reset(easy_);
    ExchangeState state{callbacks};
    state.easy = easy_;

    HeaderList headers(curl_slist_append(nullptr, acceptHeader));
    if (exchange.method == Method::Post) {
        headers.reset(
            curl_slist_append(headers.release(), ("Content-Type: " + exchange.contentType).c_str()));
        headers.reset(curl_slist_append(headers.release(), "Expect:"));
    }
    if (!headers)
        throw std::bad_alloc();

    setOption(easy_, CURLOPT_URL, exchange.address.url.c_str());
    setOption(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
    setOption(easy_, CURLOPT_FOLLOWLOCATION, 0L);
    setOption(easy_, CURLOPT_PROXY, ""); // also overrides the *_proxy environment variables
    setOption(easy_, CURLOPT_NOSIGNAL, 1L);
    setOption(easy_, CURLOPT_HTTPHEADER, headers.get());
    setOption(easy_, CURLOPT_USERAGENT, userAgent);
    setOption(easy_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(exchange.connectTimeout.count()));
    setOption(easy_, CURLOPT_HEADERFUNCTION, onHeader);
    setOption(easy_, CURLOPT_HEADERDATA, &state);
    setOption(easy_, CURLOPT_WRITEFUNCTION, onBody);
    setOption(easy_, CURLOPT_WRITEDATA, &state);
    setOption(easy_, CURLOPT_PREREQFUNCTION, onConnected);
    setOption(easy_, CURLOPT_PREREQDATA, &state);
    if (!exchange.cookieHeader.empty())
        setOption(easy_, CURLOPT_COOKIE, exchange.cookieHeader.c_str());

    if (exchange.method == Method::Post) {
        setOption(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
        setOption(easy_, CURLOPT_POST, 1L);
        setOption(easy_, CURLOPT_POSTFIELDS, exchange.body->data());
        setOption(easy_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(exchange.body->size()));
        setOption(easy_, CURLOPT_FRESH_CONNECT, 1L);
        setOption(easy_, CURLOPT_FORBID_REUSE, 1L);
    } else {
        setOption(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
        setOption(easy_, CURLOPT_HTTPGET, 1L);
    }

    if (exchange.address.scheme == "https" && exchange.tls != nullptr) {
        if ((curl_version_info(CURLVERSION_NOW)->features & CURL_VERSION_SSL) == 0)
            throw HttpError(HttpFailure::TlsFailure, "Could not load SSL library.");
        const TlsTransport& tls = *exchange.tls;
        setOption(easy_, CURLOPT_SSLVERSION, tlsVersionOption(tls.minimumVersion));
        const long verify = tls.certificateCheck == CertificateCheck::Verify ? 1L : 0L;
        setOption(easy_, CURLOPT_SSL_VERIFYPEER, verify);
        setOption(easy_, CURLOPT_SSL_VERIFYHOST, verify * 2);
        // At its default security level the TLS library refuses 1.0 and 1.1 outright.
        if (tls.minimumVersion == TlsVersion::Tls1_0 || tls.minimumVersion == TlsVersion::Tls1_1)
            setOption(easy_, CURLOPT_SSL_CIPHER_LIST, "DEFAULT:@SECLEVEL=0");
    }

    AttachedTransfer attached(multi_, easy_);
    std::int64_t reportedReceived = 0;
    std::int64_t reportedSent = 0;
    Clock::duration silence{};
    bool wasConnected = false;
    CURLcode result = CURLE_OK;
    bool done = false;
    while (!done) {
        int running = 0;
        if (curl_multi_perform(multi_, &running) != CURLM_OK)
            throw HttpError(HttpFailure::TransferFailed,
                            "Falló la transferencia con " + exchange.address.host + ".");
        int pending = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &pending)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy_) {
                result = message->data.result;
                done = true;
            }
        }

        curl_off_t sent = 0;
        curl_easy_getinfo(easy_, CURLINFO_SIZE_UPLOAD_T, &sent);
        bool moved = false;
        if (state.received != reportedReceived) {
            const std::int64_t delta = state.received - reportedReceived;
            reportedReceived = state.received;
            moved = true;
            if (callbacks.moved)
                callbacks.moved(TransferDirection::Receive, delta);
        }
        if (sent != reportedSent) {
            const std::int64_t delta = sent - reportedSent;
            reportedSent = sent;
            moved = true;
            if (callbacks.moved)
                callbacks.moved(TransferDirection::Send, delta);
        }
        if (done || running == 0)
            break;
        if (state.connected && !wasConnected) {
            wasConnected = true;
            silence = {};
        }
        if (moved)
            silence = {};
        // Only time spent waiting on the network counts as silence, not time spent in the hooks.
        if (exchange.readTimeout.count() > 0 && wasConnected && silence >= exchange.readTimeout)
            throwReadTimeout(exchange.address, exchange.readTimeout);

        if (callbacks.idle)
            callbacks.idle();
        const auto pollStart = Clock::now();
        curl_multi_poll(multi_, nullptr, 0, static_cast<int>(HttpClient::pollInterval.count()), nullptr);
        silence += Clock::now() - pollStart;
    }

    if (state.failure)
        std::rethrow_exception(state.failure);
    // libcurl refuses a single header line over its limit as if memory had run out.
    if (state.headersTooLong || (result == CURLE_OUT_OF_MEMORY && !state.headersDone))
        throwOversizedHeaders(exchange.address);
    if (result == CURLE_OK && !state.headersDone)
        throwTransferFailure(CURLE_PARTIAL_FILE, 0, exchange.address); // closed amid the headers
    if (result != CURLE_OK) {
        long osErrno = 0;
        curl_easy_getinfo(easy_, CURLINFO_OS_ERRNO, &osErrno);
        throwTransferFailure(result, osErrno, exchange.address);
    }

    ExchangeReply reply;
    reply.statusCode = static_cast<int>(state.responseCode());
    reply.statusLine = state.statusLine;
    char* redirect = nullptr;
    if (curl_easy_getinfo(easy_, CURLINFO_REDIRECT_URL, &redirect) == CURLE_OK && redirect != nullptr)
        reply.redirectUrl = redirect;
    return reply;
}

} // namespace velkaro::http::detail
