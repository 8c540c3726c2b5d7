// Fuzz target: the fr3 reader, the report's load and save, and the picture data it holds.
#include "report/model/Fr3Reader.h"
#include "report/model/Picture.h"
#include "report/model/Report.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velkaro::report;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ReadResult result = Fr3Reader(velkaro::CodePage::Windows1252).read(bytes);
    if (result.root) {
        walkTree(*result.root, [](const Component& component, size_t) {
            for (const Attribute& attribute : component.attributes()) {
                if (attribute.name.ends_with("PropData"))
                    (void)decodePicturePropData(attribute.value);
            }
            (void)readRichText(component);
            return true;
        });
    }

    Report report(nullptr, velkaro::CodePage::Windows1251);
    report.root().setAttribute("EngineOptions.NewSilentMode", "simSilent");
    report.load(bytes);
    const std::string saved = report.save();
    // Saving is a fixed point: what we write reads back into the same template.
    Report again(nullptr, velkaro::CodePage::Windows1251);
    again.root().setAttribute("EngineOptions.NewSilentMode", "simSilent");
    again.load(saved);
    if (again.save() != saved)
        std::abort();
    return 0;
}
