#include "http/MultipartFormData.h"

#include "base/Error.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace velkaro::http {

LocalDateTime LocalDateTime::now() {
    const auto clock = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(clock);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(clock.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,           local.tm_hour,
                         local.tm_min,         local.tm_sec,     static_cast<int>(millis)};
}

MultipartFormData::MultipartFormData() : MultipartFormData(LocalDateTime::now()) {}

MultipartFormData::MultipartFormData(const LocalDateTime& boundaryTime)
    : boundary_(boundaryFor(boundaryTime)) {}

std::string MultipartFormData::boundaryFor(const LocalDateTime& time) {
    // Out-of-range parts are reduced so that the boundary always has exactly 15 digits.
    auto two = [](int value) { return ((value % 100) + 100) % 100; };
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d%02d%02d%02d%02d%02d%03d", two(time.month), two(time.day),
                  two(time.year), two(time.hour), two(time.minute), two(time.second),
                  ((time.millisecond % 1000) + 1000) % 1000);
    return std::string(8, '-') + digits;
}

void MultipartFormData::addField(std::string name, std::string value) {
    if (name.find_first_of("\"\r\n") != std::string::npos)
        throw Error("Nombre de campo de formulario no válido: \"" + name + "\".");
    fields_.push_back(Field{std::move(name), std::move(value)});
}

std::string MultipartFormData::contentType() const {
    return "multipart/form-data; boundary=" + boundary_;
}

std::string MultipartFormData::body() const {
    std::string out;
    size_t size = boundary_.size() + 6;
    for (const Field& field : fields_) {
        if (field.value.find(boundary_) != std::string::npos)
            throw Error("El campo \"" + field.name +
                        "\" contiene el separador del formulario; inténtelo de nuevo.");
        size += boundary_.size() + field.name.size() + field.value.size() + 50;
    }
    out.reserve(size);
    for (const Field& field : fields_) {
        out += "--";
        out += boundary_;
        out += "\r\nContent-Disposition: form-data; name=\"";
        out += field.name;
        out += "\"\r\n\r\n";
        out += field.value;
        out += "\r\n";
    }
    out += "--";
    out += boundary_;
    out += "--\r\n";
    return out;
}

} // namespace velkaro::http
