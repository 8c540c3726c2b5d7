// fr3check FILE...: does each template load without error and survive a save and a reload?
#include "report/model/RoundTrip.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "uso: fr3check ARCHIVO...\n");
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::printf("%s: no se puede leer\n", argv[i]);
            status = 2;
            continue;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto result = velkaro::report::checkRoundTrip(bytes, velkaro::userCodePage());
        if (result.ok()) {
            std::printf("%s: bien\n", argv[i]);
            continue;
        }
        if (status == 0)
            status = 1;
        std::printf("%s:\n", argv[i]);
        for (const auto& error : result.loadErrors)
            std::printf("  error al cargar: %s\n", error.describe().c_str());
        for (const auto& error : result.reloadErrors)
            std::printf("  error al cargar lo guardado: %s\n", error.describe().c_str());
        for (const auto& difference : result.differences)
            std::printf("  %s: \"%s\" -> \"%s\"\n", difference.path.c_str(), difference.first.c_str(),
                        difference.second.c_str());
    }
    return status;
}
