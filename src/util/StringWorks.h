#pragma once

#include <string>
#include <string_view>
#include <vector>

// The program's string utilities, on byte strings: one byte is one character, positions are 1-based
// (0 means "no such position"), comparisons are exact, and a text ends at its first NUL byte.
namespace StringWorks {

// Number of positions of text at which substring occurs; overlapping occurrences all count.
[[nodiscard]] int CountOccurrences(std::string_view substring, std::string_view text);

// Position at which the n-th occurrence (n >= 1) of substring begins, or 0 when there are fewer.
[[nodiscard]] int NthOccurrence(std::string_view text, std::string_view substring, int n);

// The pieces of text between the occurrences of delimiter, in order, empty and repeated pieces
// kept: c occurrences give c + 1 pieces, an empty text one empty piece. A longer delimiter is cut
// out whole; an empty delimiter yields the text as the only piece.
[[nodiscard]] std::vector<std::string> SplitByDelimiter(std::string_view text, std::string_view delimiter);

// The first count characters of text (fewer where text ends sooner).
[[nodiscard]] std::string CopyLeft(std::string_view text, int count);

// count characters of text from position start on; empty when start lies beyond the end.
[[nodiscard]] std::string CopyMid(std::string_view text, int start, int count);

// The characters from position start up to, not including, position stop.
[[nodiscard]] std::string CopyRange(std::string_view text, int start, int stop);

} // namespace StringWorks
