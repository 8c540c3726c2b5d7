#include "report/model/XmlText.h"

#include "base/CodePage.h"

#include <cstring>

namespace velkaro::report {

namespace {

// Length of a reference at raw[pos] ("&amp;", "&#13;", "&#x1F;") and its code point; 0 when none.
size_t readReference(std::string_view raw, size_t pos, char32_t& codePoint) {
    const size_t semicolon = raw.find(';', pos + 1);
    if (semicolon == std::string_view::npos || semicolon - pos > 12)
        return 0;
    const std::string_view body = raw.substr(pos + 1, semicolon - pos - 1);
    if (body.size() >= 2 && body[0] == '#') {
        char32_t value = 0;
        const bool hex = body[1] == 'x' || body[1] == 'X';
        const std::string_view digits = body.substr(hex ? 2 : 1);
        if (digits.empty())
            return 0;
        for (char c : digits) {
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return 0;
            value = value * (hex ? 16 : 10) + char32_t(digit);
            if (value > 0x10FFFF)
                return 0;
        }
        if (value == 0 || (value >= 0xD800 && value <= 0xDFFF))
            return 0;
        codePoint = value;
        return body.size() + 2;
    }
    struct Named {
        std::string_view name;
        char value;
    };
    static constexpr Named kNamed[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const Named& named : kNamed) {
        if (body == named.name) {
            codePoint = char32_t(named.value);
            return body.size() + 2;
        }
    }
    return 0;
}

void appendReference(std::string& out, unsigned char c) {
    out += "&#";
    out += std::to_string(int(c));
    out += ';';
}

} // namespace

void appendDecodedXmlText(std::string& out, std::string_view raw) {
    size_t pos = 0;
    while (pos < raw.size()) {
        const size_t amp = raw.find('&', pos);
        if (amp == std::string_view::npos) {
            out.append(raw.substr(pos));
            return;
        }
        out.append(raw.substr(pos, amp - pos));
        char32_t codePoint = 0;
        const size_t length = readReference(raw, amp, codePoint);
        if (length == 0) {
            out += '&';
            pos = amp + 1;
        } else {
            appendUtf8(out, codePoint);
            pos = amp + length;
        }
    }
}

void appendEscapedAttribute(std::string& out, std::string_view value) {
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&#34;";
            break;
        case '<':
            out += "&#60;";
            break;
        case '>':
            out += "&#62;";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F)
                appendReference(out, byte);
            else
                out += c;
        }
    }
}

void appendEscapedContent(std::string& out, std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t first = 0;
    while (first < text.size() && isBlank(text[first]))
        ++first;
    size_t last = text.size();
    while (last > first && isBlank(text[last - 1]))
        --last;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((i < first || i >= last) && isBlank(c)) {
            appendReference(out, static_cast<unsigned char>(c));
            continue;
        }
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\r' && c != '\n' && c != '\t')
                appendReference(out, static_cast<unsigned char>(c));
            else
                out += c;
        }
    }
}

bool parseAttributeRun(std::string_view text, std::vector<Attribute>& out) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t pos = 0;
    while (true) {
        while (pos < text.size() && isBlank(text[pos]))
            ++pos;
        if (pos >= text.size())
            return true;
        const size_t nameStart = pos;
        while (pos < text.size() && text[pos] != '=' && !isBlank(text[pos]))
            ++pos;
        const std::string_view name = text.substr(nameStart, pos - nameStart);
        while (pos < text.size() && isBlank(text[pos]))
            ++pos;
        if (name.empty() || pos >= text.size() || text[pos] != '=')
            return false;
        ++pos;
        while (pos < text.size() && isBlank(text[pos]))
            ++pos;
        if (pos >= text.size() || (text[pos] != '"' && text[pos] != '\''))
            return false;
        const char quote = text[pos++];
        const size_t close = text.find(quote, pos);
        if (close == std::string_view::npos)
            return false;
        Attribute attribute{std::string(name), {}};
        appendDecodedXmlText(attribute.value, text.substr(pos, close - pos));
        out.push_back(std::move(attribute));
        pos = close + 1;
    }
}

} // namespace velkaro::report
