// Parses a generated data document and walks every cell, printing throughput and memory.
#include "json/Parse.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using velkaro::CodePage;
namespace json = velkaro::json;

namespace {

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N]) { return items[below(N)]; }

private:
    std::uint64_t state_;
};

const char* const kNames[] = {"María",  "José",  "Ángel", "Inés",  "Begoña", "Íñigo",  "Adrián", "Lucía",
                              "Martín", "Sofía", "Raúl",  "Nuria", "Óscar",  "Mónica", "Jesús",  "Rocío"};
const char* const kSurnames[] = {"García",    "Fernández", "González", "Rodríguez", "López",  "Martínez",
                                 "Sánchez",   "Pérez",     "Gómez",    "Jiménez",   "Muñoz",  "Álvarez",
                                 "Domínguez", "Vázquez",   "Núñez",    "Ibáñez",    "Cañete", "Zúñiga"};
const char* const kCities[] = {"Madrid", "Barcelona", "València", "Sevilla",         "Zaragoza",
                               "Málaga", "Córdoba",   "A Coruña", "Vitoria-Gasteiz", "Alcalá de Henares",
                               "Logroño"};
const char* const kStreets[] = {"Calle Mayor",     "Avenida de la Constitución",
                                "Paseo del Prado", "Calle de Alcalá",
                                "Plaza de España", "Ronda de Segovia"};
const char* const kNotes[] = {"",
                              "Cliente preferente desde hace años",
                              "Pago a 30 días fecha factura, giro bancario",
                              "Revisar dirección de \\\"envío\\\" antes del próximo pedido",
                              "Factura/albarán pendiente de firma",
                              "Sin observaciones",
                              "Entregar por la mañana, llamar antes al teléfono fijo"};

// {"params":{...},"qry":{"q":{"fields":[...],"types":[...],"data":[[...],...]}}}
std::string generateDocument(std::size_t rows) {
    std::string out;
    out.reserve(rows * 215 + 512); // a little above the size, as a download buffer has
    out += R"({"params":{"titulo":"Listado de clientes"},"qry":{"q":{)"
           R"("fields":["id","nombre","ciudad","saldo","alta","telefono","direccion","notas"],)"
           R"("types":["I","S","S","N","S","S","S","S"],"data":[)";
    Random random(20240115);
    char buffer[256];
    for (std::size_t row = 0; row < rows; ++row) {
        if (row > 0)
            out += ',';
        const int decimals = 2 + static_cast<int>(random.below(3));
        long long units = static_cast<long long>(random.below(20000));
        if (random.below(100) < 15)
            units = -units;
        std::snprintf(buffer, sizeof buffer,
                      "[%zu,\"%s %s, %s\",\"%s\",\"%lld.%0*llu\",\"%04zu-%02zu-%02zu\",", row + 1,
                      random.pick(kSurnames), random.pick(kSurnames), random.pick(kNames),
                      random.pick(kCities), units, decimals,
                      static_cast<unsigned long long>(random.below(10000) % (decimals == 2   ? 100
                                                                             : decimals == 3 ? 1000
                                                                                             : 10000)),
                      2000 + random.below(25), 1 + random.below(12), 1 + random.below(28));
        out += buffer;
        std::snprintf(buffer, sizeof buffer,
                      "\"fijo +34 9%02zu %03zu %03zu / móvil 6%02zu %03zu %03zu\",\"%s, %zu, %zuº %c, %05zu "
                      "%s\",\"%s\"]",
                      random.below(100), random.below(1000), random.below(1000), random.below(100),
                      random.below(1000), random.below(1000), random.pick(kStreets), 1 + random.below(200),
                      1 + random.below(9), static_cast<char>('A' + random.below(6)),
                      1000 + random.below(51000), random.pick(kCities), random.pick(kNotes));
        out += buffer;
    }
    out += "]}}}";
    return out;
}

long peakRssKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double rssMegabytes(long kilobytes) {
    return static_cast<double>(kilobytes) / 1024.0;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t rows = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 250'000;
    constexpr std::size_t columns = 8;
    constexpr int runs = 5;

    std::string document = generateDocument(rows);
    const std::size_t textBytes = document.size();
    const double megabytes = static_cast<double>(textBytes) / 1e6;
    std::printf("document: %zu rows x %zu columns, %zu bytes (%.1f MB)\n", rows, columns, textBytes,
                megabytes);
    std::printf("peak RSS after generating: %.1f MB\n", rssMegabytes(peakRssKilobytes()));

    // Each run takes a freshly generated body over, as the data download hands its reply over.
    std::vector<double> parseSeconds;
    json::Value root;
    for (int run = 0; run < runs; ++run) {
        if (run > 0)
            document = generateDocument(rows);
        const auto start = std::chrono::steady_clock::now();
        root = json::parse(std::move(document), CodePage::Windows1252);
        parseSeconds.push_back(secondsSince(start));
        if (!root) {
            std::fprintf(stderr, "the document did not parse\n");
            return 1;
        }
        if (run == 0)
            std::printf("peak RSS after the first parse: %.1f MB\n", rssMegabytes(peakRssKilobytes()));
        root = json::Value();
    }
    document = generateDocument(rows);
    root = json::parse(std::move(document), CodePage::Windows1252);
    std::sort(parseSeconds.begin(), parseSeconds.end());
    std::printf("parse: best %.1f ms (%.0f MB/s), median %.1f ms (%.0f MB/s) over %d runs\n",
                parseSeconds.front() * 1e3, megabytes / parseSeconds.front(), parseSeconds[runs / 2] * 1e3,
                megabytes / parseSeconds[runs / 2], runs);

    const std::size_t treeBytes = root.documentBytes();
    std::printf("document memory: %zu bytes, %.2f x the text\n", treeBytes,
                static_cast<double>(treeBytes) / static_cast<double>(textBytes));

    // The engine's way: the query object held, rows and cells by index, each cell's text form.
    const json::Value query = root.lookup("qry.q");
    root = json::Value(); // the dataset keeps the document alive through its query object
    const json::Value data = query.member("data");
    std::string cell;
    std::size_t textLength = 0;
    auto start = std::chrono::steady_clock::now();
    for (std::size_t row = 0; row < data.size(); ++row) {
        const json::Value record = data.at(row);
        for (std::size_t column = 0; column < columns; ++column) {
            cell.clear();
            record.at(column).appendText(cell);
            textLength += cell.size();
        }
    }
    double seconds = secondsSince(start);
    const double cells = static_cast<double>(data.size() * columns);
    std::printf("walk by index: %.0f cells in %.1f ms (%.1f ns/cell, %zu text bytes)\n", cells, seconds * 1e3,
                seconds * 1e9 / cells, textLength);

    // The same walk through path texts, as "data[i]" and then the cell index.
    std::size_t pathLength = 0;
    start = std::chrono::steady_clock::now();
    for (std::size_t row = 0; row < data.size(); ++row) {
        for (std::size_t column = 0; column < columns; ++column) {
            cell.clear();
            query.lookup("data[" + std::to_string(row) + "][" + std::to_string(column) + "]")
                .appendText(cell);
            pathLength += cell.size();
        }
    }
    seconds = secondsSince(start);
    std::printf("walk by path text: %.1f ms (%.1f ns/cell)%s\n", seconds * 1e3, seconds * 1e9 / cells,
                pathLength == textLength ? "" : "  MISMATCH");

    std::printf("peak RSS: %.1f MB\n", rssMegabytes(peakRssKilobytes()));
    return pathLength == textLength ? 0 : 1;
}
