// Text functions: lengths, positions and pieces count characters, not bytes.
#include "base/AsciiCase.h"
#include "base/CodePage.h"
#include "report/language/FunctionRegistry.h"
#include "report/language/LanguageError.h"
#include "report/language/NumberFormat.h"
#include "report/language/UnicodeText.h"

#include <algorithm>
#include <vector>

namespace velkaro::report {

namespace {

// Longest text a function may build (StringOfChar('x', 1e9) is a mistake, not a report).
constexpr size_t kMaximumTextBytes = 16u << 20;

std::string_view trimStart(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    return text;
}
std::string_view trimEnd(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

// Zero-based start of `count` characters from the 1-based Pascal index, clipped.
std::string copyCharacters(std::string_view text, int64_t index, int64_t count) {
    if (index < 1)
        index = 1;
    if (count <= 0)
        return std::string();
    return std::string(characterRange(text, static_cast<size_t>(index - 1), static_cast<size_t>(count)));
}

struct CharacterText {
    std::vector<char32_t> characters;
    std::vector<size_t> offsets; // byte offset of each character, plus the end
};

CharacterText characters(std::string_view text) {
    CharacterText out;
    size_t pos = 0;
    while (pos < text.size()) {
        out.offsets.push_back(pos);
        out.characters.push_back(decodeCharacter(text, pos));
    }
    out.offsets.push_back(text.size());
    return out;
}

// Character index of `pattern` in `text` from character `from`, or npos.
size_t findCharacters(const CharacterText& text, const CharacterText& pattern, size_t from, bool ignoreCase) {
    const size_t n = text.characters.size();
    const size_t m = pattern.characters.size();
    if (m == 0 || m > n)
        return std::string::npos;
    for (size_t i = from; i + m <= n; ++i) {
        size_t j = 0;
        while (j < m) {
            char32_t a = text.characters[i + j];
            char32_t b = pattern.characters[j];
            if (ignoreCase) {
                a = upperCharacter(a);
                b = upperCharacter(b);
            }
            if (a != b)
                break;
            ++j;
        }
        if (j == m)
            return i;
    }
    return std::string::npos;
}

void requireSize(const FunctionArguments& arguments, size_t bytes) {
    if (bytes > kMaximumTextBytes)
        arguments.fail("el texto resultante es demasiado largo");
}

int compareOrdinal(std::string_view a, std::string_view b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

std::string nameCase(std::string_view text) {
    std::string out;
    bool startOfWord = true;
    size_t pos = 0;
    while (pos < text.size()) {
        const char32_t c = decodeCharacter(text, pos);
        const bool letter = upperCharacter(c) != lowerCharacter(c);
        appendUtf8(out, letter ? (startOfWord ? upperCharacter(c) : lowerCharacter(c)) : c);
        startOfWord = !letter && c != '\'';
    }
    return out;
}

} // namespace

void addStringFunctions(FunctionRegistry& registry) {
    registry.add({"Length", "Length(S: String): Integer", 1, 1, [](FunctionArguments& a) {
                      return Variant(static_cast<int64_t>(characterCount(a.text(0))));
                  }});
    registry.add({"Copy", "Copy(S: String; Index, Count: Integer): String", 2, 3, [](FunctionArguments& a) {
                      const int64_t count = a.count() > 2 ? a.integer(2) : INT64_MAX;
                      return Variant(copyCharacters(a.text(0), a.integer(1), count));
                  }});
    registry.add({"Pos", "Pos(SubStr, S: String): Integer", 2, 2, [](FunctionArguments& a) {
                      const size_t at =
                          findCharacters(characters(a.text(1)), characters(a.text(0)), 0, false);
                      return Variant(at == std::string::npos ? int64_t(0) : static_cast<int64_t>(at + 1));
                  }});
    registry.add({"Trim", "Trim(S: String): String", 1, 1,
                  [](FunctionArguments& a) { return Variant(std::string(trimEnd(trimStart(a.text(0))))); }});
    registry.add({"TrimLeft", "TrimLeft(S: String): String", 1, 1,
                  [](FunctionArguments& a) { return Variant(std::string(trimStart(a.text(0)))); }});
    registry.add({"TrimRight", "TrimRight(S: String): String", 1, 1,
                  [](FunctionArguments& a) { return Variant(std::string(trimEnd(a.text(0)))); }});
    for (const char* name : {"UpperCase", "AnsiUpperCase"}) {
        registry.add({name, std::string(name) + "(S: String): String", 1, 1,
                      [](FunctionArguments& a) { return Variant(upperCaseText(a.text(0))); }});
    }
    for (const char* name : {"LowerCase", "AnsiLowerCase"}) {
        registry.add({name, std::string(name) + "(S: String): String", 1, 1,
                      [](FunctionArguments& a) { return Variant(lowerCaseText(a.text(0))); }});
    }
    registry.add({"NameCase", "NameCase(S: String): String", 1, 1,
                  [](FunctionArguments& a) { return Variant(nameCase(a.text(0))); }});
    registry.add(
        {"StringReplace",
         "StringReplace(S, OldPattern, NewPattern: String; Flags: TReplaceFlags): String",
         3,
         4,
         [](FunctionArguments& a) {
             int64_t flags = 0;
             for (const Variant& item : a.arrayItems())
                 flags |= valueToInteger(item, a.rules());
             const bool all = (flags & 1) != 0;
             const bool ignoreCase = (flags & 2) != 0;
             const std::string source = a.text(0);
             const std::string replacement = a.text(2);
             const CharacterText text = characters(source);
             const CharacterText pattern = characters(a.text(1));
             std::string out;
             size_t from = 0;
             while (true) {
                 const size_t at = findCharacters(text, pattern, from, ignoreCase);
                 if (at == std::string::npos)
                     break;
                 out.append(source, text.offsets[from], text.offsets[at] - text.offsets[from]);
                 out += replacement;
                 requireSize(a, out.size());
                 from = at + pattern.characters.size();
                 if (!all)
                     break;
             }
             out.append(source, text.offsets[from], std::string::npos);
             return Variant(std::move(out));
         },
         {ParameterMode::Value, ParameterMode::Value, ParameterMode::Value, ParameterMode::OpenArray}});
    registry.add({"Delete",
                  "Delete(var S: String; Index, Count: Integer)",
                  3,
                  3,
                  [](FunctionArguments& a) {
                      const std::string text = a.text(0);
                      const int64_t index = a.integer(1);
                      const int64_t count = a.integer(2);
                      const int64_t length = static_cast<int64_t>(characterCount(text));
                      if (index >= 1 && index <= length && count > 0) {
                          const size_t begin = byteOffsetOfCharacter(text, static_cast<size_t>(index - 1));
                          const size_t end =
                              begin + byteOffsetOfCharacter(std::string_view(text).substr(begin),
                                                            static_cast<size_t>(count));
                          a.reference(0) = Variant(text.substr(0, begin) + text.substr(end));
                      } else {
                          a.reference(0) = Variant(text);
                      }
                      return Variant();
                  },
                  {ParameterMode::Reference}});
    registry.add({"Insert",
                  "Insert(Source: String; var S: String; Index: Integer)",
                  3,
                  3,
                  [](FunctionArguments& a) {
                      const std::string source = a.text(0);
                      std::string text = a.text(1);
                      int64_t index = a.integer(2);
                      const int64_t length = static_cast<int64_t>(characterCount(text));
                      index = std::clamp<int64_t>(index, 1, length + 1);
                      requireSize(a, text.size() + source.size());
                      text.insert(byteOffsetOfCharacter(text, static_cast<size_t>(index - 1)), source);
                      a.reference(1) = Variant(std::move(text));
                      return Variant();
                  },
                  {ParameterMode::Value, ParameterMode::Reference}});
    registry.add(
        {"StringOfChar", "StringOfChar(Ch: Char; Count: Integer): String", 2, 2, [](FunctionArguments& a) {
             const std::string piece(characterRange(a.text(0), 0, 1));
             const int64_t count = a.integer(1);
             std::string out;
             if (count > 0) {
                 requireSize(a, piece.size() * static_cast<uint64_t>(count));
                 for (int64_t i = 0; i < count; ++i)
                     out += piece;
             }
             return Variant(std::move(out));
         }});
    registry.add(
        {"DupeString", "DupeString(S: String; Count: Integer): String", 2, 2, [](FunctionArguments& a) {
             const std::string piece = a.text(0);
             const int64_t count = a.integer(1);
             std::string out;
             if (count > 0 && !piece.empty()) {
                 requireSize(a, piece.size() * static_cast<uint64_t>(count));
                 for (int64_t i = 0; i < count; ++i)
                     out += piece;
             }
             return Variant(std::move(out));
         }});
    registry.add({"LeftStr", "LeftStr(S: String; Count: Integer): String", 2, 2,
                  [](FunctionArguments& a) { return Variant(copyCharacters(a.text(0), 1, a.integer(1))); }});
    registry.add({"RightStr", "RightStr(S: String; Count: Integer): String", 2, 2, [](FunctionArguments& a) {
                      const std::string text = a.text(0);
                      const int64_t length = static_cast<int64_t>(characterCount(text));
                      const int64_t count = std::clamp<int64_t>(a.integer(1), 0, length);
                      return Variant(copyCharacters(text, length - count + 1, count));
                  }});
    registry.add(
        {"MidStr", "MidStr(S: String; Start, Count: Integer): String", 3, 3, [](FunctionArguments& a) {
             return Variant(copyCharacters(a.text(0), a.integer(1), a.integer(2)));
         }});
    registry.add({"CompareText", "CompareText(S1, S2: String): Integer", 2, 2, [](FunctionArguments& a) {
                      return Variant(
                          int64_t(compareOrdinal(toAsciiUpper(a.text(0)), toAsciiUpper(a.text(1)))));
                  }});
    registry.add({"CompareStr", "CompareStr(S1, S2: String): Integer", 2, 2, [](FunctionArguments& a) {
                      return Variant(int64_t(compareOrdinal(a.text(0), a.text(1))));
                  }});
    registry.add({"SameText", "SameText(S1, S2: String): Boolean", 2, 2, [](FunctionArguments& a) {
                      return Variant(upperCaseText(a.text(0)) == upperCaseText(a.text(1)));
                  }});
    registry.add({"QuotedStr", "QuotedStr(S: String): String", 1, 1, [](FunctionArguments& a) {
                      std::string out = "'";
                      for (char c : a.text(0)) {
                          out += c;
                          if (c == '\'')
                              out += '\'';
                      }
                      return Variant(out + "'");
                  }});
    registry.add({"Chr", "Chr(X: Integer): Char", 1, 1, [](FunctionArguments& a) {
                      const int64_t code = a.integer(0);
                      if (code < 0 || code > 0x10FFFF)
                          a.fail("código de carácter fuera de rango: " + std::to_string(code));
                      std::string out;
                      appendUtf8(out, static_cast<char32_t>(code));
                      return Variant(std::move(out));
                  }});
    registry.add({"Ord", "Ord(X: Char): Integer", 1, 1, [](FunctionArguments& a) {
                      const Variant& value = a.value(0);
                      if (value.type() == Variant::Type::Boolean)
                          return Variant(int64_t(value.asBoolean() ? 1 : 0));
                      if (value.isString()) {
                          if (value.asString().empty())
                              a.fail("el texto está vacío");
                          size_t pos = 0;
                          return Variant(static_cast<int64_t>(decodeCharacter(value.asString(), pos)));
                      }
                      return Variant(a.integer(0));
                  }});
    registry.add(
        {"IntToHex", "IntToHex(Value: Integer; Digits: Integer): String", 1, 2, [](FunctionArguments& a) {
             const Variant value(a.integer(0));
             const int64_t digits = a.count() > 1 ? std::clamp<int64_t>(a.integer(1), 0, 64) : 0;
             const std::string pattern = "%." + std::to_string(digits) + "x";
             return Variant(formatArguments(pattern, std::span<const Variant>(&value, 1), a.rules()));
         }});
    registry.add({"Format",
                  "Format(Fmt: String; Args: array of const): String",
                  2,
                  2,
                  [](FunctionArguments& a) {
                      try {
                          return Variant(formatArguments(a.text(0), a.arrayItems(), a.rules()));
                      } catch (const EvaluationError& error) {
                          a.fail(error.what());
                      }
                  },
                  {ParameterMode::Value, ParameterMode::OpenArray}});
    for (const char* name : {"FormatFloat", "FormatCurr"}) {
        registry.add(
            {name, std::string(name) + "(Fmt: String; Value: Extended): String", 2, 2,
             [](FunctionArguments& a) { return Variant(formatFloat(a.text(0), a.number(1), a.format())); }});
    }
}

} // namespace velkaro::report
