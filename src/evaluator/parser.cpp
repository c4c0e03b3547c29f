#include "evaluator/parser.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/functions.h"
#include "evaluator/matrixexpr.h"
#include "base/numtext.h"
#include "evaluator/statistics.h"
#include "log/trace.h"

namespace zrt {

namespace {

struct ParserState {
    int depth = 0;
};

ParserState& parserState() {
    static ParserState state;
    return state;
}

// Binding of a binary operator: it applies while the level being parsed is at
// most `bound`; its right operand is parsed at level `right`.
struct Binding {
    int bound;
    int right;
};

Binding bindingOf(Tok t) {
    switch (t) {
        case Tok::Caret: return {11, 12};
        case Tok::Star:
        case Tok::Slash: return {10, 11};
        case Tok::Backslash: return {9, 10};
        case Tok::Mod: return {8, 9};
        case Tok::Plus:
        case Tok::Minus: return {7, 8};
        case Tok::Equal:
        case Tok::Less:
        case Tok::Greater:
        case Tok::NotEqual:
        case Tok::LessEqual:
        case Tok::GreaterEqual: return {6, 7};
        case Tok::And: return {5, 6};
        case Tok::Or: return {4, 5};
        case Tok::Xor: return {3, 4};
        default: return {0, 0};  // not an operator: ends the operator loop
    }
}

double parse(int level, unsigned char* type, const Token& tok, bool trace);

// Truncation toward zero to a 32-bit integer; false when the value has none
// (out of range, infinite or not a number), where a cast would be undefined.
bool truncInt32(double v, std::int64_t& out) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return false;
    out = static_cast<std::int64_t>(std::trunc(v));
    return true;
}

// Operators with integer, logical or comparison meaning take numbers only: the
// value of a matrix operand is the address of its elements.
[[gnu::noinline]] bool numbersOnly(Tok op, unsigned char typeA, unsigned char typeB) {
    if ((typeA | typeB) == kNumberType) return true;
    fail(ErrorCode::ConditionNotFound, "e_prs",
         "Operator '" + tokenText(op) + "' takes numbers, not matrices\r\nnnTp = " +
             std::to_string(typeA) + "\r\nn2Tp = " + std::to_string(typeB) + "\r\n");
    return false;
}

[[gnu::noinline]] void syntaxError() {
    if (eError() != ErrorCode::None) return;
    const std::string element = currentElement();
    fail(ErrorCode::ParserSyntax, "e_prs", "Syntax error, token = '" + element + "'");
    if (messageSwitch() & 1) {
        showEvalErrorKeeping("Procedure: e_prs\r\nSyntax error, token = '" + element +
                             "'\r\n\r\nDebug:\r\n" + errorLog());
    }
}

[[gnu::noinline]] void nestingTooDeep() {
    fail(ErrorCode::ParserSyntax, "e_prs",
         "The formula nests deeper than " + std::to_string(kMaxNesting) +
             " levels of brackets, function calls or signs");
}

double integerQuotient(double a, double b, unsigned char* type, unsigned char typeB) {
    if (!numbersOnly(Tok::Backslash, *type, typeB)) return a;
    if (b == 0) {
        fail(ErrorCode::DivisionByZero, "e_prs", "Integer division by zero, token = '\\'");
        return a;
    }
    const double q = std::trunc(a / b);
    if (!(q >= -2147483648.0 && q <= 2147483647.0)) {
        fail(ErrorCode::InvalidArgument, "e_prs",
             "The integer quotient " + shortNumber(a / b) + " is outside the 32-bit range");
        return a;
    }
    return q;
}

double integerRemainder(double a, double b, unsigned char* type, unsigned char typeB) {
    if (!numbersOnly(Tok::Mod, *type, typeB)) return a;
    std::int64_t x, y;
    if (!truncInt32(a, x) || !truncInt32(b, y)) {
        fail(ErrorCode::InvalidArgument, "e_prs",
             "Operands of mod must be 32-bit integers: " + shortNumber(a) + " mod " +
                 shortNumber(b));
        return a;
    }
    if (y == 0) {
        fail(ErrorCode::DivisionByZero, "e_prs",
             "Division by zero in " + shortNumber(a) + " mod " + shortNumber(b));
        return a;
    }
    // In 64 bits the remainder of -2147483648 by -1 is defined too.
    return static_cast<double>(x % y);
}

double complement(double a, unsigned char type) {
    if (!numbersOnly(Tok::Not, type, kNumberType)) return 0;
    std::int64_t x;
    if (!truncInt32(a, x)) {
        fail(ErrorCode::InvalidArgument, "e_prs",
             "The operand of not must be a 32-bit integer: " + shortNumber(a));
        return 0;
    }
    return static_cast<double>(~x);
}

double combine(Tok op, double a, double b, unsigned char* type, unsigned char typeB) {
    switch (op) {
        case Tok::Caret: return CalcMatrixDivMult('^', a, b, type, typeB);
        case Tok::Star: return CalcMatrixDivMult('*', a, b, type, typeB);
        case Tok::Slash: return CalcMatrixDivMult('/', a, b, type, typeB);
        case Tok::Plus: return CalcMatrixSumSubt('+', a, b, type, typeB);
        case Tok::Minus: return CalcMatrixSumSubt('-', a, b, type, typeB);
        case Tok::Backslash: return integerQuotient(a, b, type, typeB);
        case Tok::Mod: return integerRemainder(a, b, type, typeB);
        default: break;
    }
    if (!numbersOnly(op, *type, typeB)) return a;
    bool holds = false;
    switch (op) {
        case Tok::Equal: holds = a == b; break;
        case Tok::Less: holds = a < b; break;
        case Tok::Greater: holds = a > b; break;
        case Tok::NotEqual: holds = a != b; break;
        case Tok::LessEqual: holds = a <= b; break;
        case Tok::GreaterEqual: holds = a >= b; break;
        case Tok::And: return a != 0 && b != 0 ? 1 : 0;
        case Tok::Or: return a != 0 || b != 0 ? 1 : 0;
        case Tok::Xor: return (a != 0) != (b != 0) ? 1 : 0;
        default: break;
    }
    return holds ? trueValue() : 0;
}

// name ( argument )
double functionCall(const Token& tok, bool trace) {
    const int function = tok.function;
    e_nxt();
    e_match(Tok::LParen);
    unsigned char type = kNumberType;
    const double argument = parse(1, &type, tok, trace);
    e_match(Tok::RParen);
    if (eError() != ErrorCode::None) return 0;  // an unknown name reported itself when it was read
    if (!numbersOnly(Tok::Id, type, kNumberType)) return 0;
    if (function < 0) {
        fail(ErrorCode::UndefinedFunction, "e_prs", "Undefined Function");
        return 0;
    }
    return e_functionAt(function, argument);
}

// "#" constant
double constantValue(const Token& tok) {
    double value = 0;
    if (eError() == ErrorCode::None) value = e_function(tok.spelling, 0);
    e_nxt();
    return value;
}

// word ( operand ; operand ; ... )
double statisticsCall(const Token& tok) {
    const Tok word = tok.kind;
    e_nxt();
    e_match(Tok::LParen);
    const double value = StatFunct(word);
    e_match(Tok::RParen);
    return value;
}

// det ( m ), trace ( m ), syst ( m ; v ), vcoeff ( m ; v ; n )
[[gnu::noinline]] double matrixFunctionCall(unsigned char* type) {
    const Tok word = currentToken().kind;
    e_nxt();
    e_match(Tok::LParen);
    unsigned char typeA = 0, typeB = 0, typeC = 0;
    const double a = e_prs(1, &typeA);
    double b = 0, c = 0;
    if (word == Tok::Syst || word == Tok::Vcoeff) {
        e_nxt();  // the separator, whatever it is
        b = e_prs(1, &typeB);
    }
    if (word == Tok::Vcoeff) {
        e_nxt();
        c = e_prs(1, &typeC);
    }
    double value = 0;
    *type = kNumberType;
    if (eError() == ErrorCode::None) {
        if (word == Tok::Vcoeff && typeC == kMatrixType) {
            fail(ErrorCode::InvalidArgument, "e_prs", "Last parameter must be numeric.");
            showEvalErrorKeeping("Procedure: e_prs\r\nLast parameter must be numeric.\r\n\r\nDebug:\r\n" +
                                 errorLog());
        } else {
            value = CalcMatrFunct(tokenText(word), a, typeA, b, typeB, c, typeC, type);
        }
    }
    e_match(Tok::RParen);
    return value;
}

double matrixPrimary(const Token& tok, unsigned char* type) {
    double value = 0;
    if (eError() == ErrorCode::None) value = matrixOperand(tok.spelling, tok.suffix, type);
    e_nxt();
    return value;
}

double negate(double value, unsigned char* type) {
    if (*type == kNumberType) return -value;
    if (eError() != ErrorCode::None) return value;
    return CalcMatrixDivMult('*', value, -1, type, kNumberType);
}

[[gnu::noinline]] void traceEnter(int level) {
    const LexerReport r = lexerReport(1000);
    std::string text = "--------------------||| e_prs(" + std::to_string(parseDepth()) +
                       ") ENTER |||---------------";
    text += "\r\nRun Count   = " + std::to_string(runCount());
    text += "\r\nlevel       = " + std::to_string(level);
    text += "\r\nexpression  = " + r.expression;
    text += "\r\n" + r.marker;
    text += "\r\ntype/token  = " + r.token;
    text += "\r\nremaining   = " + r.remaining;
    text += "\r\ne_error     = " + std::to_string(codeNumber(eError()));
    traceLine(text, "e_prs");
}

[[gnu::noinline]] void traceExit(double value) {
    const LexerReport r = lexerReport(1000);
    std::string text = "--------------------||| e_prs(" + std::to_string(parseDepth()) +
                       ") EXIT |||----------------";
    text += "\r\nRun Count   = " + std::to_string(runCount());
    text += "\r\nexpression  = " + r.expression;
    text += "\r\n" + r.marker;
    text += "\r\ntype/token  = " + r.token;
    text += "\r\nremaining   = " + r.remaining;
    text += "\r\ne_error     = " + std::to_string(codeNumber(eError()));
    text += "\r\nnn          = " + shortNumber(value);
    traceLine(text, "e_prs");
}

[[gnu::noinline]] void traceMatch(Tok expected) {
    traceLine("--------------------||| e_match() |||---------------------\r\nexpected = " +
                  tokenText(expected) + " ---> got = " + tokenText(currentToken()),
              "e_match");
}

double parse(int level, unsigned char* type, const Token& tok, bool trace) {
    ParserState& ps = parserState();
    if (ps.depth >= kMaxNesting) {
        nestingTooDeep();
        *type = kNumberType;
        return 0;
    }
    // The depth also comes back down when a failed allocation unwinds the parse.
    struct DepthScope {
        int& depth;
        explicit DepthScope(int& d) : depth(++d) {}
        ~DepthScope() { --depth; }
    } scope(ps.depth);
    if (trace) traceEnter(level);

    unsigned char t = kNumberType;
    double v = 0;
    switch (tok.kind) {
        case Tok::Num:
            v = tok.value;
            e_nxt();
            break;
        case Tok::Hex:
            v = static_cast<double>(HexValue(tok.spelling.substr(1)));
            e_nxt();
            break;
        case Tok::Bin:
            v = static_cast<double>(BinVal(tok.spelling));
            e_nxt();
            break;
        case Tok::Minus:
            e_nxt();
            v = negate(parse(11, &t, tok, trace), &t);
            break;
        case Tok::Plus:
            e_nxt();
            v = parse(11, &t, tok, trace);
            break;
        case Tok::LParen:
            e_nxt();
            v = parse(1, &t, tok, trace);
            e_match(Tok::RParen);
            break;
        case Tok::Id: v = functionCall(tok, trace); break;
        case Tok::Const: v = constantValue(tok); break;
        case Tok::Not:
            e_nxt();
            v = parse(6, &t, tok, trace);
            v = eError() == ErrorCode::None ? complement(v, t) : 0;
            t = kNumberType;
            break;
        case Tok::Matrix: v = matrixPrimary(tok, &t); break;
        default:
            if (isStatisticsWord(tok.kind)) {
                v = statisticsCall(tok);
            } else if (isMatrixFunctionWord(tok.kind)) {
                v = matrixFunctionCall(&t);
            } else {
                syntaxError();  // no token is consumed
            }
            break;
    }

    while (eError() == ErrorCode::None) {
        const Tok op = tok.kind;
        const Binding b = bindingOf(op);
        if (b.bound < level) break;
        e_nxt();
        unsigned char rt = kNumberType;
        const double r = parse(b.right, &rt, tok, trace);
        if (eError() != ErrorCode::None) break;
        v = combine(op, v, r, &t, rt);
        if (op != Tok::Caret && op != Tok::Star && op != Tok::Slash && op != Tok::Plus &&
            op != Tok::Minus)
            t = kNumberType;
    }

    *type = t;
    if (trace) traceExit(v);
    return v;
}

}  // namespace

double e_prs(int level, unsigned char* type) {
    return parse(level, type, currentToken(), tracing());
}

ErrorCode e_match(Tok expected) {
    if (tracing()) traceMatch(expected);
    if (eError() == ErrorCode::None && currentToken().kind != expected) {
        failReplacing(ErrorCode::TokenMismatch, "e_match",
                      "Expected " + tokenText(expected) + ", got '" + currentElement() + "'\r\n");
    }
    e_nxt();
    return eError();
}

int parseDepth() { return parserState().depth; }

void resetParser() { parserState() = ParserState{}; }

}  // namespace zrt
