// A formula of one variable read once and evaluated at many points without
// building or reading any text: the variable becomes a slot that takes the
// value the point's text would have entered with. Every result is the very
// value the text path (the point's text put into the formula, evaluated by
// e_eval) gives; where that cannot be guaranteed the form is not built and
// the caller keeps the text path.
//
// A form is built only when the formula parses without error and holds
// nothing but numbers, the variable, other stored variables and the named
// constants, operators, brackets and built-in functions (rnd excepted, whose
// draws must not be repeated): no matrices, "#" constants, hexadecimal or
// binary literals, statistics or matrix functions, and no user functions
// (the text path expands them by substring, before reading). The variable's
// occurrences must be whole names. Values of other variables are taken when
// the form is built.
//
// An evaluation that meets any failure (a division by zero, an argument
// outside a function's domain, an integer operation out of range) gives no
// value: the caller then evaluates that point's text, which reports the
// failure with its code and log entries exactly as before.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "evaluator/evaluator.h"
#include "evaluator/pointformula.h"

namespace zrt {

// How the variable enters the formula.
enum class SlotKind : std::uint8_t {
    // Every occurrence of the name's text (case kept) is replaced by the
    // point's text in brackets (tables, integrals): all of them must be whole
    // names.
    Substring,
    // Whole words of the name in any case are replaced by the point's text in
    // brackets (plot tables); expectedSlots tells how many there are.
    Word,
    // The variable is stored and the lexer reads it by name (the solvers):
    // names of the variable in any case, unless they are word operators.
    Stored,
};

// The value "(" + NumText(FixText(x)) + ")" has when a formula reads it (the
// ten-decimal rounding of x read back), computed without text; false outside
// the range where that is exact (|x| >= 1e5, infinities, not-a-number).
inline bool pointTextValue(double x, double& value) {
    double n = 0;
    if (!tenDecimalRounding(x, n)) return false;
    value = n == 0 ? 0.0 : n / 1e10;
    return true;
}

class PreparedFormula {
public:
    PreparedFormula() = default;
    PreparedFormula(std::string_view formula, std::string_view variable, SlotKind kind,
                    std::size_t expectedSlots = 0);

    // Whether the form was built; otherwise every point takes the text path.
    bool ready() const { return ready_; }

    // The formula with the slot at `slot` (the value the variable enters
    // with); false when some operation fails at this point.
    bool evaluate(double slot, double& value) const;

    // The most points evaluateBlock takes at once.
    static constexpr std::size_t kBlock = 64;

    // The formula at slots[0..n) (n at most kBlock) into values[0..n), one
    // operation over all points at a time: how many leading points have a
    // value, each the one evaluate() gives (points after the first one that
    // fails are not computed).
    std::size_t evaluateBlock(const double* slots, double* values, std::size_t n) const;

    enum class Op : std::uint8_t {
        Number, Slot, Negate, Not, Function, Square, Power, Multiply, Divide, IntegerQuotient,
        Remainder, Add, Subtract, Equal, Less, Greater, NotEqual, LessEqual, GreaterEqual, And,
        Or, Xor,
    };
    struct Instruction {
        Op op;
        int function;
        double number;
    };

private:
    bool ready_ = false;
    std::vector<Instruction> code_;
    mutable std::vector<double> stack_;  // the evaluation's operands
    mutable std::vector<double> lanes_;  // evaluateBlock's: kBlock per stack level
};

// e_eval of a formula at points with the point's text in place of every
// occurrence of the variable (tables, integrals, plots): the prepared form
// where it serves, else the point's text. Both formula and variable must
// outlive the object.
class PointEvaluator {
public:
    // Occurrences as the text path finds them: `kind` Substring, or Word with
    // the number of whole words the caller cut the formula at.
    PointEvaluator(std::string_view formula, std::string_view variable,
                   SlotKind kind = SlotKind::Substring, std::size_t words = 0);

    // What e_eval of the point's text returns (0, 1 or the error code), with
    // the same value in *y and the same effects.
    int at(double x, double* y) {
        if (preparedAt(x, y)) return 0;
        const int code = e_eval(points_.textAt(x), y, 0);
        afterText(code);
        return code;
    }

    // The parts of at() for callers that build the point's text themselves:
    // the prepared value (false: the point needs its text), and what follows
    // e_eval of the text.
    bool preparedAt(double x, double* y);

    // at() of xs[0..n) in turn, as far as the prepared form serves them: how
    // many leading points it gave (values in ys, with the effects of that
    // many calls of at()). The caller takes the next point by at().
    std::size_t preparedBlock(const double* xs, double* ys, std::size_t n);

    void afterText(int code) {
        // A failure may have shown a message, and the host may have changed
        // the stores meanwhile: the form is read again.
        if (code != 0 && prepared_.ready()) rebuild();
    }

    PointFormula& points() { return points_; }
    bool prepared() const { return prepared_.ready(); }

private:
    void rebuild() { prepared_ = PreparedFormula(formula_, variable_, kind_, words_); }

    std::string_view formula_, variable_;
    SlotKind kind_;
    std::size_t words_;
    PointFormula points_;
    PreparedFormula prepared_;
};

// A formula evaluated with its variable in the variable store (the solvers,
// which store each x tried): the prepared form reads the stored value where
// it serves, else the formula's text is evaluated.
class StoredFormula {
public:
    StoredFormula(std::string_view formula, std::string_view variable);

    // e_eval(formula, y, 0) and de_eval(formula, 0) with the variable as it is
    // stored now: the same results and effects.
    int eEval(double* y);
    double deEval();

    bool prepared() const { return prepared_.ready(); }

private:
    bool fromPrepared(double& value) const;
    void rebuild() { prepared_ = PreparedFormula(formula_, name_, SlotKind::Stored); }

    std::string formula_;
    std::string name_;  // lower case, without blanks
    PreparedFormula prepared_;
};

}  // namespace zrt
