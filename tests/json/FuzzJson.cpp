// Parses arbitrary bytes, then walks every value, checks the walk order and look-ups against each
// other and that the text form of a container reads back to the same text.
#include "json/Parse.h"
#include "json/WalkOrder.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace velkaro;
using namespace velkaro::json;

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

void walk(const Value& root) {
    std::vector<Value> stack{root};
    while (!stack.empty()) {
        const Value value = stack.back();
        stack.pop_back();
        if (value.isObject()) {
            for (std::size_t i = 0; i < value.size(); ++i) {
                const std::string_view name = value.memberName(i);
                check(value.member(name).isSameNode(value.memberValue(i)));
                if (i + 1 < value.size()) {
                    const std::string_view next = value.memberName(i + 1);
                    check(walksBefore(memberNameHash(name), name, memberNameHash(next), next));
                }
                stack.push_back(value.memberValue(i));
            }
        } else if (value.isArray()) {
            for (std::size_t i = 0; i < value.size(); ++i) {
                check(value.at(i).isSameNode(value.lookup("[" + std::to_string(i) + "]")));
                stack.push_back(value.at(i));
            }
            check(value.at(value.size()).isAbsent());
        } else {
            check(value.size() == 0);
            (void)value.text();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static constexpr CodePage pages[] = {CodePage::Windows1250, CodePage::Windows1251, CodePage::Windows1252,
                                         CodePage::Windows1254};
    const CodePage page = pages[data[0] % 4];
    const std::string body(reinterpret_cast<const char*>(data + 1), size - 1);

    ParseFailure failure;
    const Value root = parse(body, page, &failure);
    if (!root) {
        check(!failure.reason.empty());
        return 0;
    }
    walk(root);
    (void)root.lookup(body.substr(0, 24)); // the bytes as a path

    const std::string text = root.text();
    if (!root.isArray() && !root.isObject())
        return 0;
    bool plain = true;
    for (char c : text)
        plain = plain && static_cast<unsigned char>(c) >= 0x20;
    if (plain) {
        const Value again = parse(text, page);
        check(again && again.text() == text);
    }
    return 0;
}
