#include "TestSupport.h"
#include "report/model/Fr3Reader.h"
#include "report/model/Report.h"
#include "report/model/RoundTrip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace velkaro::report {
namespace {

std::vector<std::filesystem::path> corpusTemplates() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(VELKARO_CORPUS_DIR)) {
        if (entry.path().extension() == ".fr3")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(Corpus, EveryTemplateLoadsWithoutErrorAndSurvivesSaveAndReload) {
    const auto files = corpusTemplates();
    ASSERT_EQ(files.size(), 47u);
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        Report report;
        CollectingMessageSink sink;
        report.setMessageSink(&sink);
        EXPECT_TRUE(report.load(testing::readFile(file)));
        EXPECT_TRUE(sink.messages().empty());
        EXPECT_GT(report.root().childCount(), 0u);

        const RoundTripResult result = checkRoundTrip(testing::readFile(file), CodePage::Windows1252);
        EXPECT_TRUE(result.loadErrors.empty());
        EXPECT_TRUE(result.reloadErrors.empty());
        for (const auto& difference : result.differences)
            ADD_FAILURE() << difference.path << ": " << difference.first << " -> " << difference.second;
    }
}

TEST(Corpus, ReportPropDataOf4xTemplatesIsReadIntoTheLists) {
    size_t converted = 0;
    for (const auto& file : corpusTemplates()) {
        const std::string bytes = testing::readFile(file);
        const ReadResult raw = Fr3Reader(CodePage::Windows1252).read(bytes);
        Report report;
        ASSERT_TRUE(report.load(bytes));
        EXPECT_FALSE(report.root().hasAttribute("PropData")) << file;
        if (bytes.find("<TfrxReport ") != std::string::npos &&
            bytes.substr(0, bytes.find('>', bytes.find("<TfrxReport "))).find("PropData=") !=
                std::string::npos) {
            ++converted;
            EXPECT_FALSE(raw.root->hasAttribute("PropData")) << file;
        }
    }
    EXPECT_EQ(converted, 32u);
}

TEST(Corpus, MixedCodePageTextIsDecoded) {
    struct Case {
        const char* file;
        CodePage codePage;
        const char* printer;
    };
    const Case cases[] = {
        {"32-ceda-tic-Fatura_Listesi.fr3", CodePage::Windows1254, "Varsay\xC4\xB1lan"},
        {"14-autorev-DANFSeNovo.fr3", CodePage::Windows1252, "Padr\xC3\xA3o"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Report report(nullptr, c.codePage);
        ASSERT_TRUE(report.load(testing::readFile(testing::corpusFile(c.file))));
        EXPECT_EQ(report.printOptions().printer, c.printer);
        EXPECT_NE(report.save().find(std::string("PrintOptions.Printer=\"") + c.printer + "\""),
                  std::string::npos);
    }
    Report styles(nullptr, CodePage::Windows1254);
    ASSERT_TRUE(styles.load(testing::readFile(testing::corpusFile("32-ceda-tic-Fatura_Listesi.fr3"))));
    const Component* list = styles.root().findChild("Styles");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), 6u);
    EXPECT_EQ(list->child(5).attribute("Name"), "Header line");
    EXPECT_EQ(list->child(5).attribute("Frame.Width"), "2");
}

} // namespace
} // namespace velkaro::report
