#include "report/model/Fr3Reader.h"

#include "report/model/XmlText.h"

#include <cstring>

namespace velkaro::report {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isAllBlank(std::string_view text) {
    for (char c : text) {
        if (!isBlank(c))
            return false;
    }
    return true;
}

// UTF-16 with a byte order mark, turned into UTF-8 (unpaired surrogates become U+FFFD).
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    auto unitAt = [&](size_t i) -> char32_t {
        const auto a = static_cast<uint8_t>(bytes[i]);
        const auto b = static_cast<uint8_t>(bytes[i + 1]);
        return bigEndian ? char32_t((a << 8) | b) : char32_t((b << 8) | a);
    };
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, unit);
    }
    return out;
}

class Parser {
public:
    Parser(std::string_view text, const ReaderLimits& limits, ReadResult& result)
        : text_(text), limits_(limits), result_(result) {}

    void run() {
        while (pos_ < text_.size() && !stopped_) {
            const void* found = std::memchr(text_.data() + pos_, '<', text_.size() - pos_);
            const size_t lt = found ? size_t(static_cast<const char*>(found) - text_.data()) : text_.size();
            if (lt > pos_)
                takeText(text_.substr(pos_, lt - pos_), pos_);
            pos_ = lt;
            if (pos_ >= text_.size())
                break;
            readMarkup();
        }
        if (!stopped_ && !open_.empty()) {
            error(text_.size(), open_.back(),
                  "el archivo termina antes de cerrar " + describeElement(*open_.back()));
        }
        if (!result_.root && !stopped_) {
            error(text_.size(), nullptr,
                  isAllBlank(text_) ? "el archivo está vacío" : "el archivo no contiene ningún elemento");
        }
    }

private:
    static std::string describeElement(const Component& component) {
        const std::string_view name = component.name();
        return name.empty() ? "<" + component.className() + ">"
                            : "<" + component.className() + " " + std::string(name) + ">";
    }

    void error(size_t offset, const Component* component, std::string message) {
        if (result_.errors.size() >= limits_.maxErrors) {
            if (!tooManyErrorsNoted_) {
                tooManyErrorsNoted_ = true;
                result_.errors.push_back({"", 0, 0, "demasiados errores; no se muestran los siguientes"});
            }
            return;
        }
        LoadError entry;
        if (component) {
            const std::string_view name = component->name();
            entry.objectName = name.empty() ? component->className() : std::string(name);
        }
        locate(offset, entry.line, entry.column);
        entry.message = std::move(message);
        result_.errors.push_back(std::move(entry));
    }

    const Component* innermost() const { return open_.empty() ? nullptr : open_.back(); }

    // Line and column (in characters) of an offset; errors come in text order, so walk forward.
    void locate(size_t offset, int& line, int& column) {
        if (offset < locatedOffset_) {
            locatedOffset_ = 0;
            locatedLine_ = 1;
            locatedColumn_ = 1;
        }
        for (; locatedOffset_ < offset && locatedOffset_ < text_.size(); ++locatedOffset_) {
            const char c = text_[locatedOffset_];
            if (c == '\n') {
                ++locatedLine_;
                locatedColumn_ = 1;
            } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                ++locatedColumn_;
            }
        }
        line = locatedLine_;
        column = locatedColumn_;
    }

    void takeText(std::string_view raw, size_t offset) {
        if (skipDepth_ > 0 || isAllBlank(raw))
            return;
        if (open_.empty()) {
            if (!textOutsideNoted_) {
                textOutsideNoted_ = true;
                error(offset, nullptr, "texto fuera del elemento raíz");
            }
            return;
        }
        size_t first = 0;
        size_t last = raw.size();
        while (first < last && isBlank(raw[first]))
            ++first;
        while (last > first && isBlank(raw[last - 1]))
            --last;
        std::string content = open_.back()->content();
        appendDecodedXmlText(content, raw.substr(first, last - first));
        open_.back()->setContent(std::move(content));
    }

    bool startsAt(std::string_view prefix) const { return text_.substr(pos_, prefix.size()) == prefix; }

    // Skips to just after terminator; false (and an error) when the file ends first.
    bool skipPast(std::string_view terminator, const char* what) {
        const size_t end = text_.find(terminator, pos_);
        if (end == std::string_view::npos) {
            error(pos_, innermost(), std::string("el archivo termina dentro de ") + what);
            pos_ = text_.size();
            return false;
        }
        pos_ = end + terminator.size();
        return true;
    }

    void readMarkup() {
        if (startsAt("<?")) {
            skipPast("?>", "una instrucción de proceso");
        } else if (startsAt("<!--")) {
            skipPast("-->", "un comentario");
        } else if (startsAt("<![CDATA[")) {
            const size_t start = pos_ + 9;
            pos_ = start;
            if (skipPast("]]>", "una sección CDATA") && skipDepth_ == 0 && !open_.empty()) {
                std::string content = open_.back()->content();
                content.append(text_.substr(start, pos_ - 3 - start));
                open_.back()->setContent(std::move(content));
            }
        } else if (startsAt("<!")) {
            skipDeclaration();
        } else if (startsAt("</")) {
            readEndTag();
        } else {
            readStartTag();
        }
    }

    void skipDeclaration() {
        int brackets = 0;
        for (size_t i = pos_ + 2; i < text_.size(); ++i) {
            if (text_[i] == '[')
                ++brackets;
            else if (text_[i] == ']')
                --brackets;
            else if (text_[i] == '>' && brackets <= 0) {
                pos_ = i + 1;
                return;
            }
        }
        error(pos_, innermost(), "el archivo termina dentro de una declaración");
        pos_ = text_.size();
    }

    std::string_view readName() {
        const size_t start = pos_;
        if (pos_ < text_.size() && isXmlNameStart(text_[pos_])) {
            while (pos_ < text_.size() && isXmlNameChar(text_[pos_]))
                ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }

    void skipBlanks() {
        while (pos_ < text_.size() && isBlank(text_[pos_]))
            ++pos_;
    }

    void readEndTag() {
        const size_t tagStart = pos_;
        pos_ += 2;
        const std::string_view name = readName();
        skipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != '>') {
            error(tagStart, innermost(), "etiqueta de cierre mal formada");
            const size_t gt = text_.find('>', pos_);
            pos_ = gt == std::string_view::npos ? text_.size() : gt + 1;
        } else {
            ++pos_;
        }
        if (skipDepth_ > 0) {
            --skipDepth_;
            return;
        }
        for (size_t i = open_.size(); i > 0; --i) {
            if (open_[i - 1]->className() == name) {
                for (size_t j = open_.size(); j > i; --j)
                    error(tagStart, open_[j - 1],
                          "falta la etiqueta de cierre de " + describeElement(*open_[j - 1]));
                open_.resize(i - 1);
                return;
            }
        }
        error(tagStart, innermost(), "etiqueta de cierre </" + std::string(name) + "> sin apertura");
    }

    void readStartTag() {
        const size_t tagStart = pos_;
        ++pos_;
        const std::string_view className = readName();
        if (className.empty()) {
            // A lone "<" in text: keep going after it.
            error(tagStart, innermost(), "carácter \"<\" inesperado");
            return;
        }
        bool store = skipDepth_ == 0;
        if (store && open_.empty() && result_.root) {
            error(tagStart, nullptr, "contenido después del elemento raíz");
            store = false;
        }
        if (store && open_.size() >= limits_.maxDepth) {
            error(tagStart, innermost(), "anidamiento demasiado profundo; se omite su contenido");
            store = false;
        }
        if (store && ++elementCount_ > limits_.maxElements) {
            error(tagStart, innermost(), "demasiados elementos; se deja de leer");
            stopped_ = true;
            return;
        }
        std::unique_ptr<Component> component =
            store ? std::make_unique<Component>(std::string(className)) : nullptr;
        bool selfClosing = false;
        // A tag cut short still gives its element with the attributes read so far.
        const bool complete = readAttributes(component.get(), tagStart, selfClosing);
        if (!store) {
            if (complete && !selfClosing)
                ++skipDepth_;
            return;
        }
        Component* placed;
        if (open_.empty()) {
            result_.root = std::move(component);
            placed = result_.root.get();
        } else {
            placed = &open_.back()->appendChild(std::move(component));
        }
        if (complete && !selfClosing)
            open_.push_back(placed);
    }

    // Reads the attributes and the end of the tag. False when reading has to stop.
    bool readAttributes(Component* component, size_t tagStart, bool& selfClosing) {
        while (true) {
            skipBlanks();
            if (pos_ >= text_.size()) {
                error(tagStart, component ? component : innermost(),
                      "el archivo termina dentro de una etiqueta");
                return false;
            }
            const char c = text_[pos_];
            if (c == '>') {
                ++pos_;
                return true;
            }
            if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '>') {
                pos_ += 2;
                selfClosing = true;
                return true;
            }
            const size_t attributeStart = pos_;
            const std::string_view name = readName();
            if (name.empty()) {
                error(attributeStart, component ? component : innermost(), "atributo mal formado");
                ++pos_;
                continue;
            }
            skipBlanks();
            if (pos_ >= text_.size() || text_[pos_] != '=') {
                error(attributeStart, component ? component : innermost(),
                      "el atributo " + std::string(name) + " no tiene valor");
                continue;
            }
            ++pos_;
            skipBlanks();
            std::string_view raw;
            if (pos_ < text_.size() && (text_[pos_] == '"' || text_[pos_] == '\'')) {
                const char quote = text_[pos_++];
                const void* close = std::memchr(text_.data() + pos_, quote, text_.size() - pos_);
                if (!close) {
                    error(attributeStart, component ? component : innermost(),
                          "el valor del atributo " + std::string(name) + " no se cierra");
                    pos_ = text_.size();
                    return false;
                }
                const size_t end = size_t(static_cast<const char*>(close) - text_.data());
                raw = text_.substr(pos_, end - pos_);
                pos_ = end + 1;
            } else {
                // Unquoted value: take it up to a blank or the end of the tag.
                error(attributeStart, component ? component : innermost(),
                      "el valor del atributo " + std::string(name) + " no lleva comillas");
                const size_t start = pos_;
                while (pos_ < text_.size() && !isBlank(text_[pos_]) && text_[pos_] != '>' &&
                       !(text_[pos_] == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '>'))
                    ++pos_;
                raw = text_.substr(start, pos_ - start);
            }
            if (!component)
                continue;
            if (++attributeCount_ > limits_.maxAttributes) {
                error(attributeStart, component, "demasiados atributos; se deja de leer");
                stopped_ = true;
                return false;
            }
            std::string value;
            if (raw.find('&') == std::string_view::npos)
                value.assign(raw);
            else
                appendDecodedXmlText(value, raw);
            component->appendAttribute(std::string(name), std::move(value));
        }
    }

    std::string_view text_;
    const ReaderLimits& limits_;
    ReadResult& result_;
    size_t pos_ = 0;
    std::vector<Component*> open_;
    size_t skipDepth_ = 0;
    size_t elementCount_ = 0;
    size_t attributeCount_ = 0;
    bool stopped_ = false;
    bool textOutsideNoted_ = false;
    bool tooManyErrorsNoted_ = false;
    size_t locatedOffset_ = 0;
    int locatedLine_ = 1;
    int locatedColumn_ = 1;
};

} // namespace

ReadResult Fr3Reader::read(std::string_view bytes) const {
    std::string converted;
    std::string_view text;
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) {
        converted = utf16ToUtf8(bytes, false);
        text = converted;
    } else if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFE && uint8_t(bytes[1]) == 0xFF) {
        converted = utf16ToUtf8(bytes, true);
        text = converted;
    } else {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
            bytes.remove_prefix(3);
        // Most templates are clean UTF-8: read them in place instead of through a copy.
        if (isValidUtf8(bytes)) {
            text = bytes;
        } else {
            converted = decodeMixedText(bytes, codePage_);
            text = converted;
        }
    }
    ReadResult result;
    Parser(text, limits_, result).run();
    if (result.root && result.root->className() == "TfrxReport")
        expandReportPropertyData(*result.root, codePage_, result.errors);
    return result;
}

} // namespace velkaro::report
