// Fuzz target: report texts and display patterns from templates are outside input. Compiles and
// evaluates them with a host that answers every name, and formats values with them. Failures
// must be velkaro::Error; anything else (a crash, a hang, another exception) is a finding.
#include "base/Error.h"
#include "report/language/CompiledText.h"
#include "report/language/DateTimeText.h"
#include "report/language/NumberFormat.h"
#include "report/language/TemplateExpressions.h"

#include <cstdint>
#include <string>

namespace {

using namespace velkaro::report;

// Every field and name exists; their values depend on the handle so all kinds show up.
class AnyNameHost final : public ExpressionHost {
public:
    std::optional<FieldHandle> bindField(std::string_view dataset, std::string_view field) override {
        return FieldHandle{dataset.size() + field.size()};
    }
    std::optional<NameHandle> bindName(std::string_view name) override { return NameHandle{name.size()}; }
    std::optional<AggregateHandle> bindAggregate(const AggregateDefinition& definition) override {
        return AggregateHandle{definition.bandName.size()};
    }
    Variant fieldValue(FieldHandle field) override { return sample(field.id); }
    Variant nameValue(NameHandle name, EvaluationContext&) override { return sample(name.id + 3); }
    Variant aggregateValue(AggregateHandle aggregate) override { return sample(aggregate.id + 5); }

private:
    static Variant sample(uint64_t id) {
        switch (id % 8) {
        case 0:
            return Variant();
        case 1:
            return Variant(int64_t(42));
        case 2:
            return Variant(-1234.5678);
        case 3:
            return Variant(Currency{123456789});
        case 4:
            return Variant(DateTime{45306.25});
        case 5:
            return Variant("12.5");
        case 6:
            return Variant("texto");
        default:
            return Variant(true);
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int mode = data[0] % 4;
    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
    static const FunctionRegistry functions = standardFunctions();
    AnyNameHost host;
    FixedSystemVariables system;
    system.setNow(45306.5);
    EvaluationContext context(host, system);
    const CompileEnvironment environment{host, functions};
    DiagnosticList diagnostics;
    try {
        switch (mode) {
        case 0: {
            const CompiledExpression expression = compileExpression(input, environment);
            (void)expression.evaluate(context);
            break;
        }
        case 1: {
            const CompiledText text =
                CompiledText::compile("Memo1", input, TextOptions{}, environment, diagnostics);
            const DisplayFormat format{DisplayKind::Numeric, "%2.2n", ",", ""};
            (void)text.evaluate(context, TextFormats{&format}, diagnostics);
            break;
        }
        case 2: {
            const velkaro::FormatSettings& settings = context.format();
            const Variant values[] = {Variant(int64_t(-7)), Variant(1234567.891), Variant("abc"),
                                      Variant(true)};
            (void)formatFloat(input, -1234567.891, settings);
            (void)formatFloat(input, 0.0, settings);
            (void)formatArguments(input, values, context.rules());
            (void)formatDateTime(input, 45306.75, settings);
            (void)parseDateTimeText(input, settings);
            for (const DisplayKind kind : {DisplayKind::Numeric, DisplayKind::DateTime, DisplayKind::Boolean})
                (void)formatDisplayValue(values[1], DisplayFormat{kind, input, "", ""}, ZeroDisplay::Hide,
                                         context.rules());
            break;
        }
        default:
            (void)checkTemplateExpressions(input, functions);
            break;
        }
    } catch (const velkaro::Error&) {
        // A clear error is the expected outcome for bad input.
    }
    return 0;
}
