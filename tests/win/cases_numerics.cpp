// Matrix expressions through e_eval and de_eval, integration, the solvers and
// the polynomial helpers, with host arrays laid out by rows and by columns.
// Every value must agree bit for bit between the native library and both DLLs.
#include <cstdint>
#include <string>
#include <vector>

#include "probe.h"

using probe::expect;
using probe::expectEq;
using probe::expectNum;
using probe::num;
using probe::out;
using probe::U;
using probe::Z;

namespace {

using probe::Mat;

// A 5 x 5 matrix without symmetry: a missed reordering shows in every result.
const Mat kA5 = {4,    -2, 1, 3, 0.5, 1, 5,  -1, 2, 2,  -3, 1, 6,
                 0.25, 1,  2, 0, 1,   7, -1, 1,  3, -2, 1,  8};
const Mat kV5 = {1, -2, 3, 0.5, 7};

// The result of one matrix formula in the host's order: e_eval's code, the
// size and the elements (read back by address).
struct MatrixResult {
    int code = 0;
    int error = 0;
    int rows = 0, cols = 0;
    Mat elements;
};

MatrixResult evaluateMatrix(const std::string& formula) {
    MatrixResult r;
    double v = 0;
    r.code = ZRT_FN(e_eval)(Z(formula).c_str(), &v, 0);
    r.error = ZRT_FN(GetE_Error)();
    if (r.code != 1 || r.error != -1) return r;
    const intptr_t address = static_cast<intptr_t>(v);
    int32_t rows = 0, cols = 0;
    ZRT_FN(FindMatrix)(Z(std::to_string(address)).c_str(), 9, &rows, &cols, 0);
    r.rows = rows;
    r.cols = cols;
    r.elements.assign(static_cast<std::size_t>(rows) * cols, 0);
    ZRT_FN(GetMatrixByLong)(address, r.elements.data(), rows, cols);
    return r;
}

void matrixExpressions() {
    auto setMatrix = ZRT_FN(SetMatrix);
    auto setStr = ZRT_FN(SetStrMatrix);
    auto order = ZRT_FN(aElemOrderSet);
    auto deval = ZRT_FN(de_eval);
    auto findMatrix = ZRT_FN(FindMatrix);
    auto getByLong = ZRT_FN(GetMatrixByLong);

    const char* formulas[] = {
        "[mA]",
        "[mA]I",
        "[mA]T",
        "[mA]D",
        "[mA]^3",
        "[mA]^-2",
        "[mA]*[mA]I",
        "2/[mA]",
        "[mA]/[mA]T",
        "[mA]+[mA]T*0.5-1",
        "10-[mA]",
        "-[mA]",
        "[mA]/3",
        "syst([mA];[vV])",
        "syst([vV];[mA]T)",
        "vcoeff([mA];[vV];5)",
        "vcoeff([mA];[vV];3)",
        "[mR]T*[mR]",
        "[mR]*[mA]",
        "[mA]*[mR]T",
        "[mR]T",
        "det([mA])",
        "trace([mA]I)",
        "det([mA]^2)",
        "[mA]*[mR]",
        "[mA]+[mR]",
        "[mA]^0.5",
        "[mA]^[mA]",
        "[mS]I",
        "[mS]/[mS]",
        "det([mR])",
        "syst([mA];[mA])",
        "[mA]/0",
    };
    // The same matrices from a host that lays arrays out by rows, then by columns.
    for (int host = 0; host < 2; ++host) {
        order(host);
        const Mat a = host == 0 ? kA5 : probe::columnOrder(kA5, 5, 5);
        setMatrix(Z("[mA]").c_str(), reinterpret_cast<intptr_t>(a.data()), 5, 5, 1);
        setMatrix(Z("[vV]").c_str(), reinterpret_cast<intptr_t>(kV5.data()), 5, 1, 1);
        const Mat r = {1, 2, 3, 4, 5};  // one row: the same in both orders
        setMatrix(Z("[mR]").c_str(), reinterpret_cast<intptr_t>(r.data()), 1, 5, 1);
        setStr(Z("[mS];2;2;1;2;2;4").c_str(), 1, 0);
        for (const char* f : formulas) {
            const MatrixResult m = evaluateMatrix(f);
            // The column host reads its results column after column.
            const Mat rowOrder = host == 0 ? m.elements : probe::columnOrder(m.elements, m.cols, m.rows);
            double v = 0;
            const int code = ZRT_FN(e_eval)(Z(f).c_str(), &v, 0);
            const std::string value = code == 0 ? num(v) : probe::matrixText(rowOrder);
            out(std::string("matrix ") + f + (host == 0 ? " by row" : " by column"),
                std::to_string(m.code) + " e=" + std::to_string(m.error) + " " +
                    std::to_string(m.rows) + "x" + std::to_string(m.cols) + " " + value);
        }
        // de_eval keeps its result as [mResult].
        deval(Z("[mA]I*2").c_str(), 0);
        int32_t rows = 0, cols = 0;
        const intptr_t address = findMatrix(Z("[mResult]").c_str(), 33, &rows, &cols, 0);
        Mat result(static_cast<std::size_t>(rows) * cols);
        getByLong(address, result.data(), rows, cols);
        out(std::string("de_eval [mResult]") + (host == 0 ? " by row" : " by column"),
            std::to_string(rows) + "x" + std::to_string(cols) + " " +
                probe::matrixText(host == 0 ? result : probe::columnOrder(result, cols, rows)));
    }
    order(0);
    const MatrixResult sq = evaluateMatrix("[mA]^2");
    expect(sq.code == 1 && sq.rows == 5 && sq.cols == 5, "[mA]^2 is a 5 x 5 matrix");
    const MatrixResult t = evaluateMatrix("[mR]T");
    expect(t.rows == 5 && t.cols == 1, "[mR]T reports the transposed shape");
    expect(evaluateMatrix("[mA]*[mR]").code == 5, "[mA]*[mR] gives 5");
    expect(evaluateMatrix("[mA]^1.5").code == 9, "[mA]^1.5 gives 9");
}

void integration() {
    auto integrate = ZRT_FN(Integrate);
    auto dIntegrate = ZRT_FN(dIntegrate);
    const struct {
        const char* formula;
        double a, b;
        int n, method;
        const char* variable;
    } cases[] = {
        {"x^2", 0, 3, 6, 2, "x"},           {"x^2", 0, 3, 6, 0, "x"},
        {"x^2", 0, 3, 6, 1, "x"},           {"x^2", 0, 3, 1, 1, "x"},
        {"sin(x)*x^2", 0, 3, 1000, 0, "x"}, {"sin(x)*x^2", 0, 3, 1000, 1, "x"},
        {"sin(x)*x^2", 0, 3, 1000, 2, "x"}, {"exp(t)/(1+t^2)", -1.5, 2.25, 64, 2, "T"},
        {"1/t", 1, 2, 100, 0, "t"},         {"x^2", 0, 3, 3, 2, "x"},
        {"x^2", 0, 3, 6, 7, "x"},           {"x^2", 0, 3, 0, 1, "x"},
        {"x^2", 0, 3, 1000000000, 1, "x"},  {"sqrt(x-1)", 0, 3, 4, 1, "x"},
        {"exp(x)", 0, 1, 2, 2, "x"},
    };
    for (const auto& c : cases) {
        double result = -7;
        const int status = integrate(Z(c.formula).c_str(), c.a, c.b, c.n, c.method,
                                     Z(c.variable).c_str(), &result);
        const double d =
            dIntegrate(Z(c.formula).c_str(), c.a, c.b, c.n, c.method, Z(c.variable).c_str());
        out(std::string("Integrate ") + c.formula + " n=" + std::to_string(c.n) +
                " m=" + std::to_string(c.method),
            std::to_string(status) + " e=" + std::to_string(ZRT_FN(GetE_Error)()) + " " +
                num(result) + " " + num(d));
    }
    double r = 0;
    expect(integrate(Z("x^2").c_str(), 0, 3, 6, 2, Z("x").c_str(), &r) == 0 && r == 9,
           "Simpson integrates x^2 over [0, 3] to 9");
    expect(integrate(Z("x").c_str(), 0, 1, 2, 2, Z("x").c_str(), nullptr) == 5,
           "no result address: 5");
    expect(integrate(Z("x").c_str(), 0, 1, 3, 2, Z("x").c_str(), &r) == 22,
           "odd N for Simpson: 22");
    expect(ZRT_FN(IntBezier2D)(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12) == 0, "IntBezier2D gives 0");
}

void solvers() {
    auto newt = ZRT_FN(NewtSolve);
    auto dPoly = ZRT_FN(dPolySolve);
    auto sPoly = ZRT_FN(sPolyNewt);
    auto dSolve = ZRT_FN(dSolve);
    auto sSolve = ZRT_FN(sSolve);
    const char* formulas[] = {"x^2-4",     "x^3-2*x-5",     "x^2+10", "x-1000",    "-x^2+9",
                              "x^2-2*x+1", "x^4-3*x^2+x-7", "5",      "x^2-4+[mZ]"};
    for (const char* f : formulas) {
        double start = -1;
        const int code = newt(Z(f).c_str(), Z("x").c_str(), &start);
        const double p = dPoly(Z(f).c_str(), Z("x").c_str());
        const std::string s = U(sPoly(Z(f).c_str(), Z("x").c_str(), 200));
        const double root = dSolve(Z(f).c_str(), Z("x").c_str());
        const int e = ZRT_FN(GetE_Error)();
        const std::string sRoot = U(sSolve(Z(f).c_str(), Z("x").c_str(), 20));
        out(std::string("solve ") + f, std::to_string(code) + " " + num(start) + " " + num(p) +
                                           " " + s + " " + num(root) + " e=" + std::to_string(e) +
                                           " " + sRoot);
    }
    expectNum("dSolve x^2-4", dSolve(Z("x^2-4").c_str(), Z("x").c_str()), 2.0000000000198583);
    expectEq("sSolve 0 steps", U(sSolve(Z("x^2-4").c_str(), Z("x").c_str(), 0)), "1.0000000000");
    expect(newt(Z("x").c_str(), Z("x").c_str(), nullptr) == 5, "NewtSolve without an address: 5");
}

void polynomials() {
    const char* polynomials[] = {"3x^4-2x+5", "x^-2", "5", "x", "2x^2", "-x^3+2.5x^2-x"};
    for (const char* p : polynomials) {
        const std::string d = U(ZRT_FN(Poly_dydx)(Z(p).c_str(), Z("X").c_str()));
        const intptr_t address = ZRT_FN(lPoly_dydx)(Z(p).c_str(), Z("x").c_str());
        const std::string l = U(reinterpret_cast<const zrt_char*>(address));
        out(std::string("Poly_dydx ") + p, "'" + d + "' '" + l + "'");
        expectEq(std::string("lPoly_dydx ") + p, l, d);
    }
    expectEq("Poly_dydx 3x^4-2x+5", U(ZRT_FN(Poly_dydx)(Z("3x^4-2x+5").c_str(), Z("x").c_str())),
             "12*x^3 - 2 + ");

    const Mat c = {1, -2.5, 3, 0.125};
    double x = 1.7, y = 0;
    ZRT_FN(aGetYPolin)(&x, c.data(), 4, &y);
    out("aGetYPolin", num(y));
    double x1 = 0, x2 = 0, target = 0;
    const Mat q = {-4, 0, 1}, q2 = {0.3, -1.7, 2.9}, none = {4, 0, 1};
    const int s1 = ZRT_FN(aGetXsOfQuadr)(&target, q.data(), 3, &x1, &x2);
    out("aGetXsOfQuadr -4 0 1", std::to_string(s1) + " " + num(x1) + " " + num(x2));
    expect(s1 == -1 && x1 == 2 && x2 == -2, "x^2 - 4 = 0 at 2 and -2");
    target = 5.5;
    const int s2 = ZRT_FN(aGetXsOfQuadr)(&target, q2.data(), 3, &x1, &x2);
    out("aGetXsOfQuadr 0.3 -1.7 2.9", std::to_string(s2) + " " + num(x1) + " " + num(x2));
    target = 0;
    const int s3 = ZRT_FN(aGetXsOfQuadr)(&target, none.data(), 3, &x1, &x2);
    expect(s3 == 13 && x1 == 0 && x2 == 0, "no real root: 13");

    // Least squares with the host's element order.
    const Mat points = {0, 1.1, 1, 2.9, 2, 5.2, 3, 6.8, 4, 9.3, 5, 10.7};         // 6 x 2 by rows
    const Mat design = {1, 0, 0, 1, 1, 1, 1, 2, 4, 1, 3, 9, 1, 4, 16, 1, 5, 25};  // 6 x 3
    const Mat ys = {1.1, 2.9, 5.2, 6.8, 9.3, 10.7};
    Mat byRow(3), byCol(3), fitRow(3), fitCol(3);
    for (int host = 0; host < 2; ++host) {
        ZRT_FN(aElemOrderSet)(host);
        const Mat p = host == 0 ? points : probe::columnOrder(points, 6, 2);
        const Mat d = host == 0 ? design : probe::columnOrder(design, 6, 3);
        const int a = ZRT_FN(aCalcCoeffPolin)(p.data(), 6, 3, (host == 0 ? fitRow : fitCol).data());
        const int b =
            ZRT_FN(aCalcVectCoeff)(d.data(), 6, 3, ys.data(), (host == 0 ? byRow : byCol).data());
        out(std::string("fit") + (host == 0 ? " by row" : " by column"),
            std::to_string(a) + " " + std::to_string(b) + " " + probe::matrixText(host == 0 ? fitRow : fitCol) +
                "| " + probe::matrixText(host == 0 ? byRow : byCol));
    }
    ZRT_FN(aElemOrderSet)(0);
    expect(fitRow == fitCol && byRow == byCol, "fits agree in both element orders");
    expect(fitRow == byRow, "the polynomial fit is the linear model of the powers");
    Mat three(3);
    expect(ZRT_FN(aCalcCoeffPolin)(points.data(), 2, 3, three.data()) == 12, "k > m gives 12");

    double xi = 2.5, x0 = 1, xe = 4, y0 = -3, y1 = 6, r = 0;
    ZRT_FN(InterpLin)(&xi, &x0, &xe, &y0, &y1, &r);
    out("InterpLin", num(r));
    expectNum("InterpLin 2.5", r, 1.5);
}

}  // namespace

PROBE_CASES(numerics) {
    ZRT_FN(ReSetZeRarove)();
    matrixExpressions();
    integration();
    solvers();
    polynomials();
    ZRT_FN(ReSetZeRarove)();
}
