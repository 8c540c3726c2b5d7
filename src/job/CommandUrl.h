#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the web page asks for: the command URL qlx3://host/path/fr3.php?p=..&f=..&show=1 read into
// the job's options.

// Host and template parameters of the run, kept for the template upload. Set by ParseCommandUrl
// (also when empty).
inline std::string ServerHost;
inline std::string TemplateParamP;
inline std::string TemplateParamF;

struct TCommandOptions {
    bool ShowRequested = false;
    bool PrintRequested = false;
    bool DesignRequested = false;
    std::string PrinterParam; // "printer" exactly as written in the URL
    std::string PrinterName;  // the chosen installed printer as the system lists it, or empty
};

// The names of the installed printers, in the system's order. One small interface so that the
// choice can be tested with names CUPS cannot hold (blanks).
class PrinterList {
public:
    virtual ~PrinterList() = default;
    [[nodiscard]] virtual std::vector<std::string> installedPrinterNames() const = 0;
};

// The query of url without its first character, split on "&"; items exactly as written (no
// percent-decoding, no trimming), empty and repeated items kept.
[[nodiscard]] std::vector<std::string> BuildParameterList(std::string_view url);

// The value of the first item whose text before its first "=" equals name (a to z folded); the
// text after that "=". Empty when no item matches; items without "=" match nothing.
[[nodiscard]] std::string ReadParameter(const std::vector<std::string>& parameters, std::string_view name);

// The installed printer that printerParam names: "%20" and the printer's blanks both read as "_",
// letters a to z compared without case, first match in the system's order; empty when none.
[[nodiscard]] std::string ResolvePrinterName(std::string_view printerParam, const PrinterList& printers);

// Reads the command URL: sets ServerHost, TemplateParamP and TemplateParamF, returns the mode
// requests and the printer. Never fails; text that is not a URL gives empty values.
[[nodiscard]] TCommandOptions ParseCommandUrl(std::string_view commandUrl, const PrinterList& printers);
