#include "job/CommandUrl.h"
#include "http/Url.h"
#include "job/JobTitle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FixedPrinters final : public PrinterList {
public:
    explicit FixedPrinters(std::vector<std::string> names) : names_(std::move(names)) {}
    std::vector<std::string> installedPrinterNames() const override { return names_; }

private:
    std::vector<std::string> names_;
};

const FixedPrinters kNoPrinters({});

} // namespace

TEST(Url, Parts) {
    const struct {
        std::string text, scheme, host, port, path, query;
    } cases[] = {
        {"qlx3://server/app/fr3.php?p=12&f=x", "qlx3", "server", "", "/app/fr3.php", "?p=12&f=x"},
        {"http://user:pw@server:8080/a?b", "http", "server", "8080", "/a", "?b"},
        {"http://a@b@server/x", "http", "server", "", "/x", ""},
        {"http://[::1]:81/x?y=1", "http", "::1", "81", "/x", "?y=1"},
        {"http://[fe80::1]/", "http", "fe80::1", "", "/", ""},
        {"qlx3:\\\\server\\app\\fr3.php?p=1", "qlx3", "server", "", "/app/fr3.php", "?p=1"},
        {"qlx3://server/x=1&show=1", "qlx3", "server", "", "/x", "=1&show=1"},
        {"qlx3://server/a?show=1#print=1", "qlx3", "server", "", "/a", "?show=1"},
        {"qlx3://server/a?x=1?y=2", "qlx3", "server", "", "/a", "?x=1?y=2"},
        {"qlx3://server", "qlx3", "server", "", "", ""},
        {"qlx3:", "", "", "", "qlx3:", ""},
        {"://", "", "", "", "", ""},
        {"", "", "", "", "", ""},
        {"?&&=&", "", "", "", "", "?&&=&"},
    };
    for (const auto& c : cases) {
        const velkaro::http::Url url = velkaro::http::Url::parse(c.text);
        EXPECT_EQ(url.scheme, c.scheme) << c.text;
        EXPECT_EQ(url.host, c.host) << c.text;
        EXPECT_EQ(url.port, c.port) << c.text;
        EXPECT_EQ(url.path, c.path) << c.text;
        EXPECT_EQ(url.query, c.query) << c.text;
    }
}

TEST(CommandUrl, ParameterList) {
    EXPECT_EQ(BuildParameterList("qlx3://s/fr3.php?p=12&f=invoice&show=1"),
              (std::vector<std::string>{"p=12", "f=invoice", "show=1"}));
    EXPECT_EQ(BuildParameterList("qlx3://s/fr3.php"), (std::vector<std::string>{""}));
    EXPECT_EQ(BuildParameterList("qlx3://s/fr3.php?"), (std::vector<std::string>{""}));
    EXPECT_EQ(BuildParameterList("qlx3://s/fr3.php?&a=%20+b&&"),
              (std::vector<std::string>{"", "a=%20+b", "", ""}));
}

TEST(CommandUrl, Reading) {
    const struct {
        std::string url;
        std::string host, p, f;
        bool show, print, design;
        std::string printer;
    } cases[] = {
        {"qlx3://server/app/fr3.php?p=12&f=invoice&show=1&cliente=7", "server", "12", "invoice", true, false,
         false, ""},
        {"qlx3://user:pw@server:8080/fr3.php?p=1", "server", "1", "", false, false, false, ""},
        {"qlx3://server/fr3.php?SHOW=0&Print=no&DESIGN=1", "server", "", "", true, true, true, ""},
        {"qlx3://server/fr3.php?show=&print&design", "server", "", "", false, false, false, ""},
        {"qlx3://server/fr3.php?p=first&p=second", "server", "first", "", false, false, false, ""},
        {"qlx3://server/fr3.php?p=a=b", "server", "a=b", "", false, false, false, ""},
        {"qlx3://server/fr3.php?f=caf%C3%A9+1&printer=Mi%20Impresora", "server", "", "caf%C3%A9+1", false,
         false, false, "Mi%20Impresora"},
        {"qlx3://server/fr3.php", "server", "", "", false, false, false, ""},
        {"qlx3://server/x=1&show=1", "server", "", "", true, false, false, ""},
        {"qlx3://server/fr3.php?show=1#print=1", "server", "", "", true, false, false, ""},
        {"qlx3://[::1]:8080/fr3.php?f=r", "::1", "", "r", false, false, false, ""},
        {"", "", "", "", false, false, false, ""},
        {"qlx3:", "", "", "", false, false, false, ""},
        {"://", "", "", "", false, false, false, ""},
        {"?&&=&", "", "", "", false, false, false, ""},
        {"\x01\x02\x7f qlx3://h\xff\xfe/fr3.php?f=\xc3(", "h\xff\xfe", "", "\xc3(", false, false, false, ""},
    };
    for (const auto& c : cases) {
        ServerHost = TemplateParamP = TemplateParamF = "stale";
        const TCommandOptions options = ParseCommandUrl(c.url, kNoPrinters);
        EXPECT_EQ(ServerHost, c.host) << c.url;
        EXPECT_EQ(TemplateParamP, c.p) << c.url;
        EXPECT_EQ(TemplateParamF, c.f) << c.url;
        EXPECT_EQ(options.ShowRequested, c.show) << c.url;
        EXPECT_EQ(options.PrintRequested, c.print) << c.url;
        EXPECT_EQ(options.DesignRequested, c.design) << c.url;
        EXPECT_EQ(options.PrinterParam, c.printer) << c.url;
        EXPECT_EQ(options.PrinterName, "") << c.url;
    }
}

TEST(CommandUrl, HugeUrlGivesItsValues) {
    std::string url = "qlx3://server/fr3.php?f=" + std::string(1 << 20, 'x') + "&show=1";
    const TCommandOptions options = ParseCommandUrl(url, kNoPrinters);
    EXPECT_EQ(TemplateParamF.size(), size_t(1) << 20);
    EXPECT_TRUE(options.ShowRequested);

    std::string manyItems = "qlx3://server/fr3.php?" + std::string(200000, '&') + "p=9";
    (void)ParseCommandUrl(manyItems, kNoPrinters);
    EXPECT_EQ(TemplateParamP, "9");
}

TEST(PrinterChoice, MatchesNamesAsTheSystemListsThem) {
    const FixedPrinters printers(
        {"HP LaserJet", "Oficina Ventas", "Oficina_Ventas", "Almacén 2", "EPSON\\red"});
    const struct {
        std::string param, chosen;
    } cases[] = {
        {"Oficina%20Ventas", "Oficina Ventas"},
        {"oficina_ventas", "Oficina Ventas"}, // "_" stands for blank or underscore: the first listed wins
        {"OFICINA%20VENTAS", "Oficina Ventas"},
        {"hp_laserjet", "HP LaserJet"},
        {"Oficina Ventas", ""}, // plain blanks never match: the candidate has underscores there
        {"Almacén_2", "Almacén 2"},
        {"ALMACÉN_2", ""}, // only a to z fold
        {"Oficina%2520Ventas", ""},
        {"EPSON/red", ""}, // the backslash of a network name cannot be written
        {"EPSON%5Cred", ""},
        {"HP%20LaserJet%20", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolvePrinterName(c.param, printers), c.chosen) << c.param;

    const FixedPrinters underscoreFirst({"Oficina_Ventas", "Oficina Ventas"});
    EXPECT_EQ(ResolvePrinterName("Oficina%20Ventas", underscoreFirst), "Oficina_Ventas");
    EXPECT_EQ(ResolvePrinterName("x", FixedPrinters({})), "");
}

TEST(PrinterChoice, ParseCommandUrlResolvesThePrinterParameter) {
    const FixedPrinters printers({"Caja 1", "Caja 2"});
    const TCommandOptions options = ParseCommandUrl("qlx3://s/fr3.php?print=1&printer=caja%202", printers);
    EXPECT_TRUE(options.PrintRequested);
    EXPECT_EQ(options.PrinterParam, "caja%202");
    EXPECT_EQ(options.PrinterName, "Caja 2");

    // A "\" of the URL has become "/" before the parameters are read.
    const TCommandOptions slashed = ParseCommandUrl("qlx3://s/fr3.php?printer=a\\b", FixedPrinters({"a\\b"}));
    EXPECT_EQ(slashed.PrinterParam, "a/b");
    EXPECT_EQ(slashed.PrinterName, "");
}

TEST(JobTitle, FollowsTheFParameter) {
    EXPECT_EQ(JobTitle("invoice"), "invoice");
    EXPECT_EQ(JobTitle(""), "Velkaro");
    EXPECT_EQ(FileNamePart("C:\\reports\\invoice"), "invoice");
    EXPECT_EQ(FileNamePart("a:b"), "b");
    EXPECT_EQ(FileNamePart("ventas/2024"), "ventas/2024");
}
