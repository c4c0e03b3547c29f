// Symbolic differentiation through the exports: the derivative table, the
// pre-filled buffer, errors, the trace file, the help text, and deep formulas
// derived on a thread with the editor's 1 MB stack.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "../sdiff/derivative_table.h"
#include "probe.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

using probe::expect;
using probe::expectEq;
using probe::out;
using probe::U;
using probe::Z;

namespace {

using Fn = void (*)();

#ifdef _WIN32
DWORD WINAPI runFn(LPVOID p) {
    reinterpret_cast<Fn>(p)();
    return 0;
}
#endif

// Runs fn on a new thread whose stack is 1 MB, as the editor's thread is.
void onSmallStack(Fn fn) {
    constexpr unsigned kStack = 1u << 20;
#ifdef _WIN32
    HANDLE t = CreateThread(nullptr, kStack, runFn, reinterpret_cast<LPVOID>(fn),
                            STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    expect(t != nullptr, "thread with a 1 MB stack");
    if (!t) return;
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
#else
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, kStack);
    pthread_t t;
    const int rc = pthread_create(
        &t, &attr,
        [](void* p) -> void* {
            reinterpret_cast<Fn>(p)();
            return nullptr;
        },
        reinterpret_cast<void*>(fn));
    expect(rc == 0, "thread with a 1 MB stack");
    if (rc == 0) pthread_join(t, nullptr);
    pthread_attr_destroy(&attr);
#endif
}

// e_diff with a buffer of `capacity` blanks; returns the text it holds after.
std::string diff(const std::string& formula, const std::string& var, int capacity, int* n) {
    auto eDiff = ZRT_FN(e_diff);
    probe::ZString buffer(static_cast<std::size_t>(capacity), u' ');
    *n = eDiff(Z(formula).c_str(), Z(var).c_str(), &buffer[0], capacity);
    return U(buffer.c_str());
}

std::string repeat(const std::string& s, int k) {
    std::string r;
    for (int i = 0; i < k; ++i) r += s;
    return r;
}

void deepFormulas() {
    auto lastErr = ZRT_FN(GetLast_diffErr);
    int n = 0;
    std::string text = diff(repeat("(", 5000) + "x^2" + repeat(")", 5000), "x", 10, &n);
    expect(n == 3 && text == "2*x", "5000 brackets: " + text);
    text = diff(repeat("(", 200000) + "sin(x)" + repeat(")", 200000), "x", 10, &n);
    expect(n == 6 && text == "cos(x)", "200000 brackets: " + text);
    text = diff(repeat("-(", 2000) + "x" + repeat(")", 2000), "x", 10, &n);
    expect(n == 1 && text == "1", "2000 negations: " + text);
    text = diff("x" + repeat("+x", 1249), "x", 10, &n);
    expect(n == 4 && text == "1250", "1250 terms: " + text);
    text = diff("x" + repeat("+x", 1250), "x", 10, &n);
    out("deep.1251 terms", "'" + text + "' " + std::to_string(n) + " " + std::to_string(lastErr()));
    expect(n == 0 && lastErr() == 1, "1251 terms do not fit the node table");
    text = diff(repeat("-(", 300000) + "x" + repeat(")", 300000), "x", 10, &n);
    expect(n == 0 && lastErr() == 1, "300000 negations do not fit the node table");
}

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

PROBE_CASES(sdiff) {
    auto eDiff = ZRT_FN(e_diff);
    auto lastErr = ZRT_FN(GetLast_diffErr);
    auto getE = ZRT_FN(GetE_Error);
    int n = 0;

    for (const auto& c : sdiff_test::kDerivativeTable) {
        const std::string text = diff(c.formula, c.variable, 1000, &n);
        out(std::string("d/d") + c.variable + " " + c.formula,
            text + " (" + std::to_string(n) + ")");
        expectEq(c.formula, text, c.derivative);
        expect(n == static_cast<int>(text.size()) && lastErr() == 0 && getE() == -1,
               std::string("success codes for ") + c.formula);
    }

    expectEq("cut to 3", diff("x^3", "x", 3, &n), "3*x");
    expect(n == 5, "cut copy returns the full length");
    expectEq("capacity 0", diff("x^3", "x", 0, &n), "");
    expect(n == 5, "empty buffer returns the full length");
    expect(eDiff(Z("x^3").c_str(), Z("x").c_str(), nullptr, 100) == 5, "null buffer: length only");
    expect(eDiff(nullptr, nullptr, nullptr, 0) == 0 && lastErr() == 7 && getE() == 7,
           "null formula is empty");

    const struct {
        const char* formula;
    } failures[] = {{""},       {"(x"},   {"x)"},  {"x*-2"}, {"2^-1"},
                    {"Sin(x)"}, {"1.e3"}, {"x%2"}, {"x/0"}};
    for (const auto& f : failures) {
        const std::string text = diff(f.formula, "x", 6, &n);
        out(std::string("fails ") + f.formula, "'" + text + "' " + std::to_string(n) + " " +
                                                   std::to_string(lastErr()) + " " +
                                                   std::to_string(getE()));
        expect(n == 0 && lastErr() != 0, std::string("rejected: ") + f.formula);
    }
    expect(getE() == 8, "x/0 ends in division by zero");

    const std::string name(1 << 20, 'a');
    expect(eDiff(Z(name + "*x").c_str(), Z("x").c_str(), nullptr, 0) == (1 << 20),
           "a 1 MB name comes back whole");

    onSmallStack(deepFormulas);
}

PROBE_CASES(sdiff_trace) {
    auto setLog = ZRT_FN(SetDiffLogF);
    auto eDiff = ZRT_FN(e_diff);
    auto help = ZRT_FN(GetDiff_OperAndFuncs);

    expect(setLog(3, nullptr) == 3, "mode 3");
    expect(eDiff(Z("x^2").c_str(), Z("x").c_str(), nullptr, 0) == 3, "counting changes nothing");

    const std::string file = "zrt_probe_derive.log";
    std::remove(file.c_str());
    expect(setLog(1, Z(file).c_str()) == 1, "mode 1");
    expect(eDiff(Z("sin(x)").c_str(), Z("x").c_str(), nullptr, 0) == 6, "tracing changes nothing");
    const std::string log = readFile(file);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = log.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    out("trace lines", std::to_string(lines));
    out("trace first", log.substr(0, log.find("\r\n")));
    const std::size_t lastStart = log.rfind("\r\n", log.size() - 3) + 2;
    out("trace last", log.substr(lastStart, log.size() - 2 - lastStart));
    expect(log.find(": (0) Formula, sin(x)\r\n") != std::string::npos, "trace file lines");
    std::remove(file.c_str());
    expect(setLog(0, nullptr) == 0, "mode 0");

    const int bytes = help(nullptr);
    probe::ZString buffer(static_cast<std::size_t>(bytes / 2) + 1, u'#');
    expect(help(&buffer[0]) == bytes, "help text length");
    expect(buffer[static_cast<std::size_t>(bytes / 2)] == 0 &&
               buffer[static_cast<std::size_t>(bytes / 2) - 1] == u')',
           "help text ends at its terminating zero");
    out("help bytes", std::to_string(bytes));
    out("help", U(buffer.c_str()));
}

// SolveD: Newton steps with the symbolic derivative, and its failures.
PROBE_CASES(solved) {
    auto solveD = ZRT_FN(SolveD);
    auto getE = ZRT_FN(GetE_Error);
    const struct {
        const char* formula;
        const char* variable;
        int code;
        double root;  // expected root (NaN: not checked)
        double tolerance;
    } cases[] = {
        {"x^2-4", "x", -1, 2, 1e-10},
        {"x^2-2*x-3", "x", -1, 3, 1e-10},  // a zero derivative at the start: plain step
        {"x^3-2*x-5", "x", -1, 2.0945514815423265, 1e-10},
        {"cos(x)-x", "x", -1, 0.7390851332151607, 1e-6},
        {"arcctg(x)-0.5", "x", -1, 1.830487721712452, 1e-6},
        {"sh(t)-1", "T", -1, 0.881373587019543, 1e-6},
        {"x^2+10", "x", -1, NAN, 0},
        {"sqrt(x-5)-1", "x", 13, 1, 0},
        {"x^0.5+1", "x", 5, -3, 0},
        {"1 x", "x", -1, 0, 0},  // no derivative: -1, the root stays as it was
    };
    for (const auto& c : cases) {
        double root = 0;
        const int code = solveD(Z(c.formula).c_str(), Z(c.variable).c_str(), &root);
        out(std::string("SolveD ") + c.formula, std::to_string(code) + " " + probe::num(root));
        expect(code == c.code, std::string("SolveD code of ") + c.formula);
        if (c.root == c.root)
            expect(std::fabs(root - c.root) <= c.tolerance,
                   std::string("SolveD root of ") + c.formula);
    }
    double untouched = 42;
    expect(solveD(Z("x^-1").c_str(), Z("x").c_str(), &untouched) == -1 && untouched == 42 &&
               getE() == 6,
           "a formula without derivative: -1, nothing written");
    expect(solveD(Z("x^2-4").c_str(), Z("x").c_str(), nullptr) == 5, "no address for the root");
    expect(solveD(nullptr, nullptr, &untouched) == 13 && untouched == 42, "no variable");
}

// The sDiff commands through the batch driver, as the editor runs them.
PROBE_CASES(sdiff_script) {
    auto run = ZRT_FN(zrtEvalMain);
    const std::string script =
        "sDiff(x) = x^3-2*x^2+5*x-7\r\nsDiff(t) = a*t^2/2+v*t\r\nsDiff(x) = tg(x)+arcctg(x)\r\n"
        "sDiff(x) = (x\r\nsDiff(x) = x/0\r\nsDiff = x^2\r\nVar = x ; 0.5\r\n"
        "Expr = 1/(cos(x))^2+(-1)/(1+x^2)\r\nExpr = arcsec(2)+arccosec(2)";
    expect(run(Z(" /noh /sel:'" + script + "' /").c_str()) == -1, "sDiff script completes");
    const std::string text = probe::evalResult();
    out("script", text);
    expect(text.find("Ln 1: f(x) = x^3-2*x^2+5*x-7:\r\nf'(x) => 3*x^2-2*x*2+5\r\n") !=
               std::string::npos,
           "sDiff echo and result");
    expect(text.find("Ln 4: f(x) = (x:\r\n Result => ===> ERROR n. = 6: ") != std::string::npos,
           "sDiff error line");
    expect(text.find("Number = 1.5708") != std::string::npos, "arcsec(2) + arccosec(2) = pi/2");
}
