// Addresses from templates, command lines and redirects: preparing them never crashes, and an address handed
// to the transfer carries no blank, control byte or byte above 127.
#include "http/HttpError.h"
#include "http/RequestAddress.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velkaro::http;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const RequestAddress address = RequestAddress::prepare(text);
        // High bytes may stand only in the host, which the transfer turns into an international name.
        const bool internationalHost = std::any_of(address.host.begin(), address.host.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0x80;
        });
        for (char c : address.url) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte <= 0x20 || byte == 0x7F || (byte >= 0x80 && !internationalHost))
                std::abort();
        }
        for (char c : address.path) {
            if (static_cast<unsigned char>(c) >= 0x80)
                std::abort();
        }
        if (address.scheme != "http" && address.scheme != "https")
            std::abort();
    } catch (const HttpError&) {
    }
    return 0;
}
