#pragma once

#include "report/model/Component.h"

#include <string>
#include <string_view>

namespace velkaro::report {

// Helpers for the option structs: write a property only when the new value differs from what the
// component reads now, so that an unchanged template is saved as it was read.
inline void writeIfChanged(Component& c, std::string_view name, bool before, bool after) {
    if (before != after)
        c.setBoolean(name, after);
}
inline void writeIfChanged(Component& c, std::string_view name, int64_t before, int64_t after) {
    if (before != after)
        c.setInteger(name, after);
}
inline void writeIfChanged(Component& c, std::string_view name, int32_t before, int32_t after) {
    if (before != after)
        c.setColor(name, after);
}
inline void writeIfChanged(Component& c, std::string_view name, double before, double after) {
    if (before != after)
        c.setNumber(name, after);
}
inline void writeIfChanged(Component& c, std::string_view name, const std::string& before,
                           const std::string& after) {
    if (before != after)
        c.setAttribute(name, after);
}

} // namespace velkaro::report
