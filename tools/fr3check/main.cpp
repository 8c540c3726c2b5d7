// fr3check [--expressions] FILE...: does each template load without error and survive a save and a
// reload? With --expressions, does every bracketed text and condition compile?
#include "report/language/FunctionRegistry.h"
#include "report/language/TemplateExpressions.h"
#include "report/model/RoundTrip.h"

#include "base/Error.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// One line per text that does not compile; empty when everything did.
std::vector<std::string> expressionProblems(const std::string& bytes,
                                            const velkaro::report::FunctionRegistry& functions) {
    std::vector<std::string> lines;
    try {
        for (const auto& diagnostic : velkaro::report::checkTemplateExpressions(bytes, functions))
            lines.push_back(diagnostic.describe());
    } catch (const velkaro::Error& error) {
        lines.push_back(std::string("no se pudieron leer las expresiones: ") + error.what());
    }
    return lines;
}

} // namespace

int main(int argc, char** argv) {
    int first = 1;
    bool expressions = false;
    if (argc > 1 && std::strcmp(argv[1], "--expressions") == 0) {
        expressions = true;
        first = 2;
    }
    if (first >= argc) {
        std::fprintf(stderr, "uso: fr3check [--expressions] ARCHIVO...\n");
        return 2;
    }
    const velkaro::report::FunctionRegistry functions = velkaro::report::standardFunctions();
    int status = 0;
    for (int i = first; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::printf("%s: no se puede leer\n", argv[i]);
            status = 2;
            continue;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto result = velkaro::report::checkRoundTrip(bytes, velkaro::userCodePage());
        const std::vector<std::string> problems =
            expressions ? expressionProblems(bytes, functions) : std::vector<std::string>{};
        const bool fileOk = result.ok() && problems.empty();
        std::printf("%s:%s\n", argv[i], fileOk ? " bien" : "");
        for (const auto& error : result.loadErrors)
            std::printf("  error al cargar: %s\n", error.describe().c_str());
        for (const auto& error : result.reloadErrors)
            std::printf("  error al cargar lo guardado: %s\n", error.describe().c_str());
        for (const auto& difference : result.differences)
            std::printf("  %s: \"%s\" -> \"%s\"\n", difference.path.c_str(), difference.first.c_str(),
                        difference.second.c_str());
        for (const std::string& line : problems)
            std::printf("  %s\n", line.c_str());
        if (!fileOk && status == 0)
            status = 1;
    }
    return status;
}
