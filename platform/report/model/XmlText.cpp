#include "report/model/XmlText.h"

#include "base/CodePage.h"

#include <array>
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
        // &#0; is what the writer makes of a NUL byte (binary input); surrogates never stand alone.
        if (value >= 0xD800 && value <= 0xDFFF)
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

bool isXmlNameChar(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == ':' || c == '.' || c == '-' || b >= 0x80;
}

bool isXmlNameStart(char c) {
    return isXmlNameChar(c) && !(c >= '0' && c <= '9') && c != '.' && c != '-';
}

bool isXmlName(std::string_view name) {
    if (name.empty() || !isXmlNameStart(name.front()))
        return false;
    for (char c : name) {
        if (!isXmlNameChar(c))
            return false;
    }
    return true;
}

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
    // Long values (pictures in hex) have nothing to escape: copy the runs between special bytes whole.
    static constexpr auto kSpecial = [] {
        std::array<bool, 256> table{};
        for (int c = 0; c < 0x20; ++c)
            table[size_t(c)] = true;
        for (unsigned char c : {'&', '"', '<', '>', '\x7F'})
            table[c] = true;
        return table;
    }();
    size_t runStart = 0;
    const size_t size = value.size();
    for (size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if (!kSpecial[byte])
            continue;
        out.append(value.substr(runStart, i - runStart));
        runStart = i + 1;
        switch (byte) {
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
            appendReference(out, byte);
        }
    }
    out.append(value.substr(runStart));
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
        if (!isXmlName(name) || pos >= text.size() || text[pos] != '=')
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
