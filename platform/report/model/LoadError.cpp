#include "report/model/LoadError.h"

namespace velkaro::report {

std::string LoadError::describe() const {
    std::string out = objectName;
    if (line > 0) {
        if (!out.empty())
            out += ' ';
        out += "(línea " + std::to_string(line) + ", columna " + std::to_string(column) + ")";
    }
    if (!out.empty())
        out += ": ";
    out += message;
    return out;
}

} // namespace velkaro::report
