#pragma once

#include <string>
#include <string_view>

namespace velkaro {

// The Windows 8-bit code pages that templates and servers written for Windows use.
enum class CodePage { Windows1250, Windows1251, Windows1252, Windows1254 };

// The code page of a locale name such as "es_ES.UTF-8" or "ru": 1251 for Cyrillic languages,
// 1254 for Turkish, 1250 for Central European ones, 1252 for everything else.
CodePage codePageForLocale(std::string_view localeName);

// The code page of the user's locale (LC_ALL, LC_CTYPE, LANG), 1252 when none is set.
CodePage userCodePage();

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// Reads bytes as UTF-8 and each run of bytes that is not valid UTF-8 in the given code page, and
// returns valid UTF-8. Valid input comes back unchanged.
std::string decodeMixedText(std::string_view bytes, CodePage fallback);

// Appends the UTF-8 form of a code point (U+FFFD for a surrogate or a value above U+10FFFF).
void appendUtf8(std::string& out, char32_t codePoint);

// Length of the valid UTF-8 sequence that starts at bytes[pos], or 0 when none starts there.
size_t utf8SequenceLength(std::string_view bytes, size_t pos);

} // namespace velkaro
