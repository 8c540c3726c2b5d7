// Compile once, evaluate per row: the texts of a 100-object band over 1,000,000 rows.
#include "report/language/CompiledText.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace velkaro::report;
using Clock = std::chrono::steady_clock;

constexpr size_t kDatasetRows = 10'000;
const char* const kColumns[] = {"id", "name", "amount", "price", "qty", "date", "city", "flag"};

// The in-memory dataset: fields are resolved to column numbers when a text is compiled.
class TableHost final : public ExpressionHost {
public:
    TableHost() {
        const char* const cities[] = {"Lima", "Quito", "Bogotá", "Santiago", "Montevideo"};
        rows_.reserve(kDatasetRows);
        for (size_t r = 0; r < kDatasetRows; ++r) {
            rows_.push_back({Variant(int64_t(r + 1)), Variant("Cliente número " + std::to_string(r)),
                             Variant(Currency{int64_t(r) * 12345 % 100000000}),
                             Variant(double(r) * 1.25 + 0.5), Variant(int64_t(r % 11)),
                             Variant(DateTime{45000.0 + double(r % 365)}), Variant(cities[r % 5]),
                             Variant(r % 2 == 0)});
        }
    }
    void setRow(size_t row) { current_ = &rows_[row % rows_.size()]; }

    std::optional<FieldHandle> bindField(std::string_view dataset, std::string_view field) override {
        if (dataset != "ds")
            return std::nullopt;
        for (uint64_t c = 0; c < std::size(kColumns); ++c) {
            if (field == kColumns[c])
                return FieldHandle{c};
        }
        return std::nullopt;
    }
    std::optional<NameHandle> bindName(std::string_view) override { return std::nullopt; }
    Variant fieldValue(FieldHandle field) override { return (*current_)[field.id]; }
    Variant nameValue(NameHandle, EvaluationContext&) override { return Variant(); }

private:
    std::vector<std::vector<Variant>> rows_;
    const std::vector<Variant>* current_ = nullptr;
};

struct BandObject {
    std::string text;
    DisplayFormat format;
};

std::vector<BandObject> bandObjects() {
    std::vector<BandObject> objects;
    for (int i = 0; i < 60; ++i)
        objects.push_back({std::string("[ds.\"") + kColumns[i % 8] + "\"]", {}});
    for (int i = 0; i < 10; ++i)
        objects.push_back({"[<ds.\"amount\">]", DisplayFormat{DisplayKind::Numeric, "%2.2n", "", ""}});
    for (int i = 0; i < 10; ++i)
        objects.push_back({"Precio: [<ds.\"price\"> #n,0.00##]", {}});
    for (int i = 0; i < 10; ++i)
        objects.push_back({"[IIF(<ds.\"qty\"> > 5, 'mucho', 'poco')]", {}});
    for (int i = 0; i < 10; ++i)
        objects.push_back({"[<ds.\"name\"> + ' - ' + <ds.\"city\">]", {}});
    return objects;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void run(const char* title, const std::vector<BandObject>& objects, size_t rows) {
    TableHost host;
    FixedSystemVariables system;
    const FunctionRegistry functions = standardFunctions();
    const CompileEnvironment environment{host, functions};
    DiagnosticList diagnostics;

    const auto compileStart = Clock::now();
    std::vector<CompiledText> texts;
    texts.reserve(objects.size());
    for (size_t i = 0; i < objects.size(); ++i)
        texts.push_back(CompiledText::compile("Memo" + std::to_string(i), objects[i].text, TextOptions{},
                                              environment, diagnostics));
    const double compileSeconds = secondsSince(compileStart);

    EvaluationContext context(host, system);
    size_t checksum = 0;
    const auto start = Clock::now();
    for (size_t row = 0; row < rows; ++row) {
        host.setRow(row);
        for (size_t i = 0; i < texts.size(); ++i) {
            const TextFormats formats{objects[i].format.kind == DisplayKind::Text ? nullptr
                                                                                  : &objects[i].format};
            checksum += texts[i].evaluate(context, formats, diagnostics).size();
        }
    }
    const double seconds = secondsSince(start);
    const double evaluations = double(rows) * double(texts.size());
    std::printf("%s\n", title);
    std::printf("  compile %zu texts: %.3f ms\n", texts.size(), compileSeconds * 1e3);
    std::printf(
        "  %zu rows x %zu texts in %.3f s: %.0f rows/s, %.1f ns per expression, %.2f million expressions/s\n",
        rows, texts.size(), seconds, double(rows) / seconds, seconds * 1e9 / evaluations,
        evaluations / seconds / 1e6);
    std::printf("  output bytes %zu, diagnostics %zu\n", checksum, diagnostics.size());
}

} // namespace

int main(int argc, char** argv) {
    const size_t rows = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1'000'000;
    const std::vector<BandObject> mixed = bandObjects();
    run("band of 100 objects (60 fields, 20 formatted numbers, 10 IIF, 10 concatenations)", mixed, rows);
    std::vector<BandObject> fields(mixed.begin(), mixed.begin() + 60);
    fields.insert(fields.end(), mixed.begin(), mixed.begin() + 40);
    run("band of 100 plain field substitutions (all eight column kinds)", fields, rows);
    const std::vector<BandObject> texts(100, BandObject{"[ds.\"city\"]", {}});
    run("band of 100 text field substitutions", texts, rows);
    return 0;
}
