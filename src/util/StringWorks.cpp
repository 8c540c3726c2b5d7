#include "util/StringWorks.h"

#include <cstring>

namespace StringWorks {

namespace {

// Texts end at their first NUL, as the program's 8-bit strings always have.
std::string_view untilNul(std::string_view text) {
    const void* nul = std::memchr(text.data(), '\0', text.size());
    return nul == nullptr ? text : text.substr(0, static_cast<const char*>(nul) - text.data());
}

} // namespace

int CountOccurrences(std::string_view substring, std::string_view text) {
    substring = untilNul(substring);
    text = untilNul(text);
    if (substring.empty())
        return 0;
    int count = 0;
    for (size_t i = text.find(substring); i != std::string_view::npos; i = text.find(substring, i + 1))
        ++count;
    return count;
}

int NthOccurrence(std::string_view text, std::string_view substring, int n) {
    substring = untilNul(substring);
    text = untilNul(text);
    if (substring.empty() || n < 1)
        return 0;
    int count = 0;
    for (size_t i = text.find(substring); i != std::string_view::npos; i = text.find(substring, i + 1)) {
        if (++count == n)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

std::vector<std::string> SplitByDelimiter(std::string_view text, std::string_view delimiter) {
    text = untilNul(text);
    delimiter = untilNul(delimiter);
    std::vector<std::string> pieces;
    if (delimiter.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    // One left-to-right scan; occurrences that overlap the delimiter before them are skipped, so a
    // longer delimiter is cut out whole.
    size_t start = 0;
    for (size_t i = text.find(delimiter); i != std::string_view::npos; i = text.find(delimiter, start)) {
        pieces.emplace_back(text.substr(start, i - start));
        start = i + delimiter.size();
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
}

std::string CopyLeft(std::string_view text, int count) {
    return CopyMid(text, 1, count);
}

std::string CopyMid(std::string_view text, int start, int count) {
    text = untilNul(text);
    if (start < 1)
        start = 1; // positions before the first character start at the first
    if (count <= 0 || static_cast<size_t>(start) > text.size())
        return {};
    return std::string(text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(count)));
}

std::string CopyRange(std::string_view text, int start, int stop) {
    if (stop <= start)
        return {};
    return CopyMid(text, start, stop - start);
}

} // namespace StringWorks
