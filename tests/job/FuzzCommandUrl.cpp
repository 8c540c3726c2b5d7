// Any text as a command URL: the parser and the parameter list must give values, never fail.
#include "http/Url.h"
#include "job/CommandUrl.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {
class TwoPrinters final : public PrinterList {
public:
    std::vector<std::string> installedPrinterNames() const override {
        return {"Oficina Ventas", "Almacen-2"};
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const velkaro::http::Url url = velkaro::http::Url::parse(text);
    // The parts keep their shape whatever the text.
    if (url.host.find('/') != std::string::npos || url.query.find('#') != std::string::npos)
        __builtin_trap();
    if (!url.query.empty() && url.query[0] != '?' && url.query[0] != '=')
        __builtin_trap();
    const std::vector<std::string> parameters = BuildParameterList(text);
    if (parameters.empty())
        __builtin_trap();
    const TCommandOptions options = ParseCommandUrl(text, TwoPrinters());
    if (options.ShowRequested != !ReadParameter(parameters, "show").empty())
        __builtin_trap();
    return 0;
}
