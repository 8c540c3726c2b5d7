#include "base/FormatSettings.h"

namespace velkaro {

FormatSettings& FormatSettings::process() {
    static FormatSettings settings;
    return settings;
}

} // namespace velkaro
