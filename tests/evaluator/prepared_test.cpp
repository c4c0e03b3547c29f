// The prepared form of a formula of one variable against the text path it
// stands for: the same value bits, codes and log entries at every point.
#include "evaluator/preparedformula.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "base/numtext.h"
#include "memory/varstore.h"
#include "support/library_test.h"
#include "log/trace.h"

using namespace zrt;

class PreparedFormulaTest : public LibraryTest {};

namespace {

const double kInf = std::numeric_limits<double>::infinity();

bool sameBits(double a, double b) {
    if (std::isnan(a) && std::isnan(b)) return true;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Random formulas over every operator, function and constant, with the
// variable x in every place an operand can stand.
class FormulaMaker {
public:
    explicit FormulaMaker(unsigned seed) : rng_(seed) {}

    std::string make() { return expression(0); }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string number() {
        static const char* numbers[] = {"0", "1", "2", "3", "0.5", "2,5", "10", ".25", "1.2.3",
                                        "100000", "0.0000000001", "7", "12345.678901234567"};
        return numbers[pick(13)];
    }

    std::string operand(int depth) {
        static const char* functions[] = {
            "abs", "atan", "atn", "cos", "sin", "tan", "exp", "fix", "int", "log", "ln", "log10",
            "sgn", "sqr", "sqrt", "sec", "cosec", "cotan", "arcsin", "arccos", "arcsec",
            "arccosec", "arccotan", "sinh", "cosh", "tanh", "sech", "cosech", "cotanh", "arctanh",
            "arcsinh", "arccosh", "arcsech", "arccosech", "arccotanh", "SIN", "tg", "sign",
            "heaviside"};
        static const char* constants[] = {"pi", "e", "deg", "rad", "to_deg", "a", "PI"};
        const int kind = depth > 4 ? pick(3) : pick(9);
        switch (kind) {
            case 0:
            case 1: return "x";
            case 2: return number();
            case 3: return constants[pick(7)];
            case 4: return std::string(functions[pick(39)]) + "(" + expression(depth + 1) + ")";
            case 5: return "(" + expression(depth + 1) + ")";
            case 6: return "-" + operand(depth + 1);
            case 7: return pick(2) ? "+" + operand(depth + 1) : "not " + operand(depth + 1);
            default: return "x";
        }
    }

    std::string expression(int depth) {
        static const char* ops[] = {"+", "-", "*", "/", "^", "\\", " mod ", "=", "<", ">",
                                    "<>", "<=", ">=", " and ", " or ", " xor ", "^", "*"};
        std::string e = operand(depth);
        const int terms = depth > 3 ? 0 : pick(3);
        for (int k = 0; k < terms; ++k) e += ops[pick(18)] + operand(depth + 1);
        if (pick(20) == 0) e = " " + e + " ";
        return e;
    }

    std::mt19937 rng_;
};

std::vector<double> testPoints() {
    std::vector<double> points = {0, -0.0, 1, -1, -3, 2, 0.5, -0.5, 1e-11, -1e-11, 5e-11, -5e-11,
                                  4e-11, 1e-300, -1e-300, 0.00048828125, -0.00146484375,
                                  99999.99999999999, -99999.99999999999, 1e5, -1e5, 123456.789,
                                  1e15, -1e300, 1e300, kInf, -kInf,
                                  std::numeric_limits<double>::quiet_NaN(), 0.1 + 0.2, 3.0 / 7,
                                  2147483647.5, -2147483648.5};
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> unit(-1, 1);
    for (int i = 0; i < 12; ++i) points.push_back(std::ldexp(unit(rng), i * 3 - 20));
    return points;
}

struct Outcome {
    int code;
    double value;
    int error;
    std::string log;
    int resultType;
};

}  // namespace

TEST_F(PreparedFormulaTest, SameResultsAsThePointTextEverywhere) {
    SetVarFunct("a", "1.5", ListKind::Vars);
    const std::vector<double> points = testPoints();
    FormulaMaker maker(2024);
    int prepared = 0, compared = 0;
    for (int f = 0; f < 3000; ++f) {
        const std::string formula = maker.make();
        PointEvaluator evaluator(formula, "x");
        prepared += evaluator.prepared();
        PointFormula text(formula, "x");
        for (double x : points) {
            const auto run = [&](bool viaPrepared) {
                LogError("", 0, "", kLogClear);
                setEError(ErrorCode::None);
                Outcome o{};
                o.value = -12345;
                o.code = viaPrepared ? evaluator.at(x, &o.value) : e_eval(text.textAt(x), &o.value, 0);
                o.error = codeNumber(eError());
                o.log = errorLog();
                o.resultType = zrt::GetResultType();
                return o;
            };
            const Outcome a = run(true), b = run(false);
            ASSERT_EQ(a.code, b.code) << formula << " at " << x;
            ASSERT_EQ(a.error, b.error) << formula << " at " << x;
            ASSERT_TRUE(sameBits(a.value, b.value))
                << formula << " at " << x << ": " << a.value << " vs " << b.value;
            ASSERT_EQ(a.log, b.log) << formula << " at " << x;
            ASSERT_EQ(a.resultType, b.resultType) << formula << " at " << x;
            ++compared;
        }
        // All points at once: the same values, up to the first point that
        // fails in the form.
        PreparedFormula form(formula, "x", SlotKind::Substring);
        if (!form.ready()) continue;
        std::vector<double> slots;
        for (double x : points) {
            double slot = 0;
            if (pointTextValue(x, slot)) slots.push_back(slot);
        }
        double values[PreparedFormula::kBlock];
        const std::size_t got = form.evaluateBlock(slots.data(), values, slots.size());
        std::size_t expected = 0;
        for (double value = 0; expected < slots.size(); ++expected) {
            if (!form.evaluate(slots[expected], value)) break;
            ASSERT_TRUE(expected >= got || sameBits(value, values[expected]))
                << formula << " at slot " << slots[expected];
        }
        ASSERT_EQ(got, expected) << formula;
    }
    EXPECT_GT(prepared, 1500);  // most random formulas are prepared
    EXPECT_GT(compared, 100000);
}

TEST_F(PreparedFormulaTest, FormulasTheFormDoesNotCover) {
    SetVarFunct("a", "2", ListKind::Vars);
    const struct {
        const char* formula;
        const char* variable;
        bool prepared;
    } cases[] = {
        {"sin(x)*x^2", "x", true},
        {"x*a+pi-e", "x", true},
        {"exp(x)", "x", false},         // the x inside exp would be replaced too
        {"xx+x", "x", false},           // and inside another name
        {"x2", "x", false},
        {"X+1", "x", false},            // not replaced: X is an unknown name here
        {"t^2", "t", true},
        {"2x", "x", false},             // 2(x): the text reports the syntax error
        {"max(x;1)", "x", false},       // statistics functions
        {"rnd(x)", "x", false},         // draws must not be repeated
        {"#pi*x", "x", false},
        {"&FF+x", "x", false},
        {"!101+x", "x", false},
        {"det([mA])*x", "x", false},
        {"x eqv 1", "x", false},
        {"1+", "x", false},             // errors come from the text
        {"größe*x", "x", false},
        {"x^2", "", false},
        {"2^x", "2", false},            // a variable that is no name
    };
    for (const auto& c : cases) {
        PointEvaluator e(c.formula, c.variable);
        EXPECT_EQ(e.prepared(), c.prepared) << c.formula;
    }
    // User functions are expanded by substring before reading.
    SetVarFunct("f", "x+1", ListKind::Functs);
    EXPECT_FALSE(PointEvaluator("f*x", "x").prepared());
}

TEST_F(PreparedFormulaTest, StoredVariablesAsTheSolversSetThem) {
    SetVarFunct("k", "3", ListKind::Vars);
    const char* formulas[] = {"x^2-4", "X^3-2*x+k", "-x^2", "sqrt(x)-1", "1/x",
                              "x mod 3 + k", "not x", "x2+1", "ln(x)*x"};
    for (const char* formula : formulas) {
        StoredFormula f(formula, " x ");
        for (double x : testPoints()) {
            const std::string xText = FixText(x);
            const auto run = [&](int how) {
                SetVarFunct("x", xText, ListKind::Vars);
                LogError("", 0, "", kLogClear);
                Outcome o{};
                o.value = -12345;
                if (how == 0) o.code = f.eEval(&o.value);
                if (how == 1) o.code = e_eval(formula, &o.value, 0);
                if (how == 2) o.value = f.deEval();
                if (how == 3) o.value = de_eval(formula, 0);
                o.error = codeNumber(eError());
                o.log = errorLog();
                return o;
            };
            for (int how : {0, 2}) {
                const Outcome a = run(how), b = run(how + 1);
                ASSERT_EQ(a.code, b.code) << formula << " at " << xText;
                ASSERT_EQ(a.error, b.error) << formula << " at " << xText;
                ASSERT_TRUE(sameBits(a.value, b.value)) << formula << " at " << xText;
                ASSERT_EQ(a.log, b.log) << formula << " at " << xText;
            }
        }
    }
    EXPECT_TRUE(StoredFormula("-x^2", "x").prepared());
    EXPECT_FALSE(StoredFormula("x2+1", "x").prepared());
}

TEST_F(PreparedFormulaTest, TracingAndRunCountsAsBefore) {
    PointEvaluator e("x^2+1", "x");
    ASSERT_TRUE(e.prepared());
    const int before = runCount();
    double y = 0;
    EXPECT_EQ(e.at(3, &y), 0);
    EXPECT_EQ(y, 10);
    EXPECT_EQ(runCount(), before + 1);
    // With the trace on, every point is read as text and traced as before.
    const int mode = zrt::SetDebugF(4);
    EXPECT_EQ(e.at(-3, &y), 0);
    EXPECT_EQ(y, 10);
    EXPECT_NE(debugLog().find("e_prs"), std::string::npos);
    zrt::SetDebugF(mode);
}
