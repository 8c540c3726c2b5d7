#include "report/model/Report.h"
#include "TestSupport.h"
#include "base/Error.h"
#include "report/model/BlankTemplate.h"

#include <gtest/gtest.h>

#include <sstream>

namespace velkaro::report {
namespace {

using testing::templateWith;

TEST(Report, LoadKeepsTheComponentsOwnSettingsAndTakesTheTemplates) {
    struct Setting {
        const char* name;
        const char* component; // nullptr: the component has none
        const char* inTemplate;
        bool templateWins;
    };
    const Setting settings[] = {
        {"IniFile", "\\Software\\Fast Reports", "\\Software\\Other", false},
        {"StoreInDFM", nullptr, "False", false},
        {"ShowProgress", "True", "False", false},
        {"OldStyleProgress", nullptr, "True", false},
        {"EngineOptions.PrintIfEmpty", nullptr, "False", false},
        {"EngineOptions.MaxMemSize", "10", "10000000", false},
        {"EngineOptions.NewSilentMode", "simSilent", "simMessageBoxes", false},
        {"EngineOptions.DoublePass", "False", "True", true},
        {"EngineOptions.ConvertNulls", nullptr, "False", true},
        {"EngineOptions.IgnoreDevByZero", nullptr, "True", true},
        {"PreviewOptions.Buttons", "4095", "0", false},
        {"PreviewOptions.Zoom", "1", "2", false},
        {"PreviewOptions.Modal", nullptr, "False", false},
        {"PreviewOptions.OutlineVisible", nullptr, "True", true},
        {"PreviewOptions.OutlineWidth", nullptr, "200", true},
        {"PreviewOptions.OutlineExpand", nullptr, "False", true},
        {"PreviewOptions.PagesInCache", nullptr, "9", true},
        {"PreviewOptions.ThumbnailVisible", nullptr, "True", true},
        {"PrintOptions.Copies", "3", "2", true},
        {"ReportOptions.Name", "Own", "Theirs", true},
        {"ScriptText.Text", "own", "theirs", true},
    };
    Report report;
    std::string templateAttributes;
    for (const Setting& s : settings) {
        if (s.component)
            report.root().setAttribute(s.name, s.component);
        templateAttributes += std::string(" ") + s.name + "=\"" + s.inTemplate + "\"";
    }
    ASSERT_TRUE(report.load(templateWith(templateAttributes, "")));
    for (const Setting& s : settings) {
        SCOPED_TRACE(s.name);
        const std::string* value = report.root().findAttribute(s.name);
        if (s.templateWins) {
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(*value, s.inTemplate);
        } else if (s.component) {
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(*value, s.component);
        } else {
            EXPECT_EQ(value, nullptr);
        }
    }
    EXPECT_TRUE(report.engineOptions().doublePass);
    EXPECT_EQ(report.engineOptions().silentMode, SilentMode::Silent);
}

TEST(Report, VersionIsAlways5316) {
    Report report;
    EXPECT_EQ(report.version(), "5.3.16");
    report.setVersion("9.9");
    EXPECT_EQ(report.version(), "5.3.16");
    ASSERT_TRUE(report.load(templateWith("", "<TfrxDataPage Name=\"Data\"/>")));
    EXPECT_EQ(report.root().attribute("Version"), "5.3.16");
    report.root().setAttribute("Version", "1.0");
    EXPECT_NE(report.save().find("<TfrxReport Version=\"5.3.16\""), std::string::npos);
    // A template without Version gets it, first.
    ASSERT_TRUE(report.load("<TfrxReport Name=\"\"/>"));
    EXPECT_EQ(report.save(),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<TfrxReport Version=\"5.3.16\" Name=\"\"/>\r\n");
}

TEST(Report, LoadErrorsAreOneErrorMessageAndWhatWasReadStays) {
    Report report;
    CollectingMessageSink sink;
    report.setMessageSink(&sink);
    report.variables().set("old", Variant("1"));
    EXPECT_FALSE(report.load(
        "<TfrxReport>\n<TfrxReportPage Name=\"Page1\">\n<TfrxMemoView Name=\"Memo1\" Text=\"x\"/>\n"
        "<TfrxMemoView Name=\"Memo2\" x=1/>"));
    ASSERT_EQ(sink.messages().size(), 1u);
    const Message& message = sink.messages()[0];
    EXPECT_EQ(message.kind, MessageKind::Error);
    EXPECT_EQ(message.caption, "Error");
    EXPECT_EQ(message.text,
              "Ha ocurrido el siguiente error:\n"
              "Memo2 (línea 4, columna 28): el valor del atributo x no lleva comillas\n"
              "Page1 (línea 4, columna 33): el archivo termina antes de cerrar <TfrxReportPage Page1>");
    EXPECT_EQ(report.loadErrors().size(), 2u);
    EXPECT_TRUE(report.variables().empty()); // reset before reading
    ASSERT_NE(report.root().findByName("Memo1"), nullptr);
    ASSERT_NE(report.root().findByName("Memo2"), nullptr);
}

TEST(Report, SilentAndRethrowModes) {
    const std::string broken = "<TfrxReport><A>";
    Report silent;
    silent.root().setAttribute("EngineOptions.NewSilentMode", "simSilent");
    CollectingMessageSink sink;
    silent.setMessageSink(&sink);
    EXPECT_FALSE(silent.load(broken));
    EXPECT_TRUE(sink.messages().empty());
    EXPECT_EQ(silent.loadErrors().size(), 1u);

    Report rethrow;
    rethrow.root().setAttribute("EngineOptions.NewSilentMode", "simReThrow");
    EXPECT_THROW(rethrow.load(broken), Error);
    EXPECT_EQ(rethrow.root().childCount(), 1u);
}

TEST(Report, RootThatIsNoReportLeavesTheReportReset) {
    Report report;
    EXPECT_FALSE(report.load("<html><body/></html>"));
    EXPECT_EQ(report.root().className(), "TfrxReport");
    EXPECT_EQ(report.root().childCount(), 0u);
    EXPECT_NE(report.loadErrors().back().message.find("<html>"), std::string::npos);
}

TEST(Report, DatasetsAndVariablesComeOutOfTheTreeAndGoBackAsElements) {
    const std::string text = templateWith("", R"(  <Datasets>
    <item DataSet="frxClientes" DataSetName="Clientes"/>
    <item DataSetName="Solo" Extra="e"/>
  </Datasets>
  <TfrxDataPage Name="Data"/>
  <Variables>
    <item Name=" Cat"/>
    <item Name="v" Value="&#39;x&#39;"/>
  </Variables>)");
    Report report;
    ASSERT_TRUE(report.load(text));
    ASSERT_EQ(report.root().childCount(), 1u);
    ASSERT_EQ(report.usedDatasets().size(), 2u);
    EXPECT_EQ(report.usedDatasets()[0].datasetComponentName(), "frxClientes");
    EXPECT_EQ(report.usedDatasets()[1].userName(), "Solo");
    ASSERT_EQ(report.variables().size(), 2u);
    EXPECT_TRUE(VariableList::isCategoryMarker(report.variables()[0]));
    EXPECT_EQ(report.variables()[1].value, Variant("'x'"));

    report.variables().addToCategory("Cat", "n", Variant(int64_t(3)));
    const std::string saved = report.save();
    EXPECT_NE(
        saved.find(
            "  <Datasets>\r\n    <item DataSet=\"frxClientes\" DataSetName=\"Clientes\"/>\r\n"
            "    <item DataSetName=\"Solo\" Extra=\"e\"/>\r\n  </Datasets>\r\n"
            "  <Variables>\r\n    <item Name=\" Cat\"/>\r\n    <item Name=\"v\" Value=\"'x'\"/>\r\n"
            "    <item Name=\"n\" Value=\"3\"/>\r\n  </Variables>\r\n  <TfrxDataPage Name=\"Data\"/>\r\n"),
        std::string::npos)
        << saved;
}

TEST(Report, PropDataListsOf4xTemplatesAreSavedAsElements) {
    Report report;
    ASSERT_TRUE(report.load(testing::readFile(testing::corpusFile("27-caiman-erp-pdv-EVENTOS.fr3"))));
    EXPECT_FALSE(report.root().hasAttribute("PropData"));
    ASSERT_EQ(report.usedDatasets().size(), 3u);
    EXPECT_EQ(report.usedDatasets()[2].userName(), "Eventos");
    ASSERT_EQ(report.variables().size(), 2u);
    EXPECT_EQ(report.variables()[0].name, " Variaveis");
    const std::string saved = report.save();
    EXPECT_EQ(saved.find("PropData=\"044C"), std::string::npos);
    EXPECT_NE(saved.find("<item DataSet=\"frxEventos\" DataSetName=\"Eventos\"/>"), std::string::npos);
    EXPECT_NE(saved.find("<item Name=\"PossuiNFe\"/>"), std::string::npos);
}

TEST(Report, WhatTheProgramSwitchedOnIsSaved) {
    Report report;
    ASSERT_TRUE(report.load(kBlankTemplate));
    EngineOptions engine = report.engineOptions();
    EXPECT_FALSE(engine.doublePass);
    engine.doublePass = true;
    report.setEngineOptions(engine);
    PrintOptions print = report.printOptions();
    print.showDialog = false;
    print.printer = "Oficina_Ventas";
    report.setPrintOptions(print);
    std::ostringstream stream;
    report.save(stream);
    Report reloaded;
    std::istringstream in(stream.str());
    ASSERT_TRUE(reloaded.load(in));
    EXPECT_TRUE(reloaded.engineOptions().doublePass);
    EXPECT_EQ(reloaded.printOptions().printer, "Oficina_Ventas");
    EXPECT_FALSE(reloaded.printOptions().showDialog);
    // Untouched settings are not written.
    EXPECT_EQ(stream.str().find("ConvertNulls"), std::string::npos);
}

TEST(Report, SnapshotRestoresTreeVariablesAndDatasets) {
    Report report;
    ASSERT_TRUE(report.load(kBlankTemplate));
    report.variables().set("a", Variant("1"));
    const ReportSnapshot saved = report.snapshot();
    report.root().findByName("Memo1")->setText("changed");
    report.root().clearChildren();
    report.variables().clear();
    report.usedDatasets().add(DatasetEntry{nullptr, "", "x", {}});
    report.restore(saved);
    EXPECT_EQ(report.root().findByName("Memo1")->text(), "[Page#]");
    EXPECT_EQ(report.variables().size(), 1u);
    EXPECT_TRUE(report.usedDatasets().empty());
}

TEST(Report, DatasetScopeDecidesWhereBandsFindDatasets) {
    ApplicationDatasets application;
    UserDataset global("frxUserDataSet1", &application);
    UserDataset query("qry0");
    query.setUserName("ventas");
    Report report(&application);
    report.offeredDatasets().add(query);
    EXPECT_EQ(report.findAvailableDataset("FRXUSERDATASET1"), &global);
    EXPECT_EQ(report.findAvailableDataset("Ventas"), &query);
    EXPECT_EQ(report.availableDatasets().size(), 2u);
    report.setDatasetScope(DatasetScope::ReportLists);
    ASSERT_TRUE(report.load(kBlankTemplate)); // a load leaves the scope alone
    EXPECT_EQ(report.datasetScope(), DatasetScope::ReportLists);
    EXPECT_EQ(report.findAvailableDataset("frxUserDataSet1"), nullptr);
    EXPECT_EQ(report.findAvailableDataset("ventas"), &query);
    EXPECT_EQ(report.findUsedDataset("ventas"), nullptr);
    report.usedDatasets().add(query);
    EXPECT_EQ(report.findUsedDataset("VENTAS"), &query);
    EXPECT_EQ(report.availableDatasets(), std::vector<Dataset*>{&query});
}

TEST(Report, LoadBindsTemplateDatasetsToOfferedOnes) {
    UserDataset clients("frxClientes");
    clients.setUserName("Clientes");
    Report report;
    report.setDatasetScope(DatasetScope::ReportLists);
    report.offeredDatasets().add(clients);
    ASSERT_TRUE(report.load(
        templateWith("", "<Datasets><item DataSet=\"frxClientes\" DataSetName=\"Clientes\"/></Datasets>")));
    EXPECT_EQ(report.findUsedDataset("clientes"), &clients);
}

} // namespace
} // namespace velkaro::report
