#pragma once

#include "report/model/Component.h"

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::report {

// True for a name the reader reads as an element or attribute name: a letter, "_", ":" or a byte
// of a multi-byte character first, then also digits, "." and "-".
[[nodiscard]] bool isXmlNameStart(char c);
[[nodiscard]] bool isXmlNameChar(char c);
[[nodiscard]] bool isXmlName(std::string_view name);

// Appends raw XML text with its character references and the five named entities decoded. An
// "&" that does not start a reference we know (a bare ampersand, "&nbsp;", "&#xD800;") stays as it is.
void appendDecodedXmlText(std::string& out, std::string_view raw);

// Appends an attribute value escaped for double quotes: "&", quote, "<" and ">" as entities, and
// every control character (CR, LF, tab...) as a numeric reference, so that it reads back exactly.
void appendEscapedAttribute(std::string& out, std::string_view value);

// Appends element text escaped; leading and trailing blanks are written as references because the
// reader trims literal ones.
void appendEscapedContent(std::string& out, std::string_view text);

// Reads a run of attributes as written inside a tag (` Name="a" Value="b"`), the form in which
// older templates store collection items inside binary property data. False when the text is not
// such a run (a name that is no XML name included); what was read up to there is kept in out.
bool parseAttributeRun(std::string_view text, std::vector<Attribute>& out);

} // namespace velkaro::report
