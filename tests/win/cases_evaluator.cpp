// The evaluator through e_eval, de_eval and e_evals: every operator, the
// functions and constants, variables, user functions and the error codes.
// The values must agree bit for bit between the native library and both DLLs.
#include <string>
#include <vector>

#include "probe.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

using probe::expect;
using probe::expectNum;
using probe::num;
using probe::out;
using probe::Z;

namespace {

#ifdef _WIN32
DWORD WINAPI runThread(LPVOID p) {
    reinterpret_cast<void (*)()>(p)();
    return 0;
}
#endif

// Runs `fn` on a thread with a stack of 1 MB, the size of the editor's
// thread on 32-bit Windows.
void onSmallStack(void (*fn)()) {
#ifdef _WIN32
    HANDLE t = CreateThread(nullptr, 1 << 20, runThread, reinterpret_cast<LPVOID>(fn),
                            STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
#else
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 1 << 20);
    pthread_t t;
    pthread_create(&t, &attr, [](void* p) -> void* { reinterpret_cast<void (*)()>(p)(); return nullptr; },
                   reinterpret_cast<void*>(fn));
    pthread_join(t, nullptr);
    pthread_attr_destroy(&attr);
#endif
}

int gDeepCodes[4];

void deepFormulas() {
    auto eval = ZRT_FN(e_eval);
    double v = 0;
    std::string sins;
    for (int i = 0; i < 50000; ++i) sins += "sin(";
    const std::string formulas[4] = {
        std::string(100000, '(') + "1" + std::string(100000, ')'),
        std::string(100000, '-') + "1",
        sins + "1" + std::string(50000, ')'),
        std::string(999, '(') + "7" + std::string(999, ')'),
    };
    for (int i = 0; i < 4; ++i) gDeepCodes[i] = eval(Z(formulas[i]).c_str(), &v, 0);
}

}  // namespace

PROBE_CASES(evaluator) {
    auto eval = ZRT_FN(e_eval);
    auto deval = ZRT_FN(de_eval);
    auto getE = ZRT_FN(GetE_Error);
    auto setVar = ZRT_FN(SetVarFunct);
    auto clear = ZRT_FN(ClearVarFuncList);
    auto boolSign = ZRT_FN(SetBoolSign);
    auto reset = ZRT_FN(ReSetZeRarove);
    auto resultType = ZRT_FN(GetResultType);

    reset();
    setVar(Z("x").c_str(), Z("0.7").c_str(), 0);
    setVar(Z("third").c_str(), Z("0.333333333333333").c_str(), 0);
    setVar(Z("ufn").c_str(), Z("x+1").c_str(), 1);
    const char* formulas[] = {
        "2+3*4", "2^3^2", "-2^2", "8/4/2", "7-2-1", "2*-3", "7 mod 3", "-7 mod 3", "7\\2", "-7\\2",
        "7.9\\1", "1<2", "2<=1", "1=1", "1<>2", "3>=3", "3>2", "1<2 and 3<4", "not 0", "not 1",
        "2 or 0", "2 xor 3", "1,5*2", "2*pi", "pi*1", "#pi*1", "#e", "#deg*2", "e^2", "deg*rad",
        "sin(1)", "cos(1)", "tan(1)", "atn(0.5)", "sqrt(2)", "exp(1)", "ln(10)", "log10(7)",
        "abs(-3)", "fix(-2.7)", "int(-2.7)", "sgn(-3)", "arcsin(0.5)", "arccos(0.5)", "sinh(1)",
        "cosh(1)", "tanh(0.5)", "arctanh(0.5)", "cotan(2)", "2^0.5", "3^1.7", "1.0001^10000",
        "10^-3", "0.1^3", "x^2+3*x-1/(1+x^2)", "sin(x)*x^2+3*x-1/(1+x^2)", "third*3", "3*ufn",
        "&1F+!101", "median(4;1;3;2)", "stddev(2;4;4;4;5;5;7;9)", "geom_mean(2;3;5)",
        "sum2(1;2;3)/prod(2;3)", "avg(x;2*x)", "count(1;2;3)", "1/3", "2^-1074", "ln(0)",
        "1+", "(1+2", "1 2", "2 eqv 3", "sin 1", "1/0", "5 mod 0", "sqrt(-1)", "foo(1)", "1e5",
        "[mZ]", "10000000000\\1", "2pi",
    };
    int count = 0;
    for (const char* f : formulas) {
        double v = -1;
        const int r = eval(Z(f).c_str(), &v, 0);
        const int e = getE();
        const double d = deval(Z(f).c_str(), 0);
        out(f, "r=" + std::to_string(r) + " e=" + std::to_string(e) + " v=" + num(v) + " d=" + num(d));
        ++count;
    }
    expect(count >= 40, "at least 40 formulas");

    double v = 0;
    expect(eval(Z("2+3*4").c_str(), &v, 0) == 0 && v == 14, "2+3*4 gives 14");
    expectNum("sin(1)", (eval(Z("sin(1)").c_str(), &v, 0), v), 0.8414709568023682);
    expectNum("2^0.5", (eval(Z("2^0.5").c_str(), &v, 0), v), 1.4142135623730951);
    expect(eval(Z("1/0").c_str(), &v, 0) == 8 && getE() == 8, "1/0 gives 8");
    boolSign(1);
    expectNum("true value 1", (eval(Z("1<2").c_str(), &v, 0), v), 1);
    boolSign(0);
    expectNum("true value stays", (eval(Z("1<2").c_str(), &v, 0), v), 1);
    boolSign(-1);
    setVar(Z("ufn2").c_str(), Z("ufn*2").c_str(), 1);
    expect(eval(Z("1").c_str(), &v, 1) == 1 && getE() == 1, "ufn and ufn2 are ambiguous");
    clear(Z("funct").c_str());

    auto evals = ZRT_FN(e_evals);
    double xs[9], ys[9], bounds[5];
    const int r = evals(Z("x^2").c_str(), 0, Z("x").c_str(), 1, 4, xs, ys, bounds);
    std::string table;
    for (int i = 0; i < 5; ++i) table += num(xs[i]) + ":" + num(ys[i]) + " ";
    for (double b : bounds) table += num(b) + " ";
    out("e_evals x^2", std::to_string(r) + " " + table);
    expectNum("e_evals y[3]", ys[3], 0.5625);
    const int r2 = evals(Z("sin(t)/t").c_str(), -1, Z("t").c_str(), 1, 8, xs, ys, bounds);
    out("e_evals sin(t)/t", std::to_string(r2) + " " + num(ys[4]) + " " + num(bounds[4]));
    // Tables of formulas the prepared form takes (every value bit for bit as
    // the point's text gives it), and one it leaves to the text (a statistics function).
    for (const char* f : {"sin(x)*x^2", "-x^2+x mod 3-(x>0)*cosh(x)/3", "arcsin(x)+1/x",
                          "min(x;0)*x"}) {
        const int rp = evals(Z(f).c_str(), -1.3, Z("x").c_str(), 1.3, 8, xs, ys, bounds);
        std::string points;
        for (int i = 0; i < 9; ++i) points += num(ys[i]) + " ";
        out(std::string("e_evals prepared ") + f, std::to_string(rp) + " " + points);
    }

    onSmallStack(deepFormulas);
    out("deep", std::to_string(gDeepCodes[0]) + " " + std::to_string(gDeepCodes[1]) + " " +
                    std::to_string(gDeepCodes[2]) + " " + std::to_string(gDeepCodes[3]));
    expect(gDeepCodes[0] == 3 && gDeepCodes[1] == 3 && gDeepCodes[2] == 3 && gDeepCodes[3] == 0,
           "deep nesting ends with error 3 on a 1 MB stack");

    std::string big = "1";
    while (big.size() < (10u << 20)) big += "+1";
    expect(eval(Z(big).c_str(), &v, 0) == 0 && v == static_cast<double>(big.size() / 2 + 1),
           "10 MB formula");
    std::string stats = "sum(1";
    for (int i = 1; i < 1000000; ++i) stats += ";1";
    expect(eval(Z(stats + ")").c_str(), &v, 0) == 0 && v == 1000000, "a million operands");

    reset();
    expect(resultType() == -1, "reset sets the result type to -1");
    expect(eval(Z("x").c_str(), &v, 0) == 4, "reset clears variables");
}
