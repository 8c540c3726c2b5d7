#pragma once

#include <string>

namespace velkaro::report {

// One problem found while reading a template. The reader goes on after it where it can.
struct LoadError {
    std::string objectName; // the Name of the object concerned, else its class; empty for the file
    int line = 0;           // 1-based place in the text; 0 when the problem has none
    int column = 0;
    std::string message; // Spanish, for the user

    // The line the error box shows: "Memo3 (línea 12, columna 40): falta ...".
    [[nodiscard]] std::string describe() const;
    friend bool operator==(const LoadError&, const LoadError&) = default;
};

} // namespace velkaro::report
