#pragma once

#include <string>
#include <string_view>

namespace velkaro {

// Case rules of the program: only the letters a to z fold; every other byte (accented letters,
// UTF-8 sequences) compares exactly.
constexpr char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}
constexpr char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

constexpr bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i]))
            return false;
    }
    return true;
}

inline std::string toAsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = asciiUpper(c);
    return out;
}

inline std::string toAsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = asciiLower(c);
    return out;
}

// Removes blanks and tabs from both ends (header values, property text).
inline std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Removes bytes of code 32 or below from both ends (blanks and control characters).
inline std::string_view trimControls(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return text.substr(begin, end - begin);
}

} // namespace velkaro
