// The fr3check tool as a user runs it: exit status and what it prints.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

struct ToolRun {
    int status = -1;
    std::string output;
};

ToolRun runFr3check(const std::string& arguments) {
    const std::string command = std::string(VELKARO_BINARY_DIR "/fr3check ") + arguments + " 2>&1";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string writeFixture(const std::string& name, const std::string& text) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

} // namespace

TEST(Fr3Check, EveryCorpusTemplateSurvivesAndCompiles) {
    const std::string corpus = VELKARO_CORPUS_DIR;
    ASSERT_FALSE(corpus.empty()) << "set VELKARO_CORPUS_DIR to the folder of real templates";
    const ToolRun run = runFr3check("--expressions '" + corpus + "'/*.fr3");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("22-cactuspv-FacturaTicket.fr3: bien"), std::string::npos) << run.output;
}

TEST(Fr3Check, NamesTheObjectWhoseTextDoesNotCompile) {
    const std::string file =
        writeFixture("fr3check-bad.fr3", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                         "<TfrxReport Version=\"5.3.16\"><TfrxReportPage Name=\"Page1\">"
                                         "<TfrxMasterData Name=\"MasterData1\" Height=\"20\">"
                                         "<TfrxMemoView Name=\"MemoTotal\" Text=\"[NoSuchFunction(1) + ]\"/>"
                                         "<TfrxMemoView Name=\"MemoFine\" Text=\"[Page#] de [TotalPages#]\"/>"
                                         "</TfrxMasterData></TfrxReportPage></TfrxReport>\n");
    const ToolRun plain = runFr3check("'" + file + "'");
    EXPECT_EQ(plain.status, 0) << plain.output; // it loads and round-trips
    const ToolRun checked = runFr3check("--expressions '" + file + "'");
    EXPECT_EQ(checked.status, 1) << checked.output;
    EXPECT_NE(checked.output.find("MemoTotal"), std::string::npos) << checked.output;
    EXPECT_EQ(checked.output.find("MemoFine"), std::string::npos) << checked.output;
}

TEST(Fr3Check, ReportsUnreadableAndBrokenFiles) {
    EXPECT_EQ(runFr3check("/nonexistent/x.fr3").status, 2);
    const std::string broken = writeFixture("fr3check-broken.fr3", "<TfrxReport><TfrxReportPage Name=\"P\"");
    const ToolRun run = runFr3check("'" + broken + "'");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("error al cargar"), std::string::npos) << run.output;
}
