// Function calls, IIF and aggregates of the expression parser.
#include "base/AsciiCase.h"
#include "report/language/LanguageError.h"
#include "report/language/Parser.h"
#include "report/language/ParserDepth.h"

#include <algorithm>

namespace velkaro::report {

namespace {

std::optional<AggregateFunction> aggregateNamed(std::string_view name) {
    if (equalsIgnoreAsciiCase(name, "SUM"))
        return AggregateFunction::Sum;
    if (equalsIgnoreAsciiCase(name, "COUNT"))
        return AggregateFunction::Count;
    if (equalsIgnoreAsciiCase(name, "AVG"))
        return AggregateFunction::Average;
    if (equalsIgnoreAsciiCase(name, "MIN"))
        return AggregateFunction::Minimum;
    if (equalsIgnoreAsciiCase(name, "MAX"))
        return AggregateFunction::Maximum;
    return std::nullopt;
}

} // namespace

ExpressionParser::Parsed ExpressionParser::call(const std::string& name, size_t position) {
    if (const auto function = aggregateNamed(name))
        return aggregate(*function, name, position);
    ParserDepthGuard guard(depth_, position);
    if (equalsIgnoreAsciiCase(name, "IIF")) {
        lexer_.advance(); // (
        std::vector<Parsed> parts;
        if (lexer_.current().kind != TokenKind::RightParen) {
            while (true) {
                parts.push_back(expression());
                if (lexer_.current().kind != TokenKind::Comma)
                    break;
                lexer_.advance();
            }
        }
        expect(TokenKind::RightParen, "')'");
        if (parts.size() != 3)
            throw CompileError(CompileErrorKind::WrongArguments, "IIF espera 3 parámetros", position);
        const int height = std::max({parts[0].height, parts[1].height, parts[2].height});
        return combine(std::make_unique<ConditionalNode>(std::move(parts[0].node), std::move(parts[1].node),
                                                         std::move(parts[2].node)),
                       height);
    }
    const auto function = environment_.functions.findFunction(name);
    if (!function) {
        if (environment_.functions.isHostApplicationFunction(name))
            throw CompileError(
                CompileErrorKind::HostApplicationFunction,
                "La función " + name +
                    " la proporciona la aplicación para la que se escribió la plantilla y no está "
                    "disponible aquí",
                position);
        throw CompileError(CompileErrorKind::UnknownFunction, "Función desconocida: " + name, position);
    }
    lexer_.advance(); // (
    std::vector<NodePointer> arguments;
    int height = 0;
    if (lexer_.current().kind != TokenKind::RightParen) {
        while (true) {
            const size_t index = arguments.size();
            const ParameterMode mode = function->mode(index);
            const size_t argumentPosition = lexer_.current().position;
            Parsed argument =
                expression(mode == ParameterMode::OpenArray ? ArrayUse::Allowed : ArrayUse::Refused);
            if (mode == ParameterMode::Reference && !argument.node->localSlot())
                throw CompileError(CompileErrorKind::WrongArguments,
                                   "El parámetro " + std::to_string(index + 1) + " de " + function->name() +
                                       " debe ser una variable",
                                   argumentPosition);
            height = std::max(height, argument.height);
            arguments.push_back(std::move(argument.node));
            if (lexer_.current().kind != TokenKind::Comma)
                break;
            lexer_.advance();
        }
    }
    expect(TokenKind::RightParen, "')'");
    const auto count = static_cast<int>(arguments.size());
    const int minimum = function->minimumArguments();
    const int maximum = function->maximumArguments();
    if (count < minimum || (maximum >= 0 && count > maximum)) {
        std::string expected = minimum == maximum ? std::to_string(minimum)
                               : maximum < 0
                                   ? "al menos " + std::to_string(minimum)
                                   : "de " + std::to_string(minimum) + " a " + std::to_string(maximum);
        throw CompileError(CompileErrorKind::WrongArguments,
                           function->name() + " espera " + expected + " parámetros y recibió " +
                               std::to_string(count),
                           position);
    }
    return combine(std::make_unique<CallNode>(function, std::move(arguments)), height);
}

ExpressionParser::Parsed ExpressionParser::aggregate(AggregateFunction function, const std::string& name,
                                                     size_t position) {
    ParserDepthGuard guard(depth_, position);
    lexer_.advance(); // (
    AggregateDefinition definition;
    definition.function = function;
    const bool minOrMax = function == AggregateFunction::Minimum || function == AggregateFunction::Maximum;

    // A bare band name followed by "," or ")": reads it, or leaves the lexer untouched.
    auto readBandName = [&]() -> std::optional<std::string> {
        if (lexer_.current().kind != TokenKind::Identifier)
            return std::nullopt;
        const Lexer saved = lexer_;
        std::string band = lexer_.current().text;
        lexer_.advance();
        if (lexer_.current().kind == TokenKind::Comma || lexer_.current().kind == TokenKind::RightParen)
            return band;
        lexer_ = saved;
        return std::nullopt;
    };
    auto readFlags = [&]() {
        if (lexer_.current().kind != TokenKind::Comma)
            return;
        lexer_.advance();
        Parsed flags = expression();
        const Variant* value = flags.node->constantValue();
        if (!value || value->type() != Variant::Type::Integer)
            throw CompileError(CompileErrorKind::WrongArguments,
                               name + ": el tercer parámetro debe ser un número entero", position);
        definition.flags = static_cast<int>(value->asInteger());
    };

    int argumentHeight = 0;
    std::optional<Lexer> secondArgument; // where MIN/MAX's second parameter starts
    if (function == AggregateFunction::Count) {
        if (lexer_.current().kind != TokenKind::RightParen) {
            const auto band = readBandName();
            if (!band)
                syntaxError("COUNT espera el nombre de una banda");
            definition.bandName = *band;
            readFlags();
        }
    } else {
        const size_t argumentStart = lexer_.current().position;
        Parsed argument = expression();
        argumentHeight = argument.height;
        definition.argumentText = sourceBetween(argumentStart, lexer_.current().position);
        definition.argument = std::shared_ptr<const ExpressionNode>(std::move(argument.node));
        if (lexer_.current().kind == TokenKind::Comma) {
            lexer_.advance();
            secondArgument = lexer_;
            if (const auto band = readBandName()) {
                definition.bandName = *band;
                readFlags();
            } else if (!minOrMax) {
                syntaxError(name + " espera el nombre de una banda como segundo parámetro");
            }
        }
    }

    const bool twoValues = minOrMax && secondArgument && definition.flags == 0 &&
                           (definition.bandName.empty() || lexer_.current().kind == TokenKind::RightParen);
    if (!(twoValues && definition.bandName.empty())) {
        const Lexer afterArguments = lexer_;
        expect(TokenKind::RightParen, "')'");
        if (const auto handle = environment_.host.bindAggregate(definition))
            return combine(std::make_unique<AggregateNode>(*handle), argumentHeight);
        if (!twoValues)
            throw CompileError(CompileErrorKind::UnknownName,
                               definition.bandName.empty()
                                   ? name + " no puede calcularse aquí"
                                   : name + ": la banda '" + definition.bandName + "' no existe",
                               position);
        lexer_ = afterArguments;
    }
    // MIN(a, b) with b not a band: the function of two values.
    lexer_ = *secondArgument;
    Parsed second = expression();
    expect(TokenKind::RightParen, "')'");
    const auto pairFunction =
        environment_.functions.findFunction(function == AggregateFunction::Minimum ? "Min" : "Max");
    if (!pairFunction)
        throw CompileError(CompileErrorKind::UnknownFunction, "Función desconocida: " + name, position);
    std::vector<NodePointer> arguments;
    arguments.push_back(std::make_unique<SharedNode>(definition.argument));
    arguments.push_back(std::move(second.node));
    return combine(std::make_unique<CallNode>(pairFunction, std::move(arguments)),
                   std::max(argumentHeight, second.height));
}

} // namespace velkaro::report
