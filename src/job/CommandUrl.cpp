#include "job/CommandUrl.h"

#include "base/AsciiCase.h"
#include "http/Url.h"
#include "util/StringWorks.h"

#include <algorithm>

namespace {

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    size_t start = 0;
    for (size_t pos = text.find(from); pos != std::string_view::npos; pos = text.find(from, start)) {
        out.append(text.substr(start, pos - start));
        out.append(to);
        start = pos + from.size();
    }
    out.append(text.substr(start));
    return out;
}

} // namespace

std::vector<std::string> BuildParameterList(std::string_view url) {
    const velkaro::http::Url parsed = velkaro::http::Url::parse(url);
    const std::string_view query = parsed.query;
    return StringWorks::SplitByDelimiter(query.empty() ? query : query.substr(1), "&");
}

std::string ReadParameter(const std::vector<std::string>& parameters, std::string_view name) {
    for (const std::string& item : parameters) {
        const size_t equals = item.find('=');
        if (equals == std::string::npos)
            continue;
        if (velkaro::equalsIgnoreAsciiCase(std::string_view(item).substr(0, equals), name))
            return item.substr(equals + 1);
    }
    return {};
}

std::string ResolvePrinterName(std::string_view printerParam, const PrinterList& printers) {
    const std::string wanted = replaceAll(printerParam, "%20", "_");
    for (const std::string& name : printers.installedPrinterNames()) {
        std::string candidate = name;
        std::replace(candidate.begin(), candidate.end(), ' ', '_');
        if (velkaro::equalsIgnoreAsciiCase(wanted, candidate))
            return name;
    }
    return {};
}

TCommandOptions ParseCommandUrl(std::string_view commandUrl, const PrinterList& printers) {
    TCommandOptions options;
    {
        const std::vector<std::string> parameters = BuildParameterList(commandUrl);
        ServerHost = velkaro::http::Url::parse(commandUrl).host;
        TemplateParamP = ReadParameter(parameters, "p");
        TemplateParamF = ReadParameter(parameters, "f");
        options.ShowRequested = !ReadParameter(parameters, "show").empty();
        options.PrintRequested = !ReadParameter(parameters, "print").empty();
        options.DesignRequested = !ReadParameter(parameters, "design").empty();
        options.PrinterParam = ReadParameter(parameters, "printer");
    }
    if (!options.PrinterParam.empty())
        options.PrinterName = ResolvePrinterName(options.PrinterParam, printers);
    return options;
}
