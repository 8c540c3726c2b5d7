#pragma once

#include <string>
#include <string_view>

// The title of a job: the template's "f" parameter, which names the report to the user, or the
// program's name when the page sends none. It becomes the taskbar text, the message boxes' caption,
// the designer's caption and the base of export file names.
[[nodiscard]] inline std::string JobTitle(std::string_view templateParamF) {
    return templateParamF.empty() ? std::string("Velkaro") : std::string(templateParamF);
}

// The file-name part of a title: the text after the last "\" or ":", or the whole title.
[[nodiscard]] inline std::string FileNamePart(std::string_view title) {
    const size_t cut = title.find_last_of("\\:");
    return std::string(cut == std::string_view::npos ? title : title.substr(cut + 1));
}
