#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velkaro::report {

// Character-level helpers for the UTF-8 strings of the report language. The language counts
// characters (code points), not bytes: Copy(<Name>, 1, 1) of a Cyrillic name is its first letter.
// A byte that does not start a valid sequence counts as one character.

[[nodiscard]] size_t characterCount(std::string_view text);

// Byte offset of the character with the zero-based index, or text.size() past the end.
[[nodiscard]] size_t byteOffsetOfCharacter(std::string_view text, size_t characterIndex);

// The characters [first, first + count) (zero-based), clipped to the text.
[[nodiscard]] std::string_view characterRange(std::string_view text, size_t first, size_t count);

// Decodes the character at bytes[pos] and advances pos; an invalid byte decodes as itself.
[[nodiscard]] char32_t decodeCharacter(std::string_view text, size_t& pos);

// Upper and lower case of Latin (ASCII, Latin-1, Latin Extended-A), Greek and Cyrillic letters;
// other characters stay as they are.
[[nodiscard]] char32_t upperCharacter(char32_t c);
[[nodiscard]] char32_t lowerCharacter(char32_t c);
[[nodiscard]] std::string upperCaseText(std::string_view text);
[[nodiscard]] std::string lowerCaseText(std::string_view text);

} // namespace velkaro::report
