#include "sdiff/simplify.h"

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "sdiff/sdiff.h"
#include "sdiff/tree.h"

namespace zrt {

namespace {

// pi/2 as the arc cotangent rule holds it (single precision).
constexpr double kHalfPiSingle = 1.5707963705062866;

// A double rounded to single precision; values beyond the float range become
// infinite instead of being converted out of range.
double single(double v) {
    if (std::isnan(v)) return v;
    if (v > FLT_MAX) return HUGE_VAL;
    if (v < -FLT_MAX) return -HUGE_VAL;
    return static_cast<double>(static_cast<float>(v));
}

bool twoOperands(std::int32_t op) {
    return op == kOpAdd || op == kOpSub || op == kOpMul || op == kOpDiv || op == kOpPow;
}

bool oneOperand(std::int32_t op) {
    return op == kOpNeg || isFunctionOp(op);
}

class Simplifier {
   public:
    Simplifier()
        : s_(diffState()),
          tracing_(diffTracing()),
          result_(static_cast<std::size_t>(s_.Index) + 1, 0),
          value_(result_.size(), 0),
          valueKnown_(result_.size(), 0) {}

    std::int32_t run(std::int32_t root) {
        if (root == 0) return 0;
        if (!tracing_ && s_.builtFrom > 0 && root == s_.Index)
            return inIndexOrder(s_.builtFrom, root);
        struct Visit {
            std::int32_t node;
            bool childrenDone;
        };
        std::vector<Visit> stack;
        stack.reserve(64);
        stack.push_back({root, false});
        while (!stack.empty()) {
            Visit& v = stack.back();
            const std::int32_t i = v.node;
            TreeNode& node = at(i);
            if (!v.childrenDone) {
                v.childrenDone = true;
                if (tracing_) DiffTrace("Diff_Simplify", "IN_ 17, _t=" + std::to_string(i));
                // Left before right: push right first.
                if (twoOperands(node.opCode) && node.r) stack.push_back({node.r, false});
                if ((twoOperands(node.opCode) || oneOperand(node.opCode)) && node.l)
                    stack.push_back({node.l, false});
                continue;
            }
            stack.pop_back();
            if (node.l && (twoOperands(node.opCode) || oneOperand(node.opCode)))
                node.l = result(node.l);
            if (node.r && twoOperands(node.opCode)) node.r = result(node.r);
            const std::int32_t r = rules(i);
            if (static_cast<std::size_t>(i) < result_.size())
                result_[static_cast<std::size_t>(i)] = r;
            if (tracing_)
                DiffTrace("Diff_Simplify",
                          "OUT 18, _t=" + std::to_string(i) + ", Result=" + std::to_string(r));
        }
        return result(root);
    }

   private:
    // A tree whose nodes all come after their children: one pass in index
    // order visits every child before its parent, as the walk would.
    std::int32_t inIndexOrder(std::int32_t from, std::int32_t root) {
        for (std::int32_t i = from; i <= root; ++i) {
            TreeNode& node = at(i);
            const bool two = twoOperands(node.opCode);
            if (node.l && (two || oneOperand(node.opCode))) node.l = result(node.l);
            if (node.r && two) node.r = result(node.r);
            result_[static_cast<std::size_t>(i)] = rules(i);
        }
        return result(root);
    }

    TreeNode& at(std::int32_t i) { return s_.t[static_cast<std::size_t>(i)]; }

    std::int32_t result(std::int32_t i) const {
        return static_cast<std::size_t>(i) < result_.size() ? result_[static_cast<std::size_t>(i)]
                                                            : i;
    }

    bool isNumber(std::int32_t i) { return i && at(i).opCode == kOpNumber; }
    bool isNumber(std::int32_t i, double v) { return isNumber(i) && value(i) == v; }
    // A number's value, read from its text once.
    double value(std::int32_t i) {
        const auto k = static_cast<std::size_t>(i);
        if (k >= value_.size()) return leafValue(at(i).con);
        if (!valueKnown_[k]) {
            value_[k] = leafValue(at(i).con);
            valueKnown_[k] = 1;
        }
        return value_[k];
    }

    std::int32_t become(std::int32_t i, std::string text) {
        TreeNode& node = at(i);
        node.opCode = kOpNumber;
        node.con = std::move(text);
        node.l = 0;
        node.r = 0;
        if (static_cast<std::size_t>(i) < valueKnown_.size())
            valueKnown_[static_cast<std::size_t>(i)] = 0;
        return i;
    }
    std::int32_t become(std::int32_t i, double v) { return become(i, diffNumberText(v)); }

    std::int32_t rules(std::int32_t i) {
        TreeNode& node = at(i);
        const std::int32_t l = node.l, r = node.r;
        switch (node.opCode) {
            case kOpAdd:
                if (isNumber(l) && isNumber(r)) return become(i, value(l) + value(r));
                if (isNumber(l, 0)) return r;
                if (isNumber(r, 0)) return l;
                return i;
            case kOpSub:
                if (isNumber(l) && isNumber(r)) return become(i, value(l) - value(r));
                if (isNumber(l, 0)) {
                    node.opCode = kOpNeg;
                    node.l = r;
                    node.r = 0;
                    return i;
                }
                if (isNumber(r, 0)) return l;
                return i;
            case kOpMul:
                if (isNumber(l) && isNumber(r)) return become(i, value(l) * value(r));
                if (isNumber(l, 0) || isNumber(r, 0)) return become(i, "0");
                if (isNumber(l, 1)) return r;
                if (isNumber(r, 1)) return l;
                return i;
            case kOpDiv:
                if (isNumber(r, 0)) {
                    diffRaise("Division by zero.", kDiffDivisionByZero);
                    return i;
                }
                if (isNumber(l) && isNumber(r)) return become(i, value(l) / value(r));
                if (isNumber(l, 0)) return become(i, "0");
                if (isNumber(r, 1)) return l;
                return i;
            case kOpNeg:
                if (isNumber(l)) return become(i, -value(l));
                return i;
            case kOpPow:
                if (isNumber(l, 0)) return become(i, "0");
                if (isNumber(r, 0)) return become(i, "1");
                if (isNumber(l) && isNumber(r)) return become(i, power(value(l), value(r)));
                if (isNumber(r, 1)) return l;
                return i;
            default:
                if (isFunctionOp(node.opCode) && isNumber(l))
                    return function(i, node.opCode, value(l));
                return i;
        }
    }

    // |l|^r, negated for a negative base unless r is an even whole number.
    static double power(double l, double r) {
        const double magnitude = std::pow(std::fabs(l), r);
        const double half = r / 2;
        const bool evenWhole = std::isfinite(half) && std::nearbyint(half) == half;
        return l < 0 && !evenWhole ? -magnitude : magnitude;
    }

    std::int32_t function(std::int32_t i, std::int32_t op, double v) {
        switch (op) {
            case kOpCos:
                return become(i, std::cos(v));
            case kOpSin:
                return become(i, std::sin(v));
            case kOpTan:
                return become(i, std::sin(v) / std::cos(v));
            case kOpCot:
                return become(i, std::cos(v) / std::sin(v));
            case kOpAbs:
                return become(i, std::fabs(v));
            case kOpSgn:
                return become(i, v > 0 ? "1" : v < 0 ? "-1" : "0");
            case kOpSqrt:
                return become(i, std::sqrt(v));
            case kOpLn:
                return become(i, std::log(single(v)));
            case kOpExp:
                return become(i, std::exp(v));
            case kOpArcSin:
                return become(i, std::asin(v));
            case kOpArcCos:
                return become(i, std::acos(v));
            case kOpArcTan:
                return become(i, std::atan(v));
            case kOpArcCot:
                return become(i, kHalfPiSingle - std::atan(v));
            // The library functions give the same values as the exponential
            // formulas without their overflow for large arguments (th(800) is 1).
            case kOpSh:
                return become(i, std::sinh(v));
            case kOpCh:
                return become(i, std::cosh(v));
            case kOpTh:
                return become(i, std::tanh(v));
            case kOpCth:
                return become(i, 1 / std::tanh(v));
            case kOpHeaviside:
                return become(i, v >= 0 ? "1" : "0");
            case kOpLog10:
                return become(i, std::log(single(v)) / std::log(10.0));
            default:
                return i;  // 29 and 30 have no rule
        }
    }

    DiffState& s_;
    bool tracing_;
    std::vector<std::int32_t> result_;
    std::vector<double> value_;
    std::vector<char> valueKnown_;
};

}  // namespace

std::int32_t Diff_Simplify(std::int32_t node) {
    return Simplifier().run(node);
}

}  // namespace zrt
