// Load and save speed of the template model on a real template.
#include "report/model/Report.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const std::string path =
        argc > 1 ? argv[1] : std::string(VELKARO_CORPUS_DIR) + "/22-cactuspv-FacturaTicket.fr3";
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 50;
    std::ifstream in(path, std::ios::binary);
    if (!in || rounds <= 0) {
        std::fprintf(stderr, "uso: bench_fr3 [ARCHIVO] [VUELTAS]\n");
        return 2;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    velkaro::report::Report report(nullptr, velkaro::CodePage::Windows1252);

    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        if (!report.load(bytes)) {
            std::fprintf(stderr, "%s: errores al cargar\n", path.c_str());
            return 1;
        }
    }
    const double loadSeconds = secondsSince(start) / rounds;

    std::string saved;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        saved = report.save();
    const double saveSeconds = secondsSince(start) / rounds;

    size_t components = 0;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        const auto snapshot = report.snapshot();
        components = 0;
        velkaro::report::walkTree(*snapshot.root, [&](const velkaro::report::Component&, size_t) {
            ++components;
            return true;
        });
    }
    const double copySeconds = secondsSince(start) / rounds;

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double megabytes = double(bytes.size()) / 1e6;
    std::printf("file: %s (%zu bytes, %zu components, saved %zu bytes), %d rounds\n", path.c_str(),
                bytes.size(), components, saved.size(), rounds);
    std::printf("load: %.3f ms  (%.1f MB/s)\n", loadSeconds * 1e3, megabytes / loadSeconds);
    std::printf("save: %.3f ms  (%.1f MB/s)\n", saveSeconds * 1e3, double(saved.size()) / 1e6 / saveSeconds);
    std::printf("copy: %.3f ms  (snapshot of the template)\n", copySeconds * 1e3);
    std::printf("peak RSS: %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
