#include "sdiff/tree.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "base/limits.h"
#include "base/errors.h"
#include "evaluator/letters.h"
#include "base/numtext.h"
#include "sdiff/sdiff.h"

namespace zrt {

const std::array<const char*, 32> opNames = {
    "",       "(",  ")",   "+",   "-",   "*",    "/",  "#",   "f(x)",   "",       "cos",
    "sin",    "tg", "ctg", "abs", "sgn", "sqrt", "ln", "exp", "arcsin", "arccos", "arctg",
    "arcctg", "sh", "ch",  "th",  "cth", "",     "",   "",    "",       "^"};

namespace {

struct FunctionName {
    std::string_view name;
    std::int32_t code;
};

constexpr FunctionName kFunctionNames[] = {
    {"cos", kOpCos},
    {"sin", kOpSin},
    {"tg", kOpTan},
    {"tan", kOpTan},
    {"ctg", kOpCot},
    {"cotan", kOpCot},
    {"abs", kOpAbs},
    {"sgn", kOpSgn},
    {"sign", kOpSgn},
    {"sqrt", kOpSqrt},
    {"sqr", kOpSqrt},
    {"ln", kOpLn},
    {"log", kOpLn},
    {"exp", kOpExp},
    {"arcsin", kOpArcSin},
    {"arccos", kOpArcCos},
    {"arctg", kOpArcTan},
    {"arctan", kOpArcTan},
    {"arcctg", kOpArcCot},
    {"arccotan", kOpArcCot},
    {"sh", kOpSh},
    {"sinh", kOpSh},
    {"ch", kOpCh},
    {"cosh", kOpCh},
    {"th", kOpTh},
    {"tanh", kOpTh},
    {"tgh", kOpTh},
    {"cth", kOpCth},
    {"cotanh", kOpCth},
    {"ctgh", kOpCth},
    {"heaviside", kOpHeaviside},
    {"h", kOpHeaviside},
    {"log10", kOpLog10},
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::int32_t identifierKind(std::string_view word) {
    // Function names start with one of these letters; most names do not.
    switch (word[0]) {
        case 'a':
        case 'c':
        case 'e':
        case 'h':
        case 'l':
        case 's':
        case 't':
            break;
        default:
            return kOpName;
    }
    for (const FunctionName& f : kFunctionNames)
        if (f.name == word) return f.code;
    return kOpName;
}

// End of the number that starts at i, read without raising anything.
std::size_t numberSpanEnd(std::string_view text, std::size_t i) {
    const std::size_t n = text.size();
    while (i < n && isDigit(text[i])) ++i;
    if (i + 1 < n && text[i] == '.' && isDigit(text[i + 1])) {
        i += 2;
        while (i < n && isDigit(text[i])) ++i;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

std::int32_t newNode(DiffState& s);
std::int32_t nextToken(DiffState& s, std::string_view text, std::string_view& lexeme);

// How a bracket level hands its value back to the level around it.
enum class Continue : std::uint8_t { Top, Bracket, Function, Exponent };

// One open bracket level: the sum being built (GetTreeExpr), the product term
// being built inside it (GetOp), and what the level above does with the result.
struct Level {
    std::int32_t sumLeft = 0;
    std::int32_t sumOp = 0;  // 0 until the first term is read
    std::int32_t prodLeft = 0;
    std::int32_t prodOp = 0;  // 0 while the term has one factor
    bool negTerm = false;
    Continue cont = Continue::Top;
    std::int32_t link = 0;  // function node, or the base of a bracketed exponent
};

class Reader {
   public:
    explicit Reader(std::string_view text) : s_(diffState()), text_(text) {}

    std::int32_t GetTreeExpr();

   private:
    enum class Step { StartTerm, StartFactor, AfterBase, AfterFactor, AfterTerm };

    std::int32_t lex() { return gt_ = nextToken(s_, text_, lexeme_); }
    Step GetOp();
    Step GetSingleOp();
    Step powers();
    bool open(Continue cont, std::int32_t link);

    std::int32_t node(std::int32_t op, std::int32_t l, std::int32_t r);
    std::int32_t leaf();

    DiffState& s_;
    std::string_view text_;
    std::string_view lexeme_;
    std::int32_t gt_ = 0;
    std::int32_t value_ = 0;  // the factor, term or sum just finished
    std::vector<Level> levels_;
    bool aborted_ = false;
};

std::int32_t Reader::node(std::int32_t op, std::int32_t l, std::int32_t r) {
    const std::int32_t i = NewNode(s_);
    if (i) {
        TreeNode& n = s_.t[static_cast<std::size_t>(i)];
        n.opCode = op;
        n.con.clear();
        n.l = l;
        n.r = r;
    }
    return i;
}

std::int32_t Reader::leaf() {
    const std::int32_t i = node(gt_, 0, 0);
    if (i) s_.t[static_cast<std::size_t>(i)].con.assign(lexeme_);
    return i;
}

bool Reader::open(Continue cont, std::int32_t link) {
    if (levels_.size() >= kMaxOpenBrackets) {
        diffRaise("GetSingleOp: Brackets nested too deeply", kDiffErrorInFormula);
        aborted_ = true;
        return false;
    }
    ++s_.bc;
    Level level;
    level.cont = cont;
    level.link = link;
    levels_.push_back(level);
    return true;
}

// Product level, start of a term: reads its first token; a leading "-" (at
// the start or after an opening bracket) negates the whole term, a leading "+"
// is skipped.
Reader::Step Reader::GetOp() {
    Level& level = levels_.back();
    level.negTerm = false;
    level.prodOp = 0;
    lex();
    const std::int32_t prev = s_.prevTok;
    if (prev == kOpEnd || prev == kOpOpen) {
        if (gt_ == kOpSub) {
            level.negTerm = true;
            lex();
        }
        if (gt_ == kOpAdd) lex();
    }
    return Step::StartFactor;
}

// Factor level, entered with the factor's first token read.
Reader::Step Reader::GetSingleOp() {
    if (gt_ == kOpOpen) {
        return open(Continue::Bracket, 0) ? Step::StartTerm : Step::AfterBase;
    }
    if (gt_ == kOpNumber || gt_ == kOpName) {
        value_ = leaf();
        return Step::AfterBase;
    }
    if (isFunctionOp(gt_)) {
        const std::int32_t fn = leaf();
        if (lex() != kOpOpen)
            diffRaise("GetSingleOp: Function: Wrong brackets", kDiffWrongBrackets);
        return open(Continue::Function, fn) ? Step::StartTerm : Step::AfterBase;
    }
    diffRaise("GetSingleOp: Function: Wrong first operand", kDiffWrongFirstOperand);
    value_ = 0;
    return Step::AfterBase;
}

// After a factor: any "^" that follows. An exponent is a single number or
// name, bare or in brackets; powers apply left to right.
Reader::Step Reader::powers() {
    lex();
    while (gt_ == kOpPow) {
        lex();
        bool bracket = false;
        if (gt_ == kOpOpen) {
            if (s_.derivativeText) {
                // "^((n)-1)": a whole expression as exponent.
                const std::size_t at = s_.pos - 1;
                std::size_t i = at;
                while (i < text_.size() && text_[i] == ' ') ++i;
                if (i < text_.size() && text_[i] == '(') {
                    return open(Continue::Exponent, value_) ? Step::StartTerm : Step::AfterFactor;
                }
            }
            bracket = true;
            lex();
        }
        std::int32_t exponent = 0;
        if (gt_ == kOpNumber || gt_ == kOpName) {
            exponent = leaf();
        } else {
            diffRaise("GetSingleOp: Power Symbol: lgtNum <> 7", kDiffWrongPower);
        }
        value_ = node(kOpPow, value_, exponent);
        if (bracket && lex() != kOpClose) {
            diffRaise("GetSingleOp: Power Symbol: lgtNum <> 2 - bracket =" + std::to_string(gt_),
                      kDiffWrongPower);
        }
        lex();
    }
    return Step::AfterFactor;
}

// GetTreeExpr with the product and factor levels: a loop over an explicit list
// of open bracket levels instead of recursion.
std::int32_t Reader::GetTreeExpr() {
    levels_.clear();
    levels_.push_back(Level{});
    Step step = Step::StartTerm;
    for (;;) {
        if (aborted_) return 0;
        switch (step) {
            case Step::StartTerm:
                step = GetOp();
                break;
            case Step::StartFactor:
                step = GetSingleOp();
                break;
            case Step::AfterBase:
                step = powers();
                break;
            case Step::AfterFactor: {
                Level& level = levels_.back();
                if (level.prodOp) value_ = node(level.prodOp, level.prodLeft, value_);
                if (gt_ == kOpMul || gt_ == kOpDiv) {
                    level.prodLeft = value_;
                    level.prodOp = gt_;
                    lex();
                    step = Step::StartFactor;
                } else {
                    if (level.negTerm) value_ = node(kOpNeg, value_, 0);
                    step = Step::AfterTerm;
                }
                break;
            }
            case Step::AfterTerm: {
                Level& level = levels_.back();
                if (level.sumOp) value_ = node(level.sumOp, level.sumLeft, value_);
                level.sumLeft = value_;
                if (gt_ == kOpEnd || gt_ == kOpClose) {
                    if (gt_ == kOpClose) --s_.bc;
                    const Level done = level;
                    levels_.pop_back();
                    if (levels_.empty()) return done.sumLeft;
                    switch (done.cont) {
                        case Continue::Function:
                            if (done.link)
                                s_.t[static_cast<std::size_t>(done.link)].l = done.sumLeft;
                            value_ = done.link;
                            break;
                        case Continue::Exponent:
                            value_ = node(kOpPow, done.link, done.sumLeft);
                            break;
                        default:
                            value_ = done.sumLeft;
                            break;
                    }
                    step = Step::AfterBase;
                } else {
                    // Anything else between terms is an error; reading goes on as
                    // if it were an operator.
                    if (gt_ != kOpAdd && gt_ != kOpSub) diffRaise("", 0);
                    level.sumOp = gt_;
                    step = Step::StartTerm;
                }
                break;
            }
        }
    }
}

}  // namespace

DiffState& diffState() {
    static DiffState state;
    return state;
}

void resetDiffState() {
    diffState() = DiffState{};
}

void diffRaise(std::string_view message, int code) {
    DiffState& s = diffState();
    // The first error of a reading names the reason; what follows it is mostly
    // a consequence.
    if (code && s.diffErr == 0) setEError(diffErrorCode(code));
    s.diffErr = 1;
    DiffTrace("ERR, (s)", message);
    if (!message.empty() && s.raised.size() < kRaisedCap) {
        if (!s.raised.empty()) s.raised += "; ";
        s.raised.append(message.substr(0, kRaisedCap));
    }
}

std::int32_t NewNode() {
    return newNode(diffState());
}

namespace {

std::int32_t newNode(DiffState& s) {
    if (s.tableFull) return 0;
    if (s.Index >= kMaxNodes) {
        // Handing out node 0 or starting again at 1 would overwrite nodes still
        // in use; the table stays full until the next differentiation.
        s.tableFull = true;
        diffRaise("Too long formula", kDiffTooLong);
        return 0;
    }
    ++s.Index;
    TreeNode& n = s.t[static_cast<std::size_t>(s.Index)];
    n.l = 0;
    n.r = 0;
    return s.Index;
}

}  // namespace

void resetReader() {
    DiffState& s = diffState();
    s.diffErr = 0;
    s.bc = 0;
    s.prevTok = 0;
    s.lastTok = 0;
    s.pos = 1;
}

std::size_t GetNumber(std::string_view text, std::size_t start) {
    const std::size_t n = text.size();
    std::size_t i = start;
    while (i < n && isDigit(text[i])) ++i;
    if (i < n && text[i] == '.') {
        ++i;
        if (i >= n || !isDigit(text[i])) {
            diffRaise("Wrong number.", kDiffWrongNumber);
            return i - start;
        }
        while (i < n && isDigit(text[i])) ++i;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        if (i >= n || !isDigit(text[i])) {
            diffRaise("Wrong number.", kDiffWrongNumber);
            return i - start;
        }
        while (i < n && isDigit(text[i])) ++i;
    }
    return i - start;
}

namespace {

std::int32_t nextToken(DiffState& s, std::string_view text, std::string_view& lexeme) {
    const std::size_t n = text.size();
    std::size_t i = s.pos - 1;
    while (i < n && text[i] == ' ') ++i;
    std::int32_t kind = kOpEnd;
    std::size_t len = 0;
    if (i < n) {
        const char c = text[i];
        len = 1;
        switch (c) {
            case '(':
                kind = kOpOpen;
                break;
            case ')':
                kind = kOpClose;
                break;
            case '+':
                kind = kOpAdd;
                break;
            case '*':
                kind = kOpMul;
                break;
            case '/':
                kind = kOpDiv;
                break;
            case '^':
                kind = kOpPow;
                break;
            case '-': {
                kind = kOpSub;
                // A minus that starts the text or follows "(" belongs to the number
                // after it, unless a power follows: -2^2 is -(2^2), as the evaluator
                // reads it.
                if (i + 1 < n && isDigit(text[i + 1]) &&
                    (s.lastTok == kOpEnd || s.lastTok == kOpOpen)) {
                    std::size_t k = numberSpanEnd(text, i + 1);
                    while (k < n && text[k] == ' ') ++k;
                    if (k >= n || text[k] != '^') {
                        kind = kOpNumber;
                        len = 1 + GetNumber(text, i + 1);
                    }
                }
                break;
            }
            default:
                if (c == '_' || letterLength(text, i) > 0) {
                    // Names hold letters beyond ASCII too (größe, π), as in the evaluator.
                    std::size_t j = i + (c == '_' ? 1 : letterLength(text, i));
                    while (j < n) {
                        const std::size_t k = isDigit(text[j]) ? 1 : letterLength(text, j);
                        if (k == 0) break;
                        j += k;
                    }
                    len = j - i;
                    kind = identifierKind(text.substr(i, len));
                } else if (isDigit(c)) {
                    kind = kOpNumber;
                    len = GetNumber(text, i);
                } else {
                    kind = kOpBadChar;
                    // A character outside ASCII is one token, all its bytes.
                    while (i + len < n &&
                           (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80)
                        ++len;
                    // A text of nothing but such characters raises once per
                    // character: spell the message out only while someone reads it.
                    if (s.raised.size() < kRaisedCap || diffTracing()) {
                        diffRaise(
                            "GetLex: Invalid character '" + std::string(text.substr(i, len)) + "'",
                            kDiffErrorInFormula);
                    } else {
                        diffRaise({}, kDiffErrorInFormula);
                    }
                }
                break;
        }
    }
    lexeme = text.substr(std::min(i, n), len);
    s.prevTok = s.lastTok;
    s.lastTok = kind;
    s.pos = std::min(i, n) + len + 1;
    return kind;
}

}  // namespace

std::int32_t GetTreeExpr(std::string_view text) {
    return Reader(text).GetTreeExpr();
}

double leafValue(const std::string& con) {
    // Whole numbers are most of what the rules write and read.
    if (!con.empty() && con.size() <= 15) {
        std::int64_t whole = 0;
        bool digits = true;
        for (char c : con) {
            if (!isDigit(c)) {
                digits = false;
                break;
            }
            whole = whole * 10 + (c - '0');
        }
        if (digits) return static_cast<double>(whole);
    }
    if (con == "+Infinity") return std::numeric_limits<double>::infinity();
    if (con == "-Infinity") return -std::numeric_limits<double>::infinity();
    if (con == "NaN") return std::numeric_limits<double>::quiet_NaN();
    return DecValue(con);
}

namespace {

// Digits of a number text from its first non-zero digit on.
std::size_t significantDigits(std::string_view text) {
    const std::size_t first = text.find_first_of("123456789");
    if (first == std::string_view::npos) return 0;
    std::size_t count = 0;
    for (std::size_t i = first; i < text.size(); ++i) count += isDigit(text[i]);
    return count;
}

// A constant too small for ten decimals, in plain decimal notation (the
// evaluator reads no exponent) with ten significant digits, trailing zeros
// removed: 2e-12 prints as 0.000000000002.
std::string smallNumberText(double value) {
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                   std::chars_format::scientific, 9).ptr;
    const std::string_view sci(buf, static_cast<std::size_t>(end - buf));  // d.ddddddddde-XX
    const std::size_t mark = sci.find('e');
    int exponent = 0;
    std::from_chars(sci.data() + mark + 1 + (sci[mark + 1] == '+'), sci.data() + sci.size(), exponent);
    std::string digits(1, sci[0]);
    digits.append(sci.substr(2, mark - 2));
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string t = value < 0 ? "-" : "";
    // Only values below 1e-5 come here: the exponent is negative.
    t += "0.";
    t.append(static_cast<std::size_t>(-exponent - 1), '0');
    t += digits;
    return t;
}

}  // namespace

std::string diffNumberText(double value) {
    // Whole numbers print as their digits, as the trimmed ten-decimal text does.
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        char buf[24];
        const auto whole = static_cast<long long>(value);
        const auto end = std::to_chars(buf, buf + sizeof buf, whole).ptr;
        return std::string(buf, end);
    }
    std::string t = FixText(value);
    if (std::isfinite(value) && value != 0 && significantDigits(t) < 6) return smallNumberText(value);
    if (t.find('.') != std::string::npos) {
        const std::size_t last = t.find_last_not_of('0');
        t.erase(last + 1);
        if (!t.empty() && t.back() == '.') t.pop_back();
    }
    if (t.empty()) t = "0";
    return t;
}

}  // namespace zrt
