#pragma once

#include "job/CommandUrl.h"

// The printers the system has installed, as Qt lists them (CUPS queues on Linux).
class SystemPrinterList final : public PrinterList {
public:
    [[nodiscard]] std::vector<std::string> installedPrinterNames() const override;
};
