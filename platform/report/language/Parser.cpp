#include "report/language/Parser.h"

#include "base/AsciiCase.h"
#include "report/language/LanguageError.h"
#include "report/language/ParserDepth.h"

#include <algorithm>

namespace velkaro::report {

namespace {

std::string_view trimmedView(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

std::string describeToken(const Token& token) {
    switch (token.kind) {
    case TokenKind::End:
        return "el final de la expresión";
    case TokenKind::Identifier:
        return "'" + token.text + "'";
    case TokenKind::String:
        return "una cadena";
    case TokenKind::Integer:
    case TokenKind::Float:
        return "un número";
    case TokenKind::QuotedName:
        return "\"" + token.text + "\"";
    default:
        return "un símbolo";
    }
}

} // namespace

ExpressionParser::ExpressionParser(Lexer& lexer, const CompileEnvironment& environment)
    : lexer_(lexer), environment_(environment) {}

NodePointer ExpressionParser::parseExpression() {
    return expression().node;
}

void ExpressionParser::syntaxError(const std::string& message) const {
    throw CompileError(CompileErrorKind::Syntax, message, lexer_.current().position);
}

void ExpressionParser::expect(TokenKind kind, const char* what) {
    if (lexer_.current().kind != kind)
        syntaxError(std::string("Se esperaba ") + what + " y se encontró " + describeToken(lexer_.current()));
    lexer_.advance();
}

std::string ExpressionParser::sourceBetween(size_t begin, size_t end) const {
    const std::string_view source = lexer_.source();
    if (begin > source.size())
        return std::string();
    return std::string(trimmedView(source.substr(begin, end - begin)));
}

ExpressionParser::Parsed ExpressionParser::combine(NodePointer node, int childHeight) {
    if (childHeight + 1 > kMaximumHeight)
        throw CompileError(CompileErrorKind::TooComplex, "La expresión es demasiado compleja",
                           lexer_.current().position);
    return Parsed{std::move(node), childHeight + 1};
}

ExpressionParser::Parsed ExpressionParser::expression(ArrayUse arrays) {
    ParserDepthGuard guard(depth_, lexer_.current().position);
    Parsed left = simple(arrays);
    while (true) {
        const TokenKind kind = lexer_.current().kind;
        BinaryOperator op;
        if (kind == TokenKind::Equal)
            op = BinaryOperator::Equal;
        else if (kind == TokenKind::NotEqual)
            op = BinaryOperator::NotEqual;
        else if (kind == TokenKind::Less)
            op = BinaryOperator::Less;
        else if (kind == TokenKind::Greater)
            op = BinaryOperator::Greater;
        else if (kind == TokenKind::LessOrEqual)
            op = BinaryOperator::LessOrEqual;
        else if (kind == TokenKind::GreaterOrEqual)
            op = BinaryOperator::GreaterOrEqual;
        else if (lexer_.isWord("in")) {
            lexer_.advance();
            if (lexer_.current().kind != TokenKind::LeftBracket)
                syntaxError("Se esperaba un conjunto [...] después de 'in'");
            Parsed set = setConstructor();
            const int height = std::max(left.height, set.height);
            std::unique_ptr<ArrayNode> array(static_cast<ArrayNode*>(set.node.release()));
            left = combine(std::make_unique<MembershipNode>(std::move(left.node), std::move(array)), height);
            continue;
        } else {
            return left;
        }
        lexer_.advance();
        Parsed right = simple(ArrayUse::Refused);
        const int height = std::max(left.height, right.height);
        left = combine(std::make_unique<BinaryNode>(op, std::move(left.node), std::move(right.node)), height);
    }
}

ExpressionParser::Parsed ExpressionParser::simple(ArrayUse arrays) {
    Parsed left = term(arrays);
    while (true) {
        const TokenKind kind = lexer_.current().kind;
        std::optional<BinaryOperator> op;
        if (kind == TokenKind::Plus)
            op = BinaryOperator::Add;
        else if (kind == TokenKind::Minus)
            op = BinaryOperator::Subtract;
        else if (lexer_.isWord("or"))
            op = BinaryOperator::Or;
        else if (lexer_.isWord("xor"))
            op = BinaryOperator::Xor;
        if (!op)
            return left;
        lexer_.advance();
        left = binary(*op, std::move(left), term(ArrayUse::Refused));
    }
}

ExpressionParser::Parsed ExpressionParser::term(ArrayUse arrays) {
    Parsed left = factor(arrays);
    while (true) {
        const TokenKind kind = lexer_.current().kind;
        std::optional<BinaryOperator> op;
        if (kind == TokenKind::Star)
            op = BinaryOperator::Multiply;
        else if (kind == TokenKind::Slash)
            op = BinaryOperator::Divide;
        else if (lexer_.isWord("div"))
            op = BinaryOperator::IntegerDivide;
        else if (lexer_.isWord("mod"))
            op = BinaryOperator::Modulo;
        else if (lexer_.isWord("and"))
            op = BinaryOperator::And;
        else if (lexer_.isWord("shl"))
            op = BinaryOperator::ShiftLeft;
        else if (lexer_.isWord("shr"))
            op = BinaryOperator::ShiftRight;
        if (!op)
            return left;
        lexer_.advance();
        left = binary(*op, std::move(left), factor(ArrayUse::Refused));
    }
}

// "and" and "or" evaluate their right side only when the left does not decide.
ExpressionParser::Parsed ExpressionParser::binary(BinaryOperator op, Parsed left, Parsed right) {
    const int height = std::max(left.height, right.height);
    NodePointer node =
        (op == BinaryOperator::And || op == BinaryOperator::Or)
            ? NodePointer(std::make_unique<ShortCircuitNode>(op, std::move(left.node), std::move(right.node)))
            : NodePointer(std::make_unique<BinaryNode>(op, std::move(left.node), std::move(right.node)));
    return combine(std::move(node), height);
}

ExpressionParser::Parsed ExpressionParser::factor(ArrayUse arrays) {
    ParserDepthGuard guard(depth_, lexer_.current().position);
    std::optional<UnaryOperator> op;
    if (lexer_.isWord("not"))
        op = UnaryOperator::Not;
    else if (lexer_.current().kind == TokenKind::Minus)
        op = UnaryOperator::Negate;
    else if (lexer_.current().kind == TokenKind::Plus)
        op = UnaryOperator::Plus;
    if (!op)
        return postfix(arrays);
    lexer_.advance();
    Parsed operand = factor(ArrayUse::Refused);
    if (*op == UnaryOperator::Negate) {
        // -5 is a literal, not an operation per row.
        if (const Variant* value = operand.node->constantValue()) {
            if (value->type() == Variant::Type::Integer && value->asInteger() != INT64_MIN)
                return Parsed{std::make_unique<LiteralNode>(Variant(-value->asInteger())), 1};
            if (value->type() == Variant::Type::Float)
                return Parsed{std::make_unique<LiteralNode>(Variant(-value->asFloat())), 1};
        }
    }
    return combine(std::make_unique<UnaryNode>(*op, std::move(operand.node)), operand.height);
}

ExpressionParser::Parsed ExpressionParser::postfix(ArrayUse arrays) {
    Parsed base = primary(arrays);
    while (lexer_.current().kind == TokenKind::LeftBracket && !dynamic_cast<ArrayNode*>(base.node.get())) {
        lexer_.advance();
        Parsed index = expression();
        expect(TokenKind::RightBracket, "']'");
        const int height = std::max(base.height, index.height);
        base = combine(std::make_unique<IndexNode>(std::move(base.node), std::move(index.node)), height);
    }
    return base;
}

ExpressionParser::Parsed ExpressionParser::primary(ArrayUse arrays) {
    const Token& token = lexer_.current();
    switch (token.kind) {
    case TokenKind::Integer: {
        Parsed parsed{std::make_unique<LiteralNode>(Variant(token.integer)), 1};
        lexer_.advance();
        return parsed;
    }
    case TokenKind::Float: {
        Parsed parsed{std::make_unique<LiteralNode>(Variant(token.real)), 1};
        lexer_.advance();
        return parsed;
    }
    case TokenKind::String: {
        Parsed parsed{std::make_unique<LiteralNode>(Variant(token.text)), 1};
        lexer_.advance();
        return parsed;
    }
    case TokenKind::LeftParen: {
        lexer_.advance();
        Parsed inner = expression();
        expect(TokenKind::RightParen, "')'");
        return inner;
    }
    case TokenKind::Less:
        return angleReference();
    case TokenKind::LeftBracket:
        if (arrays == ArrayUse::Refused)
            syntaxError("Un conjunto [...] no se permite aquí");
        return setConstructor();
    case TokenKind::Identifier:
        if (lexer_.isWord("nil")) {
            lexer_.advance();
            return Parsed{std::make_unique<LiteralNode>(Variant()), 1};
        }
        return identifierChain();
    case TokenKind::QuotedName:
        syntaxError("Falta el nombre del conjunto de datos antes de \"" + token.text + "\"");
    case TokenKind::End:
        syntaxError("La expresión está incompleta");
    default:
        syntaxError("Se esperaba un valor y se encontró " + describeToken(token));
    }
}

ExpressionParser::Parsed ExpressionParser::setConstructor() {
    const size_t position = lexer_.current().position;
    ParserDepthGuard guard(depth_, position);
    lexer_.advance(); // [
    std::vector<ArrayNode::Item> items;
    int height = 0;
    if (lexer_.current().kind != TokenKind::RightBracket) {
        while (true) {
            Parsed first = expression();
            height = std::max(height, first.height);
            ArrayNode::Item item{std::move(first.node), nullptr};
            if (lexer_.current().kind == TokenKind::DotDot) {
                lexer_.advance();
                Parsed last = expression();
                height = std::max(height, last.height);
                item.last = std::move(last.node);
            }
            items.push_back(std::move(item));
            if (lexer_.current().kind != TokenKind::Comma)
                break;
            lexer_.advance();
        }
    }
    expect(TokenKind::RightBracket, "']'");
    return combine(std::make_unique<ArrayNode>(std::move(items)), height);
}

ExpressionParser::Parsed ExpressionParser::identifierChain() {
    const size_t position = lexer_.current().position;
    std::string name = lexer_.current().text;
    lexer_.advance();
    if (lexer_.current().kind == TokenKind::Dot) {
        lexer_.advance();
        if (lexer_.current().kind == TokenKind::QuotedName) {
            const std::string fieldName = lexer_.current().text;
            lexer_.advance();
            return field(name, fieldName, position);
        }
        while (true) {
            if (lexer_.current().kind != TokenKind::Identifier)
                syntaxError("Se esperaba un nombre después de '.'");
            name += '.';
            name += lexer_.current().text;
            lexer_.advance();
            if (lexer_.current().kind != TokenKind::Dot)
                break;
            lexer_.advance();
        }
    }
    if (lexer_.current().kind == TokenKind::LeftParen)
        return call(name, position);
    return resolveName(name, position);
}

ExpressionParser::Parsed ExpressionParser::angleReference() {
    const size_t position = lexer_.current().position;
    const std::string reference = lexer_.readAngleReference();
    const std::string_view content = trimmedView(reference);
    const size_t split = content.find(".\"");
    if (split != std::string_view::npos && content.size() > split + 2 && content.back() == '"') {
        const std::string dataset(trimmedView(content.substr(0, split)));
        std::string fieldName(content.substr(split + 2, content.size() - split - 3));
        return field(dataset, fieldName, position);
    }
    if (content.empty())
        throw CompileError(CompileErrorKind::Syntax, "Referencia vacía <>", position);
    return resolveName(std::string(content), position);
}

ExpressionParser::Parsed ExpressionParser::field(const std::string& dataset, const std::string& fieldName,
                                                 size_t position) {
    if (const auto handle = environment_.host.bindField(dataset, fieldName))
        return Parsed{std::make_unique<FieldNode>(*handle), 1};
    throw CompileError(CompileErrorKind::UnknownName,
                       "Campo desconocido: " + dataset + ".\"" + fieldName + "\"", position);
}

ExpressionParser::Parsed ExpressionParser::resolveName(const std::string& name, size_t position) {
    const bool dotted = name.find('.') != std::string::npos;
    if (environment_.scope && !dotted) {
        if (const auto slot = environment_.scope->find(name))
            return Parsed{std::make_unique<LocalNode>(*slot), 1};
    }
    if (const auto handle = environment_.host.bindName(name))
        return Parsed{std::make_unique<NameNode>(*handle), 1};
    if (const auto variable = findSystemVariable(name))
        return Parsed{std::make_unique<SystemVariableNode>(*variable), 1};
    if (const Variant* constant = environment_.functions.findConstant(name))
        return Parsed{std::make_unique<LiteralNode>(*constant), 1};
    const auto function = environment_.functions.findFunction(name);
    if (function && function->minimumArguments() == 0)
        return Parsed{std::make_unique<CallNode>(function, std::vector<NodePointer>{}), 1};
    if (const auto handle = environment_.host.bindUndeclaredName(name))
        return Parsed{std::make_unique<NameNode>(*handle), 1};
    if (function)
        throw CompileError(CompileErrorKind::WrongArguments,
                           "La función " + function->name() + " necesita parámetros", position);
    if (environment_.functions.isHostApplicationFunction(name))
        throw CompileError(CompileErrorKind::HostApplicationFunction,
                           "La función " + name +
                               " la proporciona la aplicación para la que se escribió la plantilla "
                               "y no está disponible aquí",
                           position);
    throw CompileError(CompileErrorKind::UnknownName, "Identificador desconocido: " + name, position);
}

CompiledExpression compileExpression(std::string_view text, const CompileEnvironment& environment) {
    Lexer lexer(text);
    ExpressionParser parser(lexer, environment);
    NodePointer root = parser.parseExpression();
    if (lexer.current().kind != TokenKind::End)
        throw CompileError(CompileErrorKind::Syntax,
                           "Sobra texto al final de la expresión: '" +
                               std::string(text.substr(lexer.current().position, 40)) + "'",
                           lexer.current().position);
    return CompiledExpression(std::shared_ptr<const ExpressionNode>(std::move(root)), std::string(text));
}

} // namespace velkaro::report
