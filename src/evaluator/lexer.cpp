#include "evaluator/lexer.h"

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

#include "base/limits.h"
#include "base/nametable.h"
#include "base/strings.h"
#include "base/text16.h"
#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/functions.h"
#include "evaluator/letters.h"
#include "base/numtext.h"
#include "evaluator/parser.h"
#include "memory/varstore.h"
#include "log/trace.h"

namespace zrt {

namespace {

struct Scan {
    std::string expression;
    std::size_t pos = 0;        // start of the remaining text
    std::size_t markerPos = 0;  // characters consumed when the current token's scan began
    bool started = false;       // no marker before the first token
    Token tok;
    std::string nameBuf;  // lower-cased names that were not lower case in the formula
    bool trace = false;  // whether trace lines are recorded, asked once per formula
};

struct LexerState {
    // The last scan is the current one; a nested evaluation pushes its own.
    // A deque keeps the outer scans (and the views into them) where they are.
    std::deque<Scan> scans = std::deque<Scan>(1);
    Scan* current = &scans.back();
};

// Every token asks for the state: the accessor must not cost a call.
[[gnu::always_inline]] inline LexerState& lexerState() {
    static LexerState state;
    return state;
}

[[gnu::always_inline]] inline Scan& scan() { return *lexerState().current; }

// Names the lexer knows besides variables: the words, the constants that
// enter as ten-decimal text, and the built-in functions.
enum class NameKind : std::uint8_t { Word, Constant, Function };

struct NameInfo {
    NameKind kind;
    Tok word;
    int function;
    double entered;  // constants: the value of their ten-decimal text
};

// The built-in names: functions, constants and word operators. A name added
// again takes the new meaning.
class NameTable {
public:
    void add(std::string_view name, NameInfo info) {
        const long found = index_.find(name, nameAt());
        if (found >= 0) {
            names_[static_cast<std::size_t>(found)].second = info;
            return;
        }
        names_.emplace_back(name, info);
        index_.add(names_.size() - 1, nameAt());
    }

    const NameInfo* find(std::string_view name) const {
        const long found = index_.find(name, nameAt());
        return found < 0 ? nullptr : &names_[static_cast<std::size_t>(found)].second;
    }

private:
    struct NameAt {
        const NameTable* table;
        std::string_view operator()(std::size_t position) const {
            return table->names_[position].first;
        }
    };
    NameAt nameAt() const { return NameAt{this}; }

    std::vector<std::pair<std::string_view, NameInfo>> names_;
    NameIndex index_;
};

NameTable buildNameTable() {
    NameTable t;
    for (const BuiltinName& b : builtinFunctionNames())
        t.add(b.name, NameInfo{NameKind::Function, Tok::Id, b.index, 0});
    // Constants come before functions: "deg" is the constant, not the function.
    const ErrorCode savedError = eError();
    for (std::string_view name : lexerConstantNames()) {
        double value = 0;
        e_get_const(name, &value);
        t.add(name, NameInfo{NameKind::Constant, Tok::Num, -1, value});
    }
    setEError(savedError);
    for (const LexerWord& w : lexerWords()) t.add(w.name, NameInfo{NameKind::Word, w.kind, -1, 0});
    return t;
}

const NameTable& nameTable() {
    static const NameTable table = buildNameTable();
    return table;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNameChar(char c) { return isLetter(c) || isDigit(c) || c == '_'; }

// The end of the name that goes on at x[p]: ASCII name characters on the
// short way, letters beyond ASCII through the letter table.
std::size_t nameEnd(std::string_view x, std::size_t p) {
    for (;;) {
        while (p < x.size() && isNameChar(x[p])) ++p;
        if (p >= x.size() || static_cast<unsigned char>(x[p]) < 0x80) return p;
        const std::size_t length = letterLength(x, p);
        if (length == 0) return p;
        p += length;
    }
}

// The formula's bytes from start to end, lower-cased (a view into the
// formula when it is lower case already).
std::string_view lowered(Scan& s, std::size_t start, std::size_t end) {
    const char* p = s.expression.data() + start;
    const std::size_t n = end - start;
    std::size_t i = 0;
    while (i < n && !(p[i] >= 'A' && p[i] <= 'Z')) ++i;
    if (i == n) return std::string_view(p, n);
    s.nameBuf.assign(p, n);
    for (char& c : s.nameBuf)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s.nameBuf;
}

void classifyName(Scan& s, std::string_view name) {
    Token& t = s.tok;
    t.spelling = name;
    const NameInfo* info = nameTable().find(name);
    if (info && info->kind == NameKind::Word) {
        t.kind = info->word;
        return;
    }
    // A stored variable wins over constants and functions of the same name.
    if (!varEntries(ListKind::Vars).empty()) {
        if (const VarEntry* v = findVarEntry(ListKind::Vars, name)) {
            t.kind = Tok::Num;
            t.resolved = true;
            t.source = v->number;
            t.value = enteredValue(*v);
            return;
        }
    }
    if (info && info->kind == NameKind::Constant) {
        t.kind = Tok::Num;
        t.resolved = true;
        t.source = info->entered;
        t.value = info->entered;
        return;
    }
    t.kind = Tok::Id;
    t.function = info ? info->function : -1;
    // A pending error stays: the first error wins.
    if (t.function < 0 && eError() == ErrorCode::None) {
        failReplacing(ErrorCode::UndefinedFunction, "e_nxt",
                      "Undefined Function = " + std::string(name));
    }
}


std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

std::string elementOf(const Token& t) {
    if (t.resolved) return FixText(t.source);
    return std::string(t.spelling);
}

std::string markerLine(const Scan& s) {
    if (!s.started) return {};
    const std::size_t consumed = utf16Length(std::string_view(s.expression).substr(0, s.markerPos));
    std::string digits = std::to_string(consumed);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    digits.resize(3);
    std::string marker = "pos(" + digits + ")    = ";
    marker.append(consumed, '-');
    marker += '|';
    const std::size_t elementLength = utf16Length(elementOf(s.tok));
    if (elementLength >= 2) {
        marker.append(elementLength - 2, '-');
        marker += '|';
    }
    return marker;
}

std::string clipForTrace(std::string_view text) { return clipped(text, kTraceFieldCap); }

std::string frame(const char* what) {
    return "--------------------||| e_nxt(" + std::to_string(parseDepth()) + ") " + what;
}

void traceEntry(const Scan& s) {
    std::string text = frame("ENTRY |||---------------");
    text += "\r\nRun Count   = " + std::to_string(runCount());
    text += "\r\nexpression  = " + clipForTrace(s.expression);
    text += "\r\nremaining   = " + clipForTrace(std::string_view(s.expression).substr(s.pos));
    traceLine(text, "e_nxt");
}

void traceExit(const Scan& s) {
    std::string text = frame("EXIT |||----------------");
    text += "\r\nRun Count   = " + std::to_string(runCount());
    text += "\r\nexpression  = " + clipForTrace(s.expression);
    text += "\r\n" + clipForTrace(markerLine(s));
    text += "\r\nelement     = ";
    if (s.tok.resolved) {
        text += clipForTrace(s.tok.spelling) + " => '" + FixText(s.tok.source) + "'";
    } else {
        text += clipForTrace(s.tok.spelling);
    }
    text += "\r\ntype/token  = " + clipForTrace(tokenText(s.tok));
    text += "\r\nremaining   = " + clipForTrace(std::string_view(s.expression).substr(s.pos));
    text +=
        "\r\ne_error     = " + std::to_string(codeNumber(eError())) + " | " + errorText(eError());
    traceLine(text, "e_nxt");
}

}  // namespace

void lexerStart(std::string_view formula) {
    Scan& s = scan();
    s.expression.assign(formula.data(), formula.size());
    s.pos = 0;
    s.markerPos = 0;
    s.started = false;
    s.tok = Token{};
    s.trace = tracing();
}

NameMeaning nameMeaning(std::string_view name) {
    NameMeaning m;
    const NameInfo* info = nameTable().find(name);
    if (info && info->kind == NameKind::Word) {
        m.kind = info->word;
        return m;
    }
    if (!varEntries(ListKind::Vars).empty()) {
        if (const VarEntry* v = findVarEntry(ListKind::Vars, name)) {
            m.kind = Tok::Num;
            m.value = enteredValue(*v);
            return m;
        }
    }
    if (info && info->kind == NameKind::Constant) {
        m.kind = Tok::Num;
        m.value = info->entered;
        return m;
    }
    m.function = info ? info->function : -1;
    return m;
}

Tok singleCharacterToken(char c) {
    switch (c) {
        case '+': return Tok::Plus;
        case '-': return Tok::Minus;
        case '*': return Tok::Star;
        case '/': return Tok::Slash;
        case '\\': return Tok::Backslash;
        case '^': return Tok::Caret;
        case '=': return Tok::Equal;
        case '(': return Tok::LParen;
        case ')': return Tok::RParen;
        case ';': return Tok::Semicolon;
        default: return Tok::Other;
    }
}

// The value is read as DecValue reads the element (digits, one point, digits;
// a second point ends it). Up to 15 digits the digits and the power of ten are
// exact and one division rounds as the full conversion does.
double numberTokenValue(std::string_view spelling) {
    std::uint64_t digits = 0;
    int count = 0, decimals = 0, points = 0;
    for (const char d : spelling) {
        if (points > 1) break;
        if (d == '.') {
            ++points;
        } else if (count < 16) {
            digits = digits * 10 + static_cast<unsigned>(d - '0');
            ++count;
            if (points) ++decimals;
        } else {
            count = 99;
        }
    }
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (count > 15) return DecValue(spelling);
    if (decimals == 0) return static_cast<double>(digits);
    return static_cast<double>(digits) / kPowersOfTen[decimals];
}

int e_nxt() {
    Scan& s = scan();
    Token& t = s.tok;
    const bool trace = s.trace;
    if (trace) traceEntry(s);

    t.resolved = false;
    t.function = -1;
    t.suffix = 0;
    s.started = true;
    s.markerPos = s.pos;

    const std::string& x = s.expression;
    const std::size_t n = x.size();
    std::size_t p = s.pos;
    while (p < n && (x[p] == ' ' || x[p] == '\t' || x[p] == '\r' || x[p] == '\n')) ++p;
    if (p >= n) {
        t.kind = Tok::End;
        t.spelling = {};
        s.pos = n;
        if (trace) traceExit(s);
        return -1;
    }

    const std::size_t start = p;
    const char c = x[p++];
    if (c == '[') {
        const std::size_t close = x.find(']', p);
        const bool closed = close != std::string::npos;
        p = closed ? close + 1 : n;
        t.kind = Tok::Matrix;
        t.spelling = std::string_view(x).substr(start, p - start);
        if (closed && p < n) {
            const char suffix = static_cast<char>(x[p] >= 'a' && x[p] <= 'z' ? x[p] - 'a' + 'A' : x[p]);
            if (suffix == 'I' || suffix == 'T' || suffix == 'D') {
                t.suffix = suffix;
                ++p;
            }
        }
        s.pos = p;
        // A bracket that is never closed would otherwise pass the rest of the
        // formula off as a matrix name.
        if (!closed && eError() == ErrorCode::None) {
            failReplacing(
                ErrorCode::TokenMismatch, "e_nxt",
                "Expected ']', got the end of the formula after '" + std::string(t.spelling) + "'");
        }
    } else if (c == '#') {
        while (p < n && isNameChar(x[p])) ++p;
        t.kind = Tok::Const;
        t.spelling = lowered(s, start, p);
        s.pos = p;
    } else if (c == '&') {
        while (p < n && isNameChar(x[p])) ++p;
        t.kind = Tok::Hex;
        t.spelling = std::string_view(x).substr(start, p - start);
        s.pos = p;
    } else if (c == '!') {
        while (p < n && isDigit(x[p])) ++p;
        t.kind = Tok::Bin;
        t.spelling = std::string_view(x).substr(start, p - start);
        s.pos = p;
    } else if (isDigit(c) || c == '.') {
        while (p < n && (isDigit(x[p]) || x[p] == '.')) ++p;
        t.kind = Tok::Num;
        t.spelling = std::string_view(x).substr(start, p - start);
        t.value = numberTokenValue(t.spelling);
        s.pos = p;
    } else if (isLetter(c) || c == '_' ||
               (static_cast<unsigned char>(c) >= 0x80 && letterLength(x, start) > 0)) {
        p = nameEnd(x, start);
        s.pos = p;
        classifyName(s, lowered(s, start, p));
    } else if (c == '<' || c == '>') {
        t.kind = c == '<' ? Tok::Less : Tok::Greater;
        if (p < n && (x[p] == '=' || x[p] == '>')) {
            const char second = x[p++];
            if (c == '<') {
                t.kind = second == '=' ? Tok::LessEqual : Tok::NotEqual;
            } else {
                t.kind = second == '=' ? Tok::GreaterEqual : Tok::ShiftRight;
            }
        }
        t.spelling = std::string_view(x).substr(start, p - start);
        s.pos = p;
    } else {
        // A character outside ASCII is one token, not a run of stray bytes.
        if (static_cast<unsigned char>(c) >= 0x80) {
            std::size_t len = utf8SequenceLength(static_cast<unsigned char>(c)) - 1;
            while (len-- > 0 && p < n && (static_cast<unsigned char>(x[p]) & 0xC0) == 0x80) ++p;
        }
        t.kind = singleCharacterToken(c);
        t.spelling = std::string_view(x).substr(start, p - start);
        s.pos = p;
    }
    if (trace) traceExit(s);
    return -1;
}

const Token& currentToken() { return scan().tok; }

std::string tokenText(Tok kind) {
    switch (kind) {
        case Tok::End: return "";
        case Tok::Num: return "num";
        case Tok::Hex: return "hex";
        case Tok::Bin: return "bin";
        case Tok::Const: return "const";
        case Tok::Matrix: return "matrix";
        case Tok::Id: return "id";
        case Tok::And: return "and";
        case Tok::Eqv: return "eqv";
        case Tok::Imp: return "imp";
        case Tok::Mod: return "mod";
        case Tok::Not: return "not";
        case Tok::Or: return "or";
        case Tok::Xor: return "xor";
        case Tok::Det: return "det";
        case Tok::Trace: return "trace";
        case Tok::Syst: return "syst";
        case Tok::Vcoeff: return "vcoeff";
        case Tok::Min: return "min";
        case Tok::Max: return "max";
        case Tok::Avg: return "avg";
        case Tok::Sum: return "sum";
        case Tok::Sum2: return "sum2";
        case Tok::Prod: return "prod";
        case Tok::Prod2: return "prod2";
        case Tok::Stddev: return "stddev";
        case Tok::Count: return "count";
        case Tok::GeomMean: return "geom_mean";
        case Tok::Median: return "median";
        case Tok::Mean: return "mean";
        case Tok::Plus: return "+";
        case Tok::Minus: return "-";
        case Tok::Star: return "*";
        case Tok::Slash: return "/";
        case Tok::Backslash: return "\\";
        case Tok::Caret: return "^";
        case Tok::Equal: return "=";
        case Tok::Less: return "<";
        case Tok::Greater: return ">";
        case Tok::LessEqual: return "<=";
        case Tok::NotEqual: return "<>";
        case Tok::GreaterEqual: return ">=";
        case Tok::ShiftRight: return ">>";
        case Tok::LParen: return "(";
        case Tok::RParen: return ")";
        case Tok::Semicolon: return ";";
        case Tok::Other: return "?";
    }
    return "";
}

std::string tokenText(const Token& token) {
    if (token.kind == Tok::Other) return std::string(token.spelling);
    return tokenText(token.kind);
}

std::string currentElement() { return elementOf(scan().tok); }


LexerReport lexerReport(std::size_t fieldCap) {
    const Scan& s = scan();
    const std::string_view expression(s.expression);
    LexerReport r;
    r.expression = clipped(expression, fieldCap);
    r.marker = clipped(markerLine(s), fieldCap);
    r.element = clipped(elementOf(s.tok), fieldCap);
    r.token = clipped(tokenText(s.tok), fieldCap);
    r.remaining = clipped(expression.substr(std::min(s.pos, expression.size())), fieldCap);
    return r;
}

void lexerEnterNested() {
    LexerState& state = lexerState();
    state.current = &state.scans.emplace_back();
}

void lexerLeaveNested() {
    LexerState& state = lexerState();
    if (state.scans.size() > 1) state.scans.pop_back();
    state.current = &state.scans.back();
}

void resetLexer() {
    setLexerReportSource(&lexerReport);
    LexerState& state = lexerState();
    state.scans.resize(1);
    state.scans.back() = Scan{};
    state.current = &state.scans.back();
}

const std::vector<std::string_view>& lexerConstantNames() {
    static const std::vector<std::string_view> names = {"pi",     "e",   "deg",
                                                        "to_deg", "rad", "to_rad"};
    return names;
}

const std::vector<LexerWord>& lexerWords() {
    static const std::vector<LexerWord> words = {
        {"and", Tok::And},       {"eqv", Tok::Eqv},         {"imp", Tok::Imp},
        {"mod", Tok::Mod},       {"not", Tok::Not},         {"or", Tok::Or},
        {"xor", Tok::Xor},       {"det", Tok::Det},         {"trace", Tok::Trace},
        {"syst", Tok::Syst},     {"vcoeff", Tok::Vcoeff},   {"min", Tok::Min},
        {"max", Tok::Max},       {"avg", Tok::Avg},         {"sum", Tok::Sum},
        {"sum2", Tok::Sum2},     {"prod", Tok::Prod},       {"prod2", Tok::Prod2},
        {"stddev", Tok::Stddev}, {"count", Tok::Count},     {"geom_mean", Tok::GeomMean},
        {"median", Tok::Median}, {"mean", Tok::Mean},
    };
    return words;
}

}  // namespace zrt
