#include "sdiff/rules.h"

#include <initializer_list>
#include <string_view>
#include <vector>

#include "sdiff/sdiff.h"
#include "sdiff/tree.h"

namespace zrt {

namespace {

// A derivative text longer than this cannot come from a formula that fits the
// node table; it only arises from long names copied many times.
constexpr std::size_t kMaxDerivativeText = 64u << 20;

// Trace lines show at most this much of a result.
constexpr std::size_t kTraceTextCap = 4000;

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

std::string clipped(std::string_view text) {
    if (text.size() <= kTraceTextCap) return std::string(text);
    return std::string(text.substr(0, kTraceTextCap)) + " ... (" + std::to_string(text.size()) +
           " characters)";
}

class Writer {
   public:
    explicit Writer(std::string& out, bool countCopies = false)
        : out_(out), s_(diffState()), countCopies_(countCopies) {}

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

   private:
    const TreeNode& n(std::int32_t i) const { return s_.t[static_cast<std::size_t>(i)]; }

    void append(std::string_view text) {
        out_.append(text);
        if (out_.size() > kMaxDerivativeText) tooLong();
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
        if (!diffTracing()) return;
        DiffTrace(label, "IN_, _t=" + std::to_string(i) +
                             ", \\t[_t]\\opCode=" + std::to_string(n(i).opCode));
        Task leave{Piece::Leave, i, label, out_.size()};
        stack_.push_back(leave);
    }

    void leave(const Task& task) {
        const std::string result = clipped(std::string_view(out_).substr(task.start));
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
                append(node.con);
                break;
            case kOpNeg:
                then({T("(-("), F(l), T("))")});
                break;
            case kOpPow:
                then({T("(("), F(l), T(")^("), F(r), T("))")});
                break;
            default:
                if (isFunctionOp(op)) {
                    append(node.con);
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
    std::vector<Task> stack_;
    std::vector<Task> scratch_;
    bool countCopies_;
    std::size_t copied_ = 0;
    bool overflow_ = false;
};

}  // namespace

std::string Df(std::int32_t node) {
    std::string out;
    Writer(out, true).run(D(node));
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
