// Runs against the CUPS queues that `./run test` sets up (Oficina_Ventas, Almacen-2).
#include "job/SystemPrinterList.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(SystemPrinters, ChoosesAnInstalledCupsQueue) {
    const SystemPrinterList printers;
    const std::vector<std::string> names = printers.installedPrinterNames();
    ASSERT_NE(std::find(names.begin(), names.end(), "Oficina_Ventas"), names.end())
        << "the cups-pdf test queues are missing; run the tests through ./run test";
    EXPECT_EQ(ResolvePrinterName("oficina_VENTAS", printers), "Oficina_Ventas");
    EXPECT_EQ(ResolvePrinterName("almacen-2", printers), "Almacen-2");
    EXPECT_EQ(ResolvePrinterName("No_Existe", printers), "");

    const TCommandOptions options = ParseCommandUrl("qlx3://h/fr3.php?print=1&printer=Almacen-2", printers);
    EXPECT_EQ(options.PrinterName, "Almacen-2");
}
