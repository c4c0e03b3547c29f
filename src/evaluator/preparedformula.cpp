#include "evaluator/preparedformula.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/functions.h"
#include "evaluator/lexer.h"
#include "base/numtext.h"
#include "evaluator/parser.h"
#include "numerics/power.h"
#include "memory/varstore.h"
#include "log/trace.h"

namespace zrt {

namespace {

// A token of the formula as the lexer would read it once the point's text is
// in place. In the bracketed kinds an occurrence of the variable is the three
// tokens "(", slot, ")", as the text reads.
struct Item {
    Tok kind;
    bool slot = false;
    double value = 0;
    int function = -1;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNameChar(char c) { return isLetter(c) || isDigit(c) || c == '_'; }

// Reads the formula into items; false for anything the form does not cover.
// `names` receives where each slot's name starts (for the occurrence check).
class Reader {
public:
    Reader(std::string_view formula, std::string_view variable, SlotKind kind)
        : text_(formula), variable_(variable), lowerVariable_(lowerAscii(variable)), kind_(kind) {}

    bool read(std::vector<Item>& items, std::vector<std::size_t>& names) {
        const std::size_t n = text_.size();
        std::size_t p = 0;
        for (;;) {
            while (p < n && (text_[p] == ' ' || text_[p] == '\t' || text_[p] == '\r' || text_[p] == '\n'))
                ++p;
            if (p >= n) break;
            const char c = text_[p];
            const std::size_t start = p++;
            if (isDigit(c) || c == '.' || c == ',') {
                // The text path turns "," into "." before reading.
                while (p < n && (isDigit(text_[p]) || text_[p] == '.' || text_[p] == ',')) ++p;
                std::string spelling(text_.substr(start, p - start));
                for (char& ch : spelling)
                    if (ch == ',') ch = '.';
                items.push_back({Tok::Num, false, numberTokenValue(spelling)});
            } else if (isLetter(c) || c == '_') {
                while (p < n && isNameChar(text_[p])) ++p;
                if (!name(text_.substr(start, p - start), start, items, names)) return false;
            } else if (c == '<' || c == '>') {
                Tok t = c == '<' ? Tok::Less : Tok::Greater;
                if (p < n && (text_[p] == '=' || text_[p] == '>')) {
                    const char second = text_[p++];
                    if (c == '<')
                        t = second == '=' ? Tok::LessEqual : Tok::NotEqual;
                    else if (second == '=')
                        t = Tok::GreaterEqual;
                    else
                        return false;  // ">>" has no meaning
                }
                items.push_back({t});
            } else {
                // Lists (";") and anything else are not read here.
                const Tok t = singleCharacterToken(c);
                if (t == Tok::Other || t == Tok::Semicolon) return false;
                items.push_back({t});
            }
        }
        items.push_back({Tok::End});
        return true;
    }

private:
    bool name(std::string_view spelling, std::size_t start, std::vector<Item>& items,
              std::vector<std::size_t>& names) {
        const std::string lower = lowerAscii(spelling);
        const bool bracketed = kind_ != SlotKind::Stored;
        bool isSlot = kind_ == SlotKind::Substring ? spelling == variable_ : lower == lowerVariable_;
        const NameMeaning meaning = nameMeaning(lower);
        // The lexer reads a stored variable after the word operators.
        if (!bracketed && meaning.kind != Tok::Num && meaning.kind != Tok::Id) isSlot = false;
        if (isSlot) {
            names.push_back(start);
            if (bracketed) items.push_back({Tok::LParen});
            items.push_back({Tok::Num, true});
            if (bracketed) items.push_back({Tok::RParen});
            return true;
        }
        switch (meaning.kind) {
            case Tok::Num: items.push_back({Tok::Num, false, meaning.value}); return true;
            case Tok::Id:
                if (meaning.function < 0 || isRandomFunction(meaning.function)) return false;
                items.push_back({Tok::Id, false, 0, meaning.function});
                return true;
            case Tok::And:
            case Tok::Or:
            case Tok::Xor:
            case Tok::Mod:
            case Tok::Not: items.push_back({meaning.kind}); return true;
            default: return false;  // statistics and matrix functions, eqv, imp
        }
    }

    std::string_view text_;
    std::string_view variable_;
    std::string lowerVariable_;
    SlotKind kind_;
};

using Op = PreparedFormula::Op;

struct Binding {
    int bound;
    int right;
    Op op;
};

// The parser's binding levels (a bound of 0: no operator).
Binding bindingOf(Tok t) {
    switch (t) {
        case Tok::Caret: return {11, 12, Op::Power};
        case Tok::Star: return {10, 11, Op::Multiply};
        case Tok::Slash: return {10, 11, Op::Divide};
        case Tok::Backslash: return {9, 10, Op::IntegerQuotient};
        case Tok::Mod: return {8, 9, Op::Remainder};
        case Tok::Plus: return {7, 8, Op::Add};
        case Tok::Minus: return {7, 8, Op::Subtract};
        case Tok::Equal: return {6, 7, Op::Equal};
        case Tok::Less: return {6, 7, Op::Less};
        case Tok::Greater: return {6, 7, Op::Greater};
        case Tok::NotEqual: return {6, 7, Op::NotEqual};
        case Tok::LessEqual: return {6, 7, Op::LessEqual};
        case Tok::GreaterEqual: return {6, 7, Op::GreaterEqual};
        case Tok::And: return {5, 6, Op::And};
        case Tok::Or: return {4, 5, Op::Or};
        case Tok::Xor: return {3, 4, Op::Xor};
        default: return {0, 0, Op::Number};
    }
}

// The parser's precedence climbing over the items, writing postfix code. Any
// error the parser would report makes the whole form fail.
class Compiler {
public:
    Compiler(const std::vector<Item>& items, std::vector<PreparedFormula::Instruction>& code)
        : items_(items), code_(code) {}

    bool compile(std::size_t& stackSize) {
        if (!parse(1, 0) || items_[at_].kind != Tok::End) return false;
        stackSize = most_;
        return true;
    }

private:
    // Slots add up to two levels of brackets and signs to the text's nesting.
    static constexpr int kDepthLimit = kMaxNesting - 4;

    const Item& tok() const { return items_[at_]; }
    void next() {
        if (items_[at_].kind != Tok::End) ++at_;
    }
    bool match(Tok t) {
        if (tok().kind != t) return false;
        next();
        return true;
    }
    void emit(Op op, double number = 0, int function = -1) {
        code_.push_back({op, function, number});
        if (op == Op::Number || op == Op::Slot) {
            if (++depth_ > most_) most_ = depth_;
        } else if (op != Op::Negate && op != Op::Not && op != Op::Function && op != Op::Square) {
            --depth_;
        }
    }

    bool parse(int level, int nesting) {
        if (nesting >= kDepthLimit) return false;
        const Item item = tok();
        switch (item.kind) {
            case Tok::Num:
                emit(item.slot ? Op::Slot : Op::Number, item.value);
                next();
                break;
            case Tok::Minus:
                next();
                if (!parse(11, nesting + 1)) return false;
                emit(Op::Negate);
                break;
            case Tok::Plus:
                next();
                if (!parse(11, nesting + 1)) return false;
                break;
            case Tok::LParen:
                next();
                if (!parse(1, nesting + 1) || !match(Tok::RParen)) return false;
                break;
            case Tok::Id:
                next();
                if (!match(Tok::LParen) || !parse(1, nesting + 1) || !match(Tok::RParen))
                    return false;
                emit(Op::Function, 0, item.function);
                break;
            case Tok::Not:
                next();
                if (!parse(6, nesting + 1)) return false;
                emit(Op::Not);
                break;
            default: return false;
        }
        for (;;) {
            const Binding b = bindingOf(tok().kind);
            if (b.bound < level) break;
            next();
            if (!parse(b.right, nesting + 1)) return false;
            // x^2 is x*x in the power function too.
            if (b.op == Op::Power && code_.back().op == Op::Number && code_.back().number == 2) {
                code_.pop_back();
                --depth_;
                emit(Op::Square);
            } else {
                emit(b.op);
            }
        }
        return true;
    }

    const std::vector<Item>& items_;
    std::vector<PreparedFormula::Instruction>& code_;
    std::size_t at_ = 0;
    std::size_t depth_ = 0, most_ = 0;
};

// The occurrences of the variable that the text path replaces: every one must
// be the start of a slot's name.
bool wholeNames(std::string_view formula, std::string_view variable,
                const std::vector<std::size_t>& names) {
    std::size_t count = 0, from = 0;
    for (std::size_t at = formula.find(variable); at != std::string_view::npos;
         at = formula.find(variable, from)) {
        if (count >= names.size() || names[count] != at) return false;
        ++count;
        from = at + variable.size();
    }
    return count == names.size();
}

// Truncation toward zero to a 32-bit integer, false where there is none.
bool truncInt32(double v, std::int64_t& out) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return false;
    out = static_cast<std::int64_t>(std::trunc(v));
    return true;
}

}  // namespace

PreparedFormula::PreparedFormula(std::string_view formula, std::string_view variable,
                                 SlotKind kind, std::size_t expectedSlots) {
    if (variable.empty() || !varEntries(ListKind::Functs).empty()) return;
    std::vector<Item> items;
    std::vector<std::size_t> names;
    if (!Reader(formula, variable, kind).read(items, names)) return;
    if (kind == SlotKind::Substring && !wholeNames(formula, variable, names)) return;
    if (kind == SlotKind::Word && names.size() != expectedSlots) return;
    std::size_t stackSize = 0;
    ready_ = Compiler(items, code_).compile(stackSize);
    if (!ready_) code_.clear();
    stack_.assign(stackSize + 1, 0.0);
    if (ready_) lanes_.assign((stackSize + 1) * kBlock, 0.0);
}

bool PreparedFormula::evaluate(double slot, double& value) const {
    double* stack = stack_.data();
    std::size_t top = 0;  // stack[top - 1] is the top
    for (const Instruction& in : code_) {
        switch (in.op) {
            case Op::Number: stack[top++] = in.number; continue;
            case Op::Slot: stack[top++] = slot; continue;
            case Op::Negate: stack[top - 1] = -stack[top - 1]; continue;
            case Op::Square: stack[top - 1] = stack[top - 1] * stack[top - 1]; continue;
            case Op::Function:
                if (!functionValue(in.function, stack[top - 1], stack[top - 1])) return false;
                continue;
            case Op::Not: {
                std::int64_t x;
                if (!truncInt32(stack[top - 1], x)) return false;
                stack[top - 1] = static_cast<double>(~x);
                continue;
            }
            default: break;
        }
        const double b = stack[--top];
        double& a = stack[top - 1];
        switch (in.op) {
            case Op::Power: a = powerOf(a, b); break;
            case Op::Multiply: a = a * b; break;
            case Op::Divide:
                if (b == 0) return false;
                a = a / b;
                break;
            case Op::Add: a = a + b; break;
            case Op::Subtract: a = a - b; break;
            case Op::IntegerQuotient: {
                if (b == 0) return false;
                const double q = std::trunc(a / b);
                if (!(q >= -2147483648.0 && q <= 2147483647.0)) return false;
                a = q;
                break;
            }
            case Op::Remainder: {
                std::int64_t x, y;
                if (!truncInt32(a, x) || !truncInt32(b, y) || y == 0) return false;
                a = static_cast<double>(x % y);
                break;
            }
            case Op::Equal: a = a == b ? trueValue() : 0; break;
            case Op::Less: a = a < b ? trueValue() : 0; break;
            case Op::Greater: a = a > b ? trueValue() : 0; break;
            case Op::NotEqual: a = a != b ? trueValue() : 0; break;
            case Op::LessEqual: a = a <= b ? trueValue() : 0; break;
            case Op::GreaterEqual: a = a >= b ? trueValue() : 0; break;
            case Op::And: a = a != 0 && b != 0 ? 1 : 0; break;
            case Op::Or: a = a != 0 || b != 0 ? 1 : 0; break;
            case Op::Xor: a = (a != 0) != (b != 0) ? 1 : 0; break;
            default: return false;
        }
    }
    value = stack[0];
    return true;
}

namespace {

// The lanes of one binary operation: a op= b over [0, n), n cut back to the
// first lane that fails.
template <typename Apply>
void lanes(double* a, const double* b, std::size_t& n, Apply apply) {
    for (std::size_t i = 0; i < n; ++i) {
        if (!apply(a[i], b[i])) {
            n = i;
            return;
        }
    }
}

// The comparisons, as evaluate() computes them.
template <typename Compare>
void compareLanes(double* a, const double* b, std::size_t n, Compare compare) {
    const double yes = trueValue();
    for (std::size_t i = 0; i < n; ++i) a[i] = compare(a[i], b[i]) ? yes : 0;
}

}  // namespace

std::size_t PreparedFormula::evaluateBlock(const double* slots, double* values,
                                           std::size_t n) const {
    constexpr std::size_t B = kBlock;
    double* top = lanes_.data();  // the next free level; top - B is the top operand
    for (const Instruction& in : code_) {
        if (n == 0) return 0;
        switch (in.op) {
            case Op::Number:
                std::fill(top, top + n, in.number);
                top += B;
                continue;
            case Op::Slot:
                std::copy(slots, slots + n, top);
                top += B;
                continue;
            case Op::Negate: {
                double* a = top - B;
                for (std::size_t i = 0; i < n; ++i) a[i] = -a[i];
                continue;
            }
            case Op::Square: {
                double* a = top - B;
                for (std::size_t i = 0; i < n; ++i) a[i] = a[i] * a[i];
                continue;
            }
            case Op::Function:
                n = functionValues(in.function, top - B, n);
                continue;
            case Op::Not:
                lanes(top - B, top - B, n, [](double& a, double) {
                    std::int64_t x;
                    if (!truncInt32(a, x)) return false;
                    a = static_cast<double>(~x);
                    return true;
                });
                continue;
            default:
                break;
        }
        top -= B;
        const double* b = top;
        double* a = top - B;
        switch (in.op) {
            case Op::Power:
                for (std::size_t i = 0; i < n; ++i) a[i] = powerOf(a[i], b[i]);
                break;
            case Op::Multiply:
                for (std::size_t i = 0; i < n; ++i) a[i] = a[i] * b[i];
                break;
            case Op::Divide:
                lanes(a, b, n, [](double& x, double y) {
                    if (y == 0) return false;
                    x = x / y;
                    return true;
                });
                break;
            case Op::Add:
                for (std::size_t i = 0; i < n; ++i) a[i] = a[i] + b[i];
                break;
            case Op::Subtract:
                for (std::size_t i = 0; i < n; ++i) a[i] = a[i] - b[i];
                break;
            case Op::IntegerQuotient:
                lanes(a, b, n, [](double& x, double y) {
                    if (y == 0) return false;
                    const double q = std::trunc(x / y);
                    if (!(q >= -2147483648.0 && q <= 2147483647.0)) return false;
                    x = q;
                    return true;
                });
                break;
            case Op::Remainder:
                lanes(a, b, n, [](double& x, double y) {
                    std::int64_t p, q;
                    if (!truncInt32(x, p) || !truncInt32(y, q) || q == 0) return false;
                    x = static_cast<double>(p % q);
                    return true;
                });
                break;
            case Op::Equal:
                compareLanes(a, b, n, [](double x, double y) { return x == y; });
                break;
            case Op::Less:
                compareLanes(a, b, n, [](double x, double y) { return x < y; });
                break;
            case Op::Greater:
                compareLanes(a, b, n, [](double x, double y) { return x > y; });
                break;
            case Op::NotEqual:
                compareLanes(a, b, n, [](double x, double y) { return x != y; });
                break;
            case Op::LessEqual:
                compareLanes(a, b, n, [](double x, double y) { return x <= y; });
                break;
            case Op::GreaterEqual:
                compareLanes(a, b, n, [](double x, double y) { return x >= y; });
                break;
            case Op::And:
                for (std::size_t i = 0; i < n; ++i) a[i] = a[i] != 0 && b[i] != 0 ? 1 : 0;
                break;
            case Op::Or:
                for (std::size_t i = 0; i < n; ++i) a[i] = a[i] != 0 || b[i] != 0 ? 1 : 0;
                break;
            case Op::Xor:
                for (std::size_t i = 0; i < n; ++i) a[i] = (a[i] != 0) != (b[i] != 0) ? 1 : 0;
                break;
            default:
                return 0;
        }
    }
    std::copy(lanes_.data(), lanes_.data() + n, values);
    return n;
}

PointEvaluator::PointEvaluator(std::string_view formula, std::string_view variable, SlotKind kind,
                               std::size_t words)
    : formula_(formula),
      variable_(variable),
      kind_(kind),
      words_(words),
      points_(formula, variable),
      prepared_(formula, variable, kind, words) {}

bool PointEvaluator::preparedAt(double x, double* y) {
    double slot = 0, value = 0;
    if (!prepared_.ready() || tracing() || !pointTextValue(x, slot) ||
        !prepared_.evaluate(slot, value))
        return false;
    notePreparedEvaluation(true);
    if (y) *y = value;
    return true;
}

namespace {

// pointTextValue of x[0..n) as far as it has one: how many leading points
// have their value in slots. One pass without branches (the compiler computes
// two points at a time), then a look at each point: its range, and whether
// x * 10^10 lay halfway between two integers (that point again, exactly).
std::size_t pointTextValues(const double* x, double* slots, std::size_t n) {
    double off[PreparedFormula::kBlock];  // x * 10^10 less its rounding
    for (std::size_t i = 0; i < n; ++i) {
        const double p = x[i] * 1e10;
        const double r = nearestInteger(p);
        off[i] = p - r;
        slots[i] = r / 1e10;  // +0 for 0, as pointTextValue gives
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!(std::fabs(x[i]) < 1e5)) return i;
        if (std::fabs(off[i]) == 0.5) pointTextValue(x[i], slots[i]);
    }
    return n;
}

}  // namespace

std::size_t PointEvaluator::preparedBlock(const double* xs, double* ys, std::size_t n) {
    if (!prepared_.ready() || tracing()) return 0;
    double slots[PreparedFormula::kBlock];
    std::size_t done = 0;
    while (done < n) {
        const std::size_t want = std::min(n - done, PreparedFormula::kBlock);
        const std::size_t m = pointTextValues(xs + done, slots, want);
        const std::size_t got = prepared_.evaluateBlock(slots, ys + done, m);
        done += got;
        if (got < want) break;
    }
    notePreparedEvaluations(done);
    return done;
}

StoredFormula::StoredFormula(std::string_view formula, std::string_view variable)
    : formula_(formula), name_(lowerAscii(trimBlanks(variable))) {
    rebuild();
}

bool StoredFormula::fromPrepared(double& value) const {
    if (!prepared_.ready() || tracing()) return false;
    const VarEntry* entry = findVarEntry(ListKind::Vars, name_);
    return entry && prepared_.evaluate(enteredValue(*entry), value);
}

int StoredFormula::eEval(double* y) {
    double value = 0;
    if (fromPrepared(value)) {
        notePreparedEvaluation(true);
        if (y) *y = value;
        return 0;
    }
    const int code = e_eval(formula_, y, 0);
    if (code != 0 && prepared_.ready()) rebuild();
    return code;
}

double StoredFormula::deEval() {
    double value = 0;
    if (fromPrepared(value)) {
        notePreparedEvaluation(false);
        return value;
    }
    const double v = de_eval(formula_, 0);
    if ((eError() != ErrorCode::None || GetResultType() != 0) && prepared_.ready()) rebuild();
    return v;
}

}  // namespace zrt
