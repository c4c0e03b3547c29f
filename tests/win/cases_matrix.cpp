// The matrix library and display through the exports, with host arrays laid
// out by rows and by columns.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "probe.h"

using probe::expect;
using probe::num;
using probe::out;
using probe::Z;

namespace {

using probe::Mat;

const Mat kA5 = {4,    -2, 1, 3, 0.5, 1, 5,  -1, 2, 2,  -3, 1, 6,
                 0.25, 1,  2, 0, 1,   7, -1, 1,  3, -2, 1,  8};
const Mat kB5 = {2, 1, 0, -1, 3, 0.5, 4, 1, 2, -2, 1, -1, 5, 0, 1, 3, 2, 1, 6, 0, -1, 0, 2, 1, 7};

void setOrder(int order) {
    ZRT_FN(aElemOrderSet)(order);
}

// Runs an operation on kA5 held by a host in row order and by a host in column
// order; prints both and checks that the column host got the same 5 x 5 result.
void bothOrders(const std::string& name, const std::function<int(const Mat& a, Mat& result)>& run) {
    Mat byRow, byCol;
    setOrder(0);
    const int s1 = run(kA5, byRow);
    setOrder(1);
    const int s2 = run(probe::columnOrder(kA5, 5, 5), byCol);
    setOrder(0);
    out(name + " status", std::to_string(s1) + " " + std::to_string(s2));
    out(name + " by row", probe::matrixText(byRow));
    out(name + " by column", probe::matrixText(byCol));
    expect(s1 == -1 && s2 == -1, name + " succeeds");
    expect(byCol == probe::columnOrder(byRow, 5, 5), name + ": column host gets the same matrix");
}

}  // namespace

PROBE_CASES(matrix) {
    auto det = ZRT_FN(aDet);
    auto detN = ZRT_FN(aDetN);
    auto inv = ZRT_FN(aInv);
    auto sist = ZRT_FN(aSist);
    auto diag = ZRT_FN(aDiag);
    auto multEx = ZRT_FN(aMultEx);
    auto multSq = ZRT_FN(aMultSq);
    auto multVect = ZRT_FN(aMultVect);
    auto multVectSq = ZRT_FN(aMultVectSq);
    auto pow = ZRT_FN(aPow);
    auto div = ZRT_FN(aDiv);
    auto trasp = ZRT_FN(aTrasp);
    auto traspEx = ZRT_FN(aTraspEx);
    auto swapRC = ZRT_FN(aSwapRC);

    // Square operations on a 5 x 5 matrix without symmetry (elimination and
    // adjugate give other bits on the transpose, so a missed conversion shows).
    bothOrders("aInv", [&](const Mat& a, Mat& r) {
        r = a;
        return inv(r.data(), 5);
    });
    bothOrders("aDiag", [&](const Mat& a, Mat& r) {
        r = a;
        return diag(r.data(), 5);
    });
    bothOrders("aPow", [&](const Mat& a, Mat& r) {
        r.assign(25, 0);
        return pow(a.data(), 5, 3, r.data());
    });
    bothOrders("aMultSq", [&](const Mat& a, Mat& r) {
        r.assign(25, 0);
        const Mat b = ZRT_FN(aElemOrderGet)() == 1 ? probe::columnOrder(kB5, 5, 5) : kB5;
        return multSq(a.data(), 5, b.data(), r.data());
    });
    bothOrders("aDiv", [&](const Mat& a, Mat& r) {
        r.assign(25, 0);
        const Mat b = ZRT_FN(aElemOrderGet)() == 1 ? probe::columnOrder(kB5, 5, 5) : kB5;
        return div(b.data(), 5, a.data(), r.data());
    });
    bothOrders("aSwapRC rows", [&](const Mat& a, Mat& r) {
        r = a;
        return swapRC(r.data(), 5, 5, 1, 2, 5);
    });
    bothOrders("aSwapRC columns", [&](const Mat& a, Mat& r) {
        r = a;
        return swapRC(r.data(), 5, 5, 0, 1, 4);
    });

    // Scalars and vectors must not depend on the host's order at all.
    const Mat v = {1, -2, 3, -4, 5};
    double dRow = 0, dCol = 0;
    Mat wRow(5), wCol(5), mvRow(5), mvCol(5);
    setOrder(0);
    det(kA5.data(), 5, &dRow);
    sist(kA5.data(), 5, v.data(), wRow.data());
    multVectSq(kA5.data(), 5, v.data(), mvRow.data());
    setOrder(1);
    const Mat a5c = probe::columnOrder(kA5, 5, 5);
    det(a5c.data(), 5, &dCol);
    sist(a5c.data(), 5, v.data(), wCol.data());
    multVectSq(a5c.data(), 5, v.data(), mvCol.data());
    out("aDet", num(dRow));
    out("aDetN", num(detN(a5c.data(), 5)));
    out("aSist", probe::matrixText(wRow));
    out("aMultVectSq", probe::matrixText(mvRow));
    expect(dRow == dCol && wRow == wCol && mvRow == mvCol,
           "determinant, system, product by vector agree");
    expect(detN(a5c.data(), 5) == dRow, "aDetN = aDet");

    // Shapes that change: a 2 x 3 host matrix by columns.
    const Mat a23 = {1, 2, 3, 4, 5, 6}, b32 = {7, 8, 9, 10, 11, 12};
    const Mat a23c = probe::columnOrder(a23, 2, 3), b32c = probe::columnOrder(b32, 3, 2);
    Mat c22(4), t32(6), w2(2), inPlace = a23c;
    expect(multEx(a23c.data(), 2, 3, b32c.data(), 3, 2, c22.data()) == -1, "aMultEx");
    expect(c22 == probe::columnOrder({58, 64, 139, 154}, 2, 2), "aMultEx by columns");
    expect(traspEx(a23c.data(), 2, 3, t32.data()) == -1 &&
               t32 == probe::columnOrder({1, 4, 2, 5, 3, 6}, 3, 2),
           "aTraspEx by columns");
    expect(trasp(inPlace.data(), 2, 3) == -1 && inPlace == t32, "aTrasp by columns");
    const Mat v3 = {1, 0, -1};
    expect(multVect(a23c.data(), 2, 3, v3.data(), w2.data()) == -1 && w2 == Mat({-2, -2}),
           "aMultVect");
    out("aMultEx by columns", probe::matrixText(c22));
    out("aMultEx rank", std::to_string(multEx(a23c.data(), 2, 3, b32c.data(), 2, 3, c22.data())));
    setOrder(0);

    // Known values.
    const Mat m22 = {1, 2, 3, 4}, d22 = {2, 0, 0, 4}, sing = {1, 2, 2, 4};
    double d = 0;
    det(m22.data(), 2, &d);
    probe::expectNum("aDet 2x2", d, -2);
    Mat i22 = d22;
    expect(inv(i22.data(), 2) == -1 && i22 == Mat({0.5, 0, 0, 0.25}), "aInv diagonal");
    Mat s22 = sing;
    expect(inv(s22.data(), 2) == 7 && s22 == sing, "aInv singular leaves A");
    Mat p3(4);
    expect(pow(m22.data(), 2, 3, p3.data()) == -1 && p3 == Mat({37, 54, 81, 118}), "aPow 3");
    expect(pow(m22.data(), 2, -1, p3.data()) == 8, "aPow negative");
    const Mat tiny(16, 1e-13);
    expect(detN(tiny.data(), 4) == 0, "4x4 of 1e-13 has determinant 0");
    Mat sw = m22;
    expect(swapRC(sw.data(), 2, 2, 1, 1, 2) == -1 && sw == Mat({3, 4, 1, 2}), "aSwapRC rows");
    expect(swapRC(sw.data(), 2, 2, 1, 0, 2) == 14, "aSwapRC row 0");
}

// Larger orders: up to 10 the minors and the replaced-column matrices share
// their elimination, from 11 the inverse and the system go by LU. Dense
// fractions, and small integers with equal magnitudes in a row and pivots
// that vanish.
// Above order 10 the inverse and the system run through Eigen's kernels, whose
// order of additions follows the processor's register count (8 SSE registers
// in 32-bit builds, 16 in 64-bit ones): the last bits of those results may
// differ between the builds. Such results show each element to 1e-6 of the
// largest one (the residuals are checked in full).
namespace {

std::string roughText(const Mat& m) {
    double largest = 0;
    for (double x : m) largest = std::max(largest, std::fabs(x));
    if (largest == 0 || !std::isfinite(largest)) return probe::matrixText(m);
    char scale[32];
    std::snprintf(scale, sizeof scale, "%.6g", largest);
    std::string t = std::string("x ") + scale + ":";
    for (double x : m) t += " " + std::to_string(std::llround(x / largest * 1e6));
    return t;
}

}  // namespace

PROBE_CASES(matrix_large) {
    unsigned state = 12345;
    auto next = [&state](unsigned range) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % range);
    };
    auto dense = [&](int n) {
        Mat a(static_cast<std::size_t>(n) * n);
        for (double& x : a) x = (next(2001) - 1000) / 7.0;
        return a;
    };
    auto smallInts = [&](int n) {
        Mat a(static_cast<std::size_t>(n) * n);
        for (double& x : a) x = next(7) - 3.0;
        return a;
    };
    ZRT_FN(aElemOrderSet)(0);
    struct Case {
        const char* what;
        int n;
        Mat a;
    } cases[] = {
        {"dense 12", 12, dense(12)},
        {"dense 17", 17, dense(17)},
        {"small ints 9", 9, smallInts(9)},
        {"small ints 14", 14, smallInts(14)},
        // Orders above 10 go by LU: a large one, and singular ones.
        {"dense 40", 40, dense(40)},
        {"small ints 11", 11, smallInts(11)},
    };
    for (const Case& c : cases) {
        const auto shown = [&](const Mat& m) {
            return c.n > 10 ? roughText(m) : probe::matrixText(m);
        };
        Mat inverse = c.a;
        const int s = ZRT_FN(aInv)(inverse.data(), c.n);
        out(std::string("aInv ") + c.what, std::to_string(s) + " " + shown(inverse));
        Mat v(static_cast<std::size_t>(c.n)), w(static_cast<std::size_t>(c.n), 0.0);
        for (double& x : v) x = next(11) - 5.0;
        const int t = ZRT_FN(aSist)(c.a.data(), c.n, v.data(), w.data());
        out(std::string("aSist ") + c.what, std::to_string(t) + " " + shown(w));
        if (s == -1) {
            // a times its inverse is the unit matrix, up to rounding.
            Mat product(c.a.size());
            ZRT_FN(aMultSq)(c.a.data(), c.n, inverse.data(), product.data());
            double worst = 0;
            for (int i = 0; i < c.n; ++i)
                for (int j = 0; j < c.n; ++j)
                    worst = std::max(worst, std::fabs(product[i * c.n + j] - (i == j ? 1.0 : 0.0)));
            expect(worst < 1e-8, std::string("aInv ") + c.what + ": a times its inverse");
        }
        if (t == -1) {
            // a times the solution is the right-hand side, up to rounding.
            double worst = 0;
            for (int i = 0; i < c.n; ++i) {
                double sum = 0;
                for (int j = 0; j < c.n; ++j) sum += c.a[i * c.n + j] * w[j];
                worst = std::max(worst, std::fabs(sum - v[i]));
            }
            expect(worst < 1e-8, std::string("aSist ") + c.what + ": a times the solution");
        }
    }
}

PROBE_CASES(matrix_elementwise) {
    const Mat a = {1, 2, 3, 4, 5, 6}, b = {0.5, -1, 2, 8, 0, -3};
    Mat c(6);
    ZRT_FN(aSum)(a.data(), 2, 3, b.data(), c.data());
    out("aSum", probe::matrixText(c));
    ZRT_FN(aDiff)(a.data(), 2, 3, b.data(), c.data());
    out("aDiff", probe::matrixText(c));
    ZRT_FN(aSumMem)(a.data(), 3, 2, b.data(), c.data());
    out("aSumMem", probe::matrixText(c));
    ZRT_FN(aDiffMem)(a.data(), 6, 1, b.data(), c.data());
    out("aDiffMem", probe::matrixText(c));
    ZRT_FN(aSumScal)(c.data(), 2, 3, 0.25);
    ZRT_FN(aProdScal)(c.data(), 2, 3, -3);
    ZRT_FN(aOpp)(c.data(), 2, 3);
    out("aSumScal aProdScal aOpp", probe::matrixText(c));

    const Mat sq = {1, 2, 3, 4, 5, 6, 7, 8, 10};
    double t = 0;
    expect(ZRT_FN(aTrace)(sq.data(), 3, &t) == -1 && t == 16, "aTrace");
    probe::expectNum("aTraceN", ZRT_FN(aTraceN)(sq.data(), 3), 16);
    Mat tr = sq;
    ZRT_FN(aTraspSq)(tr.data(), 3);
    expect(tr == probe::columnOrder(sq, 3, 3), "aTraspSq");
    Mat x = {1, 2}, y = {3, 4};
    expect(ZRT_FN(aSwap)(x.data(), 1, 2, y.data()) == -1 && x == Mat({3, 4}) && y == Mat({1, 2}),
           "aSwap");
    expect(ZRT_FN(aSwap)(x.data(), 1, 2, nullptr) == 15, "aSwap null");
    double mod = 0;
    const Mat v = {3, 4};
    expect(ZRT_FN(aMatrMod)(v.data(), 2, &mod) == -1 && mod == 5, "aMatrMod");
    const Mat v3 = {1, 2, 2};
    expect(ZRT_FN(aVectMod)(v3.data(), 3, &mod) == -1 && mod == 3, "aVectMod");
}

PROBE_CASES(matrix_predicates) {
    const Mat unit = {1, 0, 0, 0, 1, 0, 0, 0, 1}, zero(9, 0.0), perm = {0, 1, 0, 0, 0, 1, 1, 0, 0};
    const Mat permT = probe::columnOrder(perm, 3, 3), twice = {2, 0, 0, 0, 2, 0, 0, 0, 2};
    struct Case {
        const char* what;
        int got, want;
    } cases[] = {
        {"aMatrIsZero zero", ZRT_FN(aMatrIsZero)(zero.data(), 3), -1},
        {"aMatrIsZero unit", ZRT_FN(aMatrIsZero)(unit.data(), 3), 0},
        {"aMatrIsUnit unit", ZRT_FN(aMatrIsUnit)(unit.data(), 3), -1},
        {"aMatrIsUnit perm", ZRT_FN(aMatrIsUnit)(perm.data(), 3), 0},
        {"aMatrIsSing unit", ZRT_FN(aMatrIsSing)(unit.data(), 3), 0},
        {"aMatrIsSing zero", ZRT_FN(aMatrIsSing)(zero.data(), 3), -1},
        {"aMatrIsOrtog unit", ZRT_FN(aMatrIsOrtog)(unit.data(), 3), -1},
        {"aMatrIsOrtog perm", ZRT_FN(aMatrIsOrtog)(perm.data(), 3), -1},
        {"aMatrIsOrtog twice", ZRT_FN(aMatrIsOrtog)(twice.data(), 3), 0},
        {"aMatrAreOrtog", ZRT_FN(aMatrAreOrtog)(perm.data(), 3, permT.data()), -1},
        {"aMatrAreOrtog not", ZRT_FN(aMatrAreOrtog)(perm.data(), 3, perm.data()), 0},
        {"aMatrAreEquals", ZRT_FN(aMatrAreEquals)(perm.data(), 3, 3, perm.data(), 3, 3), -1},
        {"aMatrAreEquals shape", ZRT_FN(aMatrAreEquals)(perm.data(), 3, 3, perm.data(), 1, 9), 0},
        {"aCombine", ZRT_FN(aCombine)(), 0},
        {"aInsert", ZRT_FN(aInsert)(), 0},
        {"aSub", ZRT_FN(aSub)(), 0},
    };
    for (const Case& c : cases) {
        out(c.what, std::to_string(c.got));
        expect(c.got == c.want, c.what);
    }
}

PROBE_CASES(matrix_refused) {
    // Unusable dimensions and null arrays: a code, never a crash, nothing written.
    double one[1] = {42};
    double res = 99;
    struct Case {
        const char* what;
        int got, want;
    } cases[] = {
        {"aDet n 0", ZRT_FN(aDet)(one, 0, &res), 5},
        {"aDet null", ZRT_FN(aDet)(nullptr, 3, &res), 15},
        {"aInv huge", ZRT_FN(aInv)(one, 1 << 13), 5},
        {"aSist null w", ZRT_FN(aSist)(one, 1, one, nullptr), 15},
        {"aMultEx overflow", ZRT_FN(aMultEx)(one, 65536, 65536, one, 65536, 1, one), 5},
        {"aMultEx result overflow", ZRT_FN(aMultEx)(one, 1 << 16, 1, one, 1, 1 << 16, one), 5},
        {"aTrasp negative", ZRT_FN(aTrasp)(one, -2, 3), 5},
        {"aSwapRC n 0", ZRT_FN(aSwapRC)(one, 0, 0, 1, 1, 1), 5},
        {"aMatrIsSing n 0", ZRT_FN(aMatrIsSing)(one, 0), 0},
        {"aPrintEx null",
         ZRT_FN(aPrintEx)(nullptr, 1, 1, nullptr, nullptr, nullptr, nullptr, nullptr), 15},
    };
    for (const Case& c : cases) {
        out(c.what, std::to_string(c.got));
        expect(c.got == c.want, c.what);
    }
    probe::expectNum("aDetN n -1", ZRT_FN(aDetN)(one, -1), 0);
    probe::expectEq("aShowByLong refused", probe::U(ZRT_FN(aShowByLong)(one, 0, 2)), "");
    expect(one[0] == 42 && res == 99, "refused calls write nothing");
    out("e_error after refusal", std::to_string(ZRT_FN(GetE_Error)()));
}

PROBE_CASES(matrix_print) {
    auto printEx = ZRT_FN(aPrintEx);
    const Mat a = {1, 2.5, -3, 0.125, 7, 8};
    setOrder(1);
    const Mat ac = probe::columnOrder(a, 2, 3);
    probe::ZString buffer(200, ' ');
    const int bytes = printEx(ac.data(), 2, 3, Z("String").c_str(), Z("0.00").c_str(),
                              Z("M").c_str(), Z("; ").c_str(), &buffer[0]);
    const std::string want =
        "M\r\nA(0,0)=1.00; A(0,1)=2.50; A(0,2)=-3.00\r\nA(1,0)=0.12; A(1,1)=7.00; A(1,2)=8.00\r\n";
    probe::expectEq("aPrintEx text", probe::U(buffer.c_str()), want);
    expect(bytes == static_cast<int>(want.size() * 2), "aPrintEx returns the bytes copied");
    out("aPrintEx", std::to_string(bytes) + " " + probe::U(buffer.c_str()));
    probe::ZString small(8, 'x');
    expect(
        printEx(ac.data(), 2, 3, Z("String").c_str(), nullptr, nullptr, nullptr, &small[0]) == 10 &&
            small == probe::ZString(8, 'x'),
        "aPrintEx: a text that does not fit is not copied");
    expect(printEx(ac.data(), 2, 3, Z("String").c_str(), nullptr, nullptr, nullptr, nullptr) == 1,
           "aPrintEx without a buffer");
    setOrder(0);
}

PROBE_CASES(matrix_show_box) {
    // aShow always shows its box (answered by the host on Windows): the one box of these cases.
    const Mat a = {1, 2, 3, 4};
    setOrder(1);
    const std::string shown = probe::U(ZRT_FN(aShow)(a.data(), 2, 2));
    setOrder(0);
    probe::expectEq("aShow", shown,
                    "\r\nA(0,0)=1.0000\tA(0,1)=3.0000\r\nA(1,0)=2.0000\tA(1,1)=4.0000\r\n");
    out("aShow", shown);
}
