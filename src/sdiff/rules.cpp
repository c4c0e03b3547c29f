#include "sdiff/rules.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "base/limits.h"
#include "base/strings.h"
#include "sdiff/sdiff.h"
#include "sdiff/tree.h"

namespace zrt {

namespace {

// The three walks share one machine: a stack of pieces still to write, so the
// depth of a tree costs heap, not the thread's stack.
enum class Piece : std::uint8_t {
    Text,        // literal text
    Derive,      // Df of a node
    Copy,        // Df_GetFormula of a node
    Print,       // Diff_GetFormula of a node
    ReducedExp,  // K: the number exponent of a power node minus 1
    Leave,       // trace line on leaving a node
};

struct Task {
    Piece piece;
    std::int32_t node;
    std::string_view text;  // Text: the literal; Leave: the label
    std::size_t start = 0;  // Leave: where the node's text began
};

Task T(std::string_view text) {
    return {Piece::Text, 0, text};
}
Task D(std::int32_t node) {
    return {Piece::Derive, node, {}};
}
Task F(std::int32_t node) {
    return {Piece::Copy, node, {}};
}
Task P(std::int32_t node) {
    return {Piece::Print, node, {}};
}

bool hasTwoOperands(std::int32_t op) { return (op >= kOpAdd && op <= kOpDiv) || op == kOpPow; }
bool hasOneOperand(std::int32_t op) { return op == kOpNeg || isFunctionOp(op); }

// Marks, by node index, the nodes of the subtree at root that hold the
// variable dVar somewhere below them. The derivative of every other subtree is
// 0 before any rule is applied to it: a rule would only fold constants the
// derivative does not need (ln of a negative base, 0.5/sqrt(0)) into NaN or a
// division by zero.
std::vector<char> variableMarks(const DiffState& s, std::int32_t root) {
    std::vector<char> marks(static_cast<std::size_t>(std::max(s.Index, root)) + 1, 0);
    if (root == 0) return marks;
    struct Visit {
        std::int32_t node;
        bool childrenDone;
    };
    std::vector<Visit> stack{{root, false}};
    while (!stack.empty()) {
        Visit& v = stack.back();
        const TreeNode& node = s.t[static_cast<std::size_t>(v.node)];
        const std::int32_t op = node.opCode;
        const bool two = hasTwoOperands(op), one = hasOneOperand(op);
        if (!v.childrenDone) {
            v.childrenDone = true;
            if (two && node.r) stack.push_back({node.r, false});
            if ((two || one) && node.l) stack.push_back({node.l, false});
            continue;
        }
        const std::int32_t i = v.node;
        stack.pop_back();
        const auto marked = [&](std::int32_t c) { return c != 0 && marks[static_cast<std::size_t>(c)]; };
        marks[static_cast<std::size_t>(i)] = static_cast<char>(
            (op == kOpName && node.con == s.dVar) || ((two || one) && marked(node.l)) ||
            (two && marked(node.r)));
    }
    return marks;
}

class Writer {
   public:
    explicit Writer(std::string& out, bool countCopies = false)
        : out_(out), s_(diffState()), tracing_(diffTracing()), countCopies_(countCopies) {
        stack_.reserve(256);
    }

    void run(Task first) {
        stack_.push_back(first);
        while (!stack_.empty() && !overflow_) {
            const Task task = stack_.back();
            stack_.pop_back();
            switch (task.piece) {
                case Piece::Text:
                    append(task.text);
                    break;
                case Piece::Derive:
                    derive(task.node);
                    break;
                case Piece::Copy:
                    copy(task.node);
                    break;
                case Piece::Print:
                    print(task.node);
                    break;
                case Piece::ReducedExp:
                    reducedExponent(task.node);
                    break;
                case Piece::Leave:
                    leave(task);
                    break;
            }
        }
    }

    // Df of root: the subtrees without the variable derive to 0 at once.
    void deriveFrom(std::int32_t root) {
        marks_ = variableMarks(s_, root);
        run(D(root));
    }

   private:
    const TreeNode& n(std::int32_t i) const { return s_.t[static_cast<std::size_t>(i)]; }
    bool holdsVariable(std::int32_t i) const {
        return static_cast<std::size_t>(i) >= marks_.size() || marks_[static_cast<std::size_t>(i)];
    }

    void append(std::string_view text) { out_.append(text); }

    void appendCopy(const std::string& con) {
        if (countCopies_ && (copiedBytes_ += con.size()) > kMaxCopiedText) {
            tooLong();
            return;
        }
        out_.append(con);
    }

    void tooLong() {
        if (!overflow_) diffRaise("Too long formula", kDiffTooLong);
        overflow_ = true;
    }

    // Pushes the pieces so that they run in the order given.
    void then(std::initializer_list<Task> pieces) {
        for (auto it = pieces.end(); it != pieces.begin();) stack_.push_back(*--it);
    }

    void enter(std::string_view label, std::int32_t i) {
        if (!tracing_) return;
        DiffTrace(label, "IN_, _t=" + std::to_string(i) +
                             ", \\t[_t]\\opCode=" + std::to_string(n(i).opCode));
        Task leave{Piece::Leave, i, label, out_.size()};
        stack_.push_back(leave);
    }

    void leave(const Task& task) {
        const std::string result = clipped(std::string_view(out_).substr(task.start), kTraceTextCap);
        if (task.text == "Df") {
            DiffTrace(task.text, "OUT 16, _t=" + std::to_string(task.node) + ", Result=" + result);
        } else if (task.text == "Df_GetFormula") {
            DiffTrace(task.text, "OUT 15, _t=" + std::to_string(task.node) + ", Result=" + result);
        } else {
            DiffTrace(task.text, "OUT 14, Result=" + result);
        }
    }

    void derive(std::int32_t i) {
        if (i == 0) {
            append("0");
            return;
        }
        enter("Df", i);
        if (!holdsVariable(i)) {
            append("0");
            return;
        }
        const TreeNode& node = n(i);
        const std::int32_t l = node.l, r = node.r;
        switch (node.opCode) {
            case kOpAdd:
                then({T("(("), D(l), T(")+("), D(r), T("))")});
                break;
            case kOpSub:
                then({T("(("), D(l), T(")-("), D(r), T("))")});
                break;
            case kOpMul:
                then({T("(("), D(l), T(")*("), F(r), T(")+("), D(r), T(")*("), F(l), T("))")});
                break;
            case kOpDiv:
                then({T("(("), D(l), T(")*("), F(r), T(")-("), D(r), T(")*("), F(l), T("))/("),
                      F(r), T(")^2")});
                break;
            case kOpName:
                append(node.con == s_.dVar ? "1" : "0");
                break;
            case kOpNeg:
                then({T("(-("), D(l), T("))")});
                break;
            case kOpCos:
                then({T("(-sin("), F(l), T(")*("), D(l), T("))")});
                break;
            case kOpSin:
                then({T("(cos("), F(l), T(")*("), D(l), T("))")});
                break;
            case kOpTan:
                then({T("(1/(cos("), F(l), T(")^2)*("), D(l), T("))")});
                break;
            case kOpCot:
                then({T("(-1/(sin("), F(l), T(")^2)*("), D(l), T("))")});
                break;
            case kOpAbs:
                then({T("(sgn("), F(l), T(")*("), D(l), T("))")});
                break;
            case kOpSqrt:
                then({T("(0.5/sqrt("), F(l), T(")*("), D(l), T("))")});
                break;
            case kOpLn:
                then({T("(1/("), F(l), T(")*("), D(l), T("))")});
                break;
            case kOpExp:
                then({T("(exp("), F(l), T(")*("), D(l), T("))")});
                break;
            case kOpArcSin:
                then({T("(1/sqrt(1-("), F(l), T(")^2)*("), D(l), T("))")});
                break;
            case kOpArcCos:
                then({T("(-1/sqrt(1-("), F(l), T(")^2)*("), D(l), T("))")});
                break;
            case kOpArcTan:
                then({T("(1/(1+("), F(l), T(")^2)*("), D(l), T("))")});
                break;
            case kOpArcCot:
                then({T("(-1/(1+("), F(l), T(")^2)*("), D(l), T("))")});
                break;
            case kOpSh:
                then({T("(ch("), F(l), T(")*("), D(l), T("))")});
                break;
            case kOpCh:
                then({T("(sh("), F(l), T(")*("), D(l), T("))")});
                break;
            case kOpTh:
                then({T("(1/(ch("), F(l), T(")^2)*("), D(l), T("))")});
                break;
            case kOpCth:
                then({T("(-1/(sh("), F(l), T(")^2)*("), D(l), T("))")});
                break;
            case kOpLog10:
                then({T("(1/("), F(l), T(")*("), D(l), T("))/("), T(kL10), T(")")});
                break;
            case kOpPow:
                if (r && n(r).opCode == kOpNumber) {
                    then({T("(("),
                          F(r),
                          T(")*("),
                          F(l),
                          T(")^("),
                          {Piece::ReducedExp, i, {}},
                          T(")*("),
                          D(l),
                          T("))+(("),
                          F(l),
                          T(")^("),
                          F(r),
                          T(")*(ln("),
                          F(l),
                          T(")*"),
                          D(r),
                          T("))")});
                } else {
                    // A name exponent: n*x^(n-1), the exponent written as an
                    // expression only the derivative reader takes.
                    then({T("(("), F(r), T(")*("), F(l), T(")^(("), F(r), T(")-1)*("), D(l),
                          T("))+(("), F(l), T(")^("), F(r), T(")*(ln("), F(l), T(")*"), D(r),
                          T("))")});
                }
                break;
            default:
                append("0");
                break;  // numbers, sgn, Heaviside
        }
    }

    void reducedExponent(std::int32_t i) { append(diffNumberText(leafValue(n(n(i).r).con) - 1)); }

    void copy(std::int32_t i) {
        if (i == 0) return;
        // Every node copied into a derivative comes back as a node of the
        // derivative's tree, beside the formula's: past the table's size the
        // text cannot be read back, so writing it on is wasted.
        if (countCopies_ &&
            ++copied_ + static_cast<std::size_t>(s_.Index) > static_cast<std::size_t>(kMaxNodes)) {
            tooLong();
            return;
        }
        enter("Df_GetFormula", i);
        const TreeNode& node = n(i);
        const std::int32_t l = node.l, r = node.r;
        const std::int32_t op = node.opCode;
        switch (op) {
            case kOpAdd:
                then({T("(("), F(l), T(")+("), F(r), T("))")});
                break;
            case kOpSub:
                then({T("(("), F(l), T(")-("), F(r), T("))")});
                break;
            case kOpMul:
                then({T("(("), F(l), T(")*("), F(r), T("))")});
                break;
            case kOpDiv:
                then({T("(("), F(l), T(")/("), F(r), T("))")});
                break;
            case kOpNumber:
            case kOpName:
                appendCopy(node.con);
                break;
            case kOpNeg:
                then({T("(-("), F(l), T("))")});
                break;
            case kOpPow:
                then({T("(("), F(l), T(")^("), F(r), T("))")});
                break;
            default:
                if (isFunctionOp(op)) {
                    appendCopy(node.con);
                    then({T("("), F(l), T(")")});
                }
                break;
        }
    }

    static bool tight(std::int32_t op) {
        return op == kOpMul || op == kOpDiv || op == kOpNumber || op == kOpName ||
               (op >= kOpFirstFunction && op <= kOpPow);
    }
    static bool leafOrCall(std::int32_t op) {
        return op == kOpNumber || op == kOpName || (op >= kOpFirstFunction && op <= kOpPow);
    }

    // Print a child, in brackets when asked.
    void child(std::int32_t i, bool wrap, std::vector<Task>& seq) {
        if (wrap) seq.push_back(T("("));
        seq.push_back(P(i));
        if (wrap) seq.push_back(T(")"));
    }

    void print(std::int32_t i) {
        if (i == 0) return;
        enter("Diff_GetFormula", i);
        const TreeNode& node = n(i);
        const std::int32_t l = node.l, r = node.r;
        const std::int32_t p1 = n(l).opCode, p2 = n(r).opCode;
        const std::int32_t op = node.opCode;
        std::vector<Task>& seq = scratch_;
        seq.clear();
        switch (op) {
            case kOpAdd:
                child(l, false, seq);
                seq.push_back(T("+"));
                child(r, false, seq);
                break;
            case kOpSub:
                child(l, false, seq);
                seq.push_back(T("-"));
                child(r, !tight(p2), seq);
                break;
            case kOpMul:
                child(l, !tight(p1), seq);
                seq.push_back(T("*"));
                child(r, !tight(p2), seq);
                break;
            case kOpDiv:
                child(l, !tight(p1), seq);
                seq.push_back(T("/"));
                child(r, !leafOrCall(p2), seq);
                break;
            case kOpNumber: {
                const bool negative = !node.con.empty() && node.con[0] == '-';
                if (negative) append("(");
                append(node.con);
                if (negative) append(")");
                break;
            }
            case kOpName:
                append(node.con);
                break;
            case kOpNeg:
                seq.push_back(T("(-"));
                child(l, !leafOrCall(p1), seq);
                seq.push_back(T(")"));
                break;
            case kOpPow:
                child(l, p1 != kOpNumber && p1 != kOpName, seq);
                seq.push_back(T("^"));
                // An exponent is a leaf, except n-1 from the rule for x^n.
                child(r, p2 != kOpNumber && p2 != kOpName, seq);
                break;
            default:
                if (isFunctionOp(op)) {
                    append(node.con);
                    seq.push_back(T("("));
                    child(l, false, seq);
                    seq.push_back(T(")"));
                }
                break;
        }
        for (auto it = seq.rbegin(); it != seq.rend(); ++it) stack_.push_back(*it);
    }

    std::string& out_;
    DiffState& s_;
    std::vector<char> marks_;  // nodes that hold the variable (Df only)
    bool tracing_;
    std::vector<Task> stack_;
    std::vector<Task> scratch_;
    bool countCopies_;
    std::size_t copied_ = 0;
    std::size_t copiedBytes_ = 0;
    bool overflow_ = false;
};

// Df without the text: builds the tree that reading Df's text back would give,
// node for node, straight into the table. Each case below is the template of
// Writer::derive as the reader groups it (products and quotients to the left,
// a leading "-(" or "-sin(" negating its whole term, "-1/" a negative number).
class TreeDeriver {
   public:
    TreeDeriver() : s_(diffState()), derived_(static_cast<std::size_t>(s_.Index) + 1, 0) {}

    std::int32_t run(std::int32_t root) {
        if (root == 0) return number("0");
        marks_ = variableMarks(s_, root);
        std::vector<Visit> stack;
        stack.reserve(64);
        stack.push_back({root, false});
        while (!stack.empty() && !failed_) {
            Visit& v = stack.back();
            const std::int32_t i = v.node;
            if (!marks_[static_cast<std::size_t>(i)]) {
                // No variable below: 0, with no rule applied and no child visited.
                stack.pop_back();
                derived_[static_cast<std::size_t>(i)] = number("0");
                continue;
            }
            if (!v.childrenDone) {
                v.childrenDone = true;
                const TreeNode& node = n(i);
                // Only the children whose derivative the template uses.
                if (derivesRight(node.opCode) && node.r) stack.push_back({node.r, false});
                if (derivesLeft(node.opCode) && node.l) stack.push_back({node.l, false});
                continue;
            }
            stack.pop_back();
            derived_[static_cast<std::size_t>(i)] = derive(i);
        }
        return failed_ ? 0 : derived_[static_cast<std::size_t>(root)];
    }

   private:
    static bool derivesLeft(std::int32_t op) {
        return (op >= kOpAdd && op <= kOpDiv) || op == kOpNeg || op == kOpPow ||
               (isFunctionOp(op) && op != kOpSgn && op != kOpHeaviside && op != 29 && op != 30);
    }
    static bool derivesRight(std::int32_t op) {
        return (op >= kOpAdd && op <= kOpDiv) || op == kOpPow;
    }

    const TreeNode& n(std::int32_t i) const { return s_.t[static_cast<std::size_t>(i)]; }

    std::int32_t D(std::int32_t i) {
        return i ? derived_[static_cast<std::size_t>(i)] : number("0");
    }

    std::int32_t make(std::int32_t op, std::int32_t l, std::int32_t r, std::string_view con = {}) {
        const std::int32_t i = NewNode(s_);
        if (i == 0) {
            failed_ = true;
            return 0;
        }
        TreeNode& node = s_.t[static_cast<std::size_t>(i)];
        node.opCode = op;
        if (con.empty()) {
            node.con.clear();
        } else {
            node.con.assign(con);
        }
        node.l = l;
        node.r = r;
        return i;
    }
    std::int32_t number(std::string_view text) { return make(kOpNumber, 0, 0, text); }
    std::int32_t call(std::string_view name, std::int32_t arg) {
        return make(identifierOp(name), arg, 0, name);
    }
    static std::int32_t identifierOp(std::string_view name) {
        if (name == "sin") return kOpSin;
        if (name == "cos") return kOpCos;
        if (name == "sgn") return kOpSgn;
        if (name == "sqrt") return kOpSqrt;
        if (name == "exp") return kOpExp;
        if (name == "ln") return kOpLn;
        if (name == "ch") return kOpCh;
        return kOpSh;
    }
    std::int32_t add(std::int32_t a, std::int32_t b) { return make(kOpAdd, a, b); }
    std::int32_t sub(std::int32_t a, std::int32_t b) { return make(kOpSub, a, b); }
    std::int32_t mul(std::int32_t a, std::int32_t b) { return make(kOpMul, a, b); }
    std::int32_t div(std::int32_t a, std::int32_t b) { return make(kOpDiv, a, b); }
    std::int32_t pow(std::int32_t a, std::int32_t b) { return make(kOpPow, a, b); }
    std::int32_t neg(std::int32_t a) { return make(kOpNeg, a, 0); }

    // F: a copy of the subtree, as reading Df_GetFormula's text gives it.
    std::int32_t F(std::int32_t root) {
        if (root == 0 || failed_) return 0;
        std::vector<Visit>& stack = copyStack_;
        std::vector<std::int32_t>& done = copyResults_;
        stack.clear();
        done.clear();
        stack.push_back({root, false});
        while (!stack.empty() && !failed_) {
            Visit& v = stack.back();
            const TreeNode& node = n(v.node);
            const bool two =
                (node.opCode >= kOpAdd && node.opCode <= kOpDiv) || node.opCode == kOpPow;
            const bool one = node.opCode == kOpNeg || isFunctionOp(node.opCode);
            if (!v.childrenDone) {
                v.childrenDone = true;
                if (two && node.r) stack.push_back({node.r, false});
                if ((two || one) && node.l) stack.push_back({node.l, false});
                continue;
            }
            const std::int32_t i = v.node;
            stack.pop_back();
            std::int32_t l = 0, r = 0;
            // The left child is finished first, so the right one's copy is on top.
            if (two && node.r) {
                r = done.back();
                done.pop_back();
            }
            if ((two || one) && node.l) {
                l = done.back();
                done.pop_back();
            }
            const TreeNode& from = n(i);
            if (from.opCode == kOpNumber || from.opCode == kOpName || isFunctionOp(from.opCode)) {
                if ((copiedBytes_ += from.con.size()) > kMaxCopiedText) {
                    diffRaise("Too long formula", kDiffTooLong);
                    failed_ = true;
                    return 0;
                }
            }
            done.push_back(make(from.opCode, l, r, from.con));
        }
        return failed_ ? 0 : done.back();
    }

    std::int32_t derive(std::int32_t i) {
        const TreeNode& node = n(i);
        const std::int32_t l = node.l, r = node.r;
        switch (node.opCode) {
            case kOpAdd:
                return add(D(l), D(r));
            case kOpSub:
                return sub(D(l), D(r));
            case kOpMul: {
                const std::int32_t a = mul(D(l), F(r));
                return add(a, mul(D(r), F(l)));
            }
            case kOpDiv: {
                const std::int32_t a = mul(D(l), F(r));
                const std::int32_t numerator = sub(a, mul(D(r), F(l)));
                return div(numerator, pow(F(r), number("2")));
            }
            case kOpName:
                return number(node.con == s_.dVar ? "1" : "0");
            case kOpNeg:
                return neg(D(l));
            case kOpCos:
                return neg(mul(call("sin", F(l)), D(l)));
            case kOpSin:
                return mul(call("cos", F(l)), D(l));
            case kOpTan:
                return inverseSquare("1", "cos", l);
            case kOpCot:
                return inverseSquare("-1", "sin", l);
            case kOpAbs:
                return mul(call("sgn", F(l)), D(l));
            case kOpSqrt: {
                const std::int32_t half = number("0.5");
                return mul(div(half, call("sqrt", F(l))), D(l));
            }
            case kOpLn: {
                const std::int32_t one = number("1");
                return mul(div(one, F(l)), D(l));
            }
            case kOpExp:
                return mul(call("exp", F(l)), D(l));
            case kOpArcSin:
                return arcSine("1", l);
            case kOpArcCos:
                return arcSine("-1", l);
            case kOpArcTan:
                return arcTangent("1", l);
            case kOpArcCot:
                return arcTangent("-1", l);
            case kOpSh:
                return mul(call("ch", F(l)), D(l));
            case kOpCh:
                return mul(call("sh", F(l)), D(l));
            case kOpTh:
                return inverseSquare("1", "ch", l);
            case kOpCth:
                return inverseSquare("-1", "sh", l);
            case kOpLog10: {
                const std::int32_t one = number("1");
                const std::int32_t a = mul(div(one, F(l)), D(l));
                return div(a, number(kL10));
            }
            case kOpPow:
                return power(l, r);
            default:
                return number("0");
        }
    }

    // c/(f(u)^2)*u'
    std::int32_t inverseSquare(std::string_view c, std::string_view f, std::int32_t u) {
        const std::int32_t k = number(c);
        const std::int32_t square = pow(call(f, F(u)), number("2"));
        return mul(div(k, square), D(u));
    }
    // c/sqrt(1-u^2)*u'
    std::int32_t arcSine(std::string_view c, std::int32_t u) {
        const std::int32_t k = number(c);
        const std::int32_t one = number("1");
        const std::int32_t root = call("sqrt", sub(one, pow(F(u), number("2"))));
        return mul(div(k, root), D(u));
    }
    // c/(1+u^2)*u'
    std::int32_t arcTangent(std::string_view c, std::int32_t u) {
        const std::int32_t k = number(c);
        const std::int32_t one = number("1");
        const std::int32_t sum = add(one, pow(F(u), number("2")));
        return mul(div(k, sum), D(u));
    }

    std::int32_t power(std::int32_t l, std::int32_t r) {
        const std::int32_t factor = F(r);
        std::int32_t exponent;
        if (r && n(r).opCode == kOpNumber) {
            const std::string k = diffNumberText(leafValue(n(r).con) - 1);
            // An infinite reduced exponent is no number the reader would take.
            const char first = k[k[0] == '-' && k.size() > 1 ? 1 : 0];
            if (first < '0' || first > '9') {
                diffRaise("GetSingleOp: Power Symbol: lgtNum <> 7", kDiffWrongPower);
                failed_ = true;
                return 0;
            }
            exponent = pow(F(l), number(k));
        } else {
            const std::int32_t base = F(l);
            const std::int32_t reduced = sub(F(r), number("1"));
            exponent = pow(base, reduced);
        }
        const std::int32_t first = mul(mul(factor, exponent), D(l));
        const std::int32_t raised = pow(F(l), F(r));
        const std::int32_t logarithm = call("ln", F(l));
        const std::int32_t second = mul(raised, mul(logarithm, D(r)));
        return add(first, second);
    }

    struct Visit {
        std::int32_t node;
        bool childrenDone;
    };

    DiffState& s_;
    std::vector<char> marks_;  // nodes that hold the variable
    std::vector<std::int32_t> derived_;
    std::vector<Visit> copyStack_;
    std::vector<std::int32_t> copyResults_;
    std::size_t copiedBytes_ = 0;
    bool failed_ = false;
};

}  // namespace

std::int32_t DfTree(std::int32_t node) {
    DiffState& s = diffState();
    const std::int32_t from = s.Index + 1;
    const std::int32_t root = TreeDeriver().run(node);
    s.builtFrom = root && root == s.Index ? from : 0;
    return root;
}

std::string Df(std::int32_t node) {
    std::string out;
    Writer(out, true).deriveFrom(node);
    return out;
}

std::string Df_GetFormula(std::int32_t node) {
    std::string out;
    Writer(out).run(F(node));
    return out;
}

std::string Diff_GetFormula(std::int32_t node) {
    std::string out;
    Writer(out).run(P(node));
    return out;
}

}  // namespace zrt
