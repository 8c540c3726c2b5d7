#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::http {

// A local date and time to the millisecond, the source of a form's boundary.
struct LocalDateTime {
    int year = 0; // four digits; the boundary uses the last two
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    [[nodiscard]] static LocalDateTime now();
};

// A multipart/form-data body built byte for byte: for each field in the order added,
// "--" boundary CRLF, `Content-Disposition: form-data; name="NAME"` CRLF, CRLF, the value's bytes
// unchanged, CRLF; then "--" boundary "--" CRLF. No field carries a content type or an encoding.
// The boundary is eight hyphens and 15 digits of the local time: MMDDYYHHNNSSZZZ.
class MultipartFormData {
public:
    // The boundary comes from the local time at construction.
    MultipartFormData();
    explicit MultipartFormData(const LocalDateTime& boundaryTime);

    // Field names are written as given, between double quotes; a name holding a double quote, CR or
    // LF would break the part's header and throws velkaro::Error. Values are bytes (NUL included).
    void addField(std::string name, std::string value);

    [[nodiscard]] const std::string& boundary() const { return boundary_; }
    // "multipart/form-data; boundary=" followed by the boundary.
    [[nodiscard]] std::string contentType() const;
    // Throws velkaro::Error when a value contains the boundary, which would cut the body short.
    [[nodiscard]] std::string body() const;

    [[nodiscard]] static std::string boundaryFor(const LocalDateTime& time);

private:
    struct Field {
        std::string name;
        std::string value;
    };
    std::string boundary_;
    std::vector<Field> fields_;
};

} // namespace velkaro::http
