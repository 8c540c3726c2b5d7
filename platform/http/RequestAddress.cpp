#include "http/RequestAddress.h"

#include "base/AsciiCase.h"
#include "http/HttpError.h"
#include "http/Url.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace velkaro::http {

namespace {

struct UrlHandleDeleter {
    void operator()(CURLU* handle) const { curl_url_cleanup(handle); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlHandleDeleter>;

struct CurlStringDeleter {
    void operator()(char* text) const { curl_free(text); }
};

std::string encodeUnsafeBytes(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += '/';
        } else if (byte <= 0x20 || byte >= 0x7F) {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

// Addresses are quoted in messages; keep those short and printable.
std::string quoted(std::string_view address) {
    constexpr size_t longest = 200;
    std::string shown(address.substr(0, longest));
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    if (address.size() > longest)
        shown += "...";
    return "\"" + shown + "\"";
}

[[noreturn]] void throwInvalid(std::string_view address) {
    throw HttpError(HttpFailure::InvalidAddress, "Dirección no válida: " + quoted(address) + ".");
}

std::string part(CURLU* handle, CURLUPart which, unsigned flags = 0) {
    char* raw = nullptr;
    if (curl_url_get(handle, which, &raw, flags) != CURLUE_OK || raw == nullptr)
        return {};
    std::unique_ptr<char, CurlStringDeleter> owned(raw);
    return std::string(raw);
}

} // namespace

RequestAddress RequestAddress::prepare(std::string_view address) {
    const std::string encoded = encodeUnsafeBytes(address);
    const Url parsed = Url::parse(encoded);
    if (parsed.scheme.empty())
        throwInvalid(address);
    if (!equalsIgnoreAsciiCase(parsed.scheme, "http") && !equalsIgnoreAsciiCase(parsed.scheme, "https")) {
        throw HttpError(HttpFailure::UnsupportedScheme, "Protocolo no admitido en la dirección " +
                                                            quoted(address) +
                                                            ": solo se atienden direcciones http y https.");
    }
    if (parsed.host.empty())
        throwInvalid(address);

    UrlHandle handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, encoded.c_str(), 0) != CURLUE_OK)
        throwInvalid(address);
    curl_url_set(handle.get(), CURLUPART_USER, nullptr, 0);
    curl_url_set(handle.get(), CURLUPART_PASSWORD, nullptr, 0);
    curl_url_set(handle.get(), CURLUPART_OPTIONS, nullptr, 0);
    curl_url_set(handle.get(), CURLUPART_FRAGMENT, nullptr, 0);

    RequestAddress prepared;
    prepared.url = part(handle.get(), CURLUPART_URL);
    prepared.scheme = toAsciiLower(part(handle.get(), CURLUPART_SCHEME));
    prepared.host = part(handle.get(), CURLUPART_HOST);
    prepared.port = part(handle.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
    prepared.path = part(handle.get(), CURLUPART_PATH);
    // The host comes back percent-decoded; control bytes in it would end up in the Host header.
    const bool controlInHost = std::any_of(prepared.host.begin(), prepared.host.end(), [](char c) {
        return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
    });
    if (prepared.url.empty() || prepared.host.empty() || controlInHost)
        throwInvalid(address);
    if (prepared.host.size() > 2 && prepared.host.front() == '[' && prepared.host.back() == ']')
        prepared.host = prepared.host.substr(1, prepared.host.size() - 2);
    if (prepared.path.empty())
        prepared.path = "/";
    return prepared;
}

} // namespace velkaro::http
