#include "job/SystemPrinterList.h"

#include <QPrinterInfo>

std::vector<std::string> SystemPrinterList::installedPrinterNames() const {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}
