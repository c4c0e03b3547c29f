// The matrix library on row-order arrays, as the evaluator and the polynomial
// fitting call it.
#include "numerics/matrix.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <cstring>
#include <random>
#include <vector>

#include "base/errors.h"
#include "memory/elemorder.h"
#include "support/library_test.h"

using zrt::MatrixStatus;
using Mat = std::vector<double>;

class MatrixTest : public LibraryTest {};

namespace {

// Reference: Gauss-Jordan with partial pivoting, solving a X = b for k columns.
Mat luSolve(Mat a, Mat b, int n, int k) {
    for (int col = 0; col < n; ++col) {
        int p = col;
        for (int r = col + 1; r < n; ++r)
            if (std::fabs(a[r * n + col]) > std::fabs(a[p * n + col])) p = r;
        for (int j = 0; j < n; ++j) std::swap(a[col * n + j], a[p * n + j]);
        for (int j = 0; j < k; ++j) std::swap(b[col * k + j], b[p * k + j]);
        for (int r = 0; r < n; ++r) {
            if (r == col) continue;
            const double f = a[r * n + col] / a[col * n + col];
            for (int j = 0; j < n; ++j) a[r * n + j] -= f * a[col * n + j];
            for (int j = 0; j < k; ++j) b[r * k + j] -= f * b[col * k + j];
        }
    }
    for (int r = 0; r < n; ++r)
        for (int j = 0; j < k; ++j) b[r * k + j] /= a[r * n + r];
    return b;
}

Mat unit(int n) {
    Mat u(n * n, 0.0);
    for (int i = 0; i < n; ++i) u[i * n + i] = 1;
    return u;
}

Mat scaledUnit(int n, double k) {
    Mat u(n * n, 0.0);
    for (int i = 0; i < n; ++i) u[i * n + i] = k;
    return u;
}

// Diagonally dominant, so well conditioned.
Mat wellConditioned(int n, std::mt19937& rng) {
    std::uniform_real_distribution<double> d(-1, 1);
    Mat a(n * n);
    for (double& v : a) v = d(rng);
    for (int i = 0; i < n; ++i) a[i * n + i] += n * (a[i * n + i] < 0 ? -1 : 1);
    return a;
}

void expectNear(const Mat& got, const Mat& want, double tol, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t k = 0; k < got.size(); ++k)
        EXPECT_NEAR(got[k], want[k], tol) << what << " [" << k << "]";
}

}  // namespace

TEST_F(MatrixTest, Determinant) {
    struct Case {
        const char* what;
        int n;
        Mat a;
        double det;
    } cases[] = {
        {"1x1", 1, {-3.5}, -3.5},
        {"2x2", 2, {1, 2, 3, 4}, -2},
        {"3x3", 3, {2, -3, 1, 2, 0, -1, 1, 4, 5}, 49},
        {"3x3 singular", 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 0},
        // Up to order 3 the products are exact: no tolerance applies.
        {"3x3 tiny", 3, {1e-5, 0, 0, 0, 1e-5, 0, 0, 0, 1e-5}, 1e-5 * 1e-5 * 1e-5},
        {"4x4 unit", 4, unit(4), 1},
        {"4x4 equal rows", 4, {1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 9, 1, 2, 3}, 0},
        {"4x4 all about 1e-13", 4, Mat(16, 1e-13), 0},
        // The singularity test is relative to each row's scale: small and
        // badly scaled matrices that are regular keep their determinant.
        {"4x4 small unit", 4, {1e-4, 0, 0, 0, 0, 1e-4, 0, 0, 0, 0, 1e-4, 0, 0, 0, 0, 1e-4}, 1e-16},
        {"5x5 0.001 unit", 5, scaledUnit(5, 0.001), 1e-15},
        {"4x4 diag(1e-13, 1e7, 1e7, 1e7)",
         4,
         {1e-13, 0, 0, 0, 0, 1e7, 0, 0, 0, 0, 1e7, 0, 0, 0, 0, 1e7},
         1e8},
        {"4x4 tiny regular", 4, {1e-20, 2e-20, 0, 0, 3e-20, 1e-20, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1},
         -5e-40},
        // Rows equal within rounding (numerically singular) at every scale.
        {"4x4 row 1 = 3 row 0 within an ulp",
         4,
         {1, 2, 3, 4, 3, 6, 9, 12.000000000000002, 5, 1, 2, 2, 7, 3, 1, 8},
         0},
        {"4x4 large dependent rows",
         4,
         {1e10, 2e10, 3e10, 4e10, 3e10, 6e10, 9e10, 1.2000000000000002e11, 5, 1, 2, 2, 7, 3, 1, 8},
         0},
        {"4x4 zero row", 4, {1, 2, 3, 4, 0, 0, 0, 0, 5, 1, 2, 2, 7, 3, 1, 8}, 0},
        {"4x4 pivot from another column", 4, {0, 2, 0, 0, 3, 0, 0, 0, 0, 0, 0, 5, 0, 0, 7, 0}, 210},
        {"5x5 triangular",
         5,
         {2, 1, 1, 1, 1, 0, 3, 1, 1, 1, 0, 0, 4, 1, 1, 0, 0, 0, 5, 1, 0, 0, 0, 0, 6},
         720},
    };
    for (const Case& c : cases) {
        double det = 99;
        EXPECT_EQ(zrt::aDet(c.a.data(), c.n, &det), MatrixStatus::Ok) << c.what;
        EXPECT_NEAR(det, c.det, std::fabs(c.det) * 1e-13) << c.what;
        EXPECT_EQ(zrt::aDetN(c.a.data(), c.n), det) << c.what;
        EXPECT_EQ(zrt::aMatrIsSing(c.a.data(), c.n), c.det == 0) << c.what;
    }
}

TEST_F(MatrixTest, InverseAndSystemAgreeWithLu) {
    std::mt19937 rng(11);
    for (int n = 1; n <= 7; ++n) {
        const Mat a = wellConditioned(n, rng);
        Mat inv = a;
        ASSERT_EQ(zrt::aInv(inv.data(), n), MatrixStatus::Ok) << n;
        expectNear(inv, luSolve(a, unit(n), n, n), 1e-12, "inverse n=" + std::to_string(n));

        Mat v(n), w(n, 99);
        for (int i = 0; i < n; ++i) v[i] = i - 1.5;
        ASSERT_EQ(zrt::aSist(a.data(), n, v.data(), w.data()), MatrixStatus::Ok) << n;
        expectNear(w, luSolve(a, v, n, 1), 1e-12, "system n=" + std::to_string(n));
    }
}

TEST_F(MatrixTest, InverseAndSystemKnownResults) {
    Mat d = {2, 0, 0, 4};
    EXPECT_EQ(zrt::aInv(d.data(), 2), MatrixStatus::Ok);
    EXPECT_EQ(d, (Mat{0.5, 0, 0, 0.25}));
    Mat one = {4};
    EXPECT_EQ(zrt::aInv(one.data(), 1), MatrixStatus::Ok);
    EXPECT_EQ(one[0], 0.25);

    Mat singular = {1, 2, 2, 4};
    const Mat before = singular;
    EXPECT_EQ(zrt::aInv(singular.data(), 2), zrt::MatrixStatus::Singular);
    EXPECT_EQ(singular, before);
    Mat v = {1, 2}, w = {7, 7};
    EXPECT_EQ(zrt::aSist(singular.data(), 2, v.data(), w.data()), zrt::MatrixStatus::Singular);
    EXPECT_EQ(w, (Mat{7, 7}));

    // Small but regular: 0.001 times the unit matrix inverts and solves.
    Mat small = scaledUnit(5, 0.001);
    EXPECT_EQ(zrt::aInv(small.data(), 5), MatrixStatus::Ok);
    expectNear(small, scaledUnit(5, 1000), 1e-9, "0.001 unit inverse");
    Mat rhs5 = {1, 2, 3, 4, 5}, x5(5);
    EXPECT_EQ(zrt::aSist(scaledUnit(5, 0.001).data(), 5, rhs5.data(), x5.data()), MatrixStatus::Ok);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(x5[i], 1000.0 * (i + 1), 1e-9) << i;
    // Numerically singular (row 1 is row 0 times 3 within an ulp): refused.
    Mat nearly = {1, 2, 3, 4, 3, 6, 9, 12.000000000000002, 5, 1, 2, 2, 7, 3, 1, 8};
    const Mat nearlyBefore = nearly;
    EXPECT_EQ(zrt::aInv(nearly.data(), 4), zrt::MatrixStatus::Singular);
    EXPECT_EQ(nearly, nearlyBefore);
    Mat w4(4, 7);
    EXPECT_EQ(zrt::aSist(nearly.data(), 4, rhs5.data(), w4.data()), zrt::MatrixStatus::Singular);
    EXPECT_EQ(w4, Mat(4, 7));

    // x + y = 3, x - y = 1; the result may share the right-hand side.
    Mat a = {1, 1, 1, -1}, rhs = {3, 1};
    EXPECT_EQ(zrt::aSist(a.data(), 2, rhs.data(), rhs.data()), MatrixStatus::Ok);
    EXPECT_EQ(rhs, (Mat{2, 1}));
}

namespace {

// max |A X - B| over the largest of |A| |X| + |B| (elements, row after row):
// the backward error LU with partial pivoting keeps near machine epsilon
// whatever the condition.
double relativeResidual(const Mat& a, const Mat& x, const Mat& b, int n, int k) {
    double worst = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < k; ++j) {
            double r = -b[i * k + j], scale = std::fabs(b[i * k + j]);
            for (int m = 0; m < n; ++m) {
                r += a[i * n + m] * x[m * k + j];
                scale += std::fabs(a[i * n + m] * x[m * k + j]);
            }
            worst = std::max(worst, std::fabs(r) / (scale > 0 ? scale : 1));
        }
    return worst;
}

Mat hilbert(int n) {
    Mat h(n * n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) h[i * n + j] = 1.0 / (i + j + 1);
    return h;
}

}  // namespace

TEST_F(MatrixTest, LargeOrdersGoByLu) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> d(-1, 1);
    struct Case {
        std::string what;
        int n;
        Mat a;
        bool singular;
        double inverseResidual = 0;  // 0: 1e-13 n; ill-conditioned ones by their condition
    };
    std::vector<Case> cases;
    for (int n : {11, 12, 17, 40, 100, 300}) {
        cases.push_back({"well conditioned", n, wellConditioned(n, rng), false});
        Mat random(n * n);
        for (double& v : random) v = d(rng);
        cases.push_back({"random", n, random, false});
        // Rows of scales from 1e-100 to 1e100: each row's bound is its own.
        Mat scaled = wellConditioned(n, rng);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) scaled[i * n + j] *= std::pow(10.0, (i * 37) % 201 - 100);
        cases.push_back({"scaled rows", n, scaled, false});
        Mat equal = random;
        std::copy(equal.begin(), equal.begin() + n, equal.begin() + (n / 2) * n);
        cases.push_back({"two equal rows", n, equal, true});
        Mat nearly = random;
        for (int j = 0; j < n; ++j)
            nearly[(n - 1) * n + j] = 3 * random[j] * (1 + (j % 3) * 2.2e-16);
        cases.push_back({"a row three times another within ulps", n, nearly, true});
        Mat zeroRow = random;
        std::fill(zeroRow.begin() + n, zeroRow.begin() + 2 * n, 0.0);
        cases.push_back({"zero row", n, zeroRow, true});
    }
    cases.push_back({"hilbert (condition 5e14)", 11, hilbert(11), false, 1e-10});
    cases.push_back({"0.001 unit", 50, scaledUnit(50, 0.001), false});
    for (const Case& c : cases) {
        const std::string what = c.what + " n=" + std::to_string(c.n);
        const int n = c.n;
        Mat inv = c.a, v(n), w(n, 7.0);
        for (int i = 0; i < n; ++i) v[i] = i % 5 - 2.0;
        const MatrixStatus status = zrt::aInv(inv.data(), n);
        const MatrixStatus sistStatus = zrt::aSist(c.a.data(), n, v.data(), w.data());
        if (c.singular) {
            EXPECT_EQ(status, zrt::MatrixStatus::Singular) << what;
            EXPECT_EQ(inv, c.a) << what;
            EXPECT_EQ(sistStatus, zrt::MatrixStatus::Singular) << what;
            EXPECT_EQ(w, Mat(n, 7.0)) << what;
            continue;
        }
        ASSERT_EQ(status, MatrixStatus::Ok) << what;
        ASSERT_EQ(sistStatus, MatrixStatus::Ok) << what;
        EXPECT_LT(relativeResidual(c.a, inv, unit(n), n, n),
                  c.inverseResidual > 0 ? c.inverseResidual : 1e-13 * n)
            << what;
        EXPECT_LT(relativeResidual(c.a, w, v, n, 1), 1e-13 * n) << what;
    }
    // Hilbert matrices of order 12 are singular within rounding or solved
    // with a small backward error.
    const Mat h12 = hilbert(12);
    Mat v12(12, 1.0), w12(12);
    if (zrt::aSist(h12.data(), 12, v12.data(), w12.data()) == MatrixStatus::Ok) {
        EXPECT_LT(relativeResidual(h12, w12, v12, 12, 1), 1e-12);
    }
    // The work bound leaves order 1000 (a second or so).
    const int big = 1000;
    Mat a = wellConditioned(big, rng), x(big), rhs(big, 1.0);
    EXPECT_EQ(zrt::aSist(a.data(), big, rhs.data(), x.data()), MatrixStatus::Ok);
    EXPECT_LT(relativeResidual(a, x, rhs, big, 1), 1e-12);
}

TEST_F(MatrixTest, DiagonalForm) {
    struct Case {
        Mat a, diagonal;
    } cases[] = {
        {{2, 1, 4, 3}, {2, 0, 0, 1}},
        // Row 0's largest element is in column 1: columns are exchanged first.
        {{1, 3, 2, 4}, {3, 0, 0, 2 - 4.0 / 3}},
        // A zero row: any non-zero pivot is taken, none here.
        {{0, 0, 1, 2}, {0, 0, 0, 2}},
        {{5}, {5}},
    };
    for (Case& c : cases) {
        const int n = static_cast<int>(std::lround(std::sqrt(c.a.size())));
        EXPECT_EQ(zrt::aDiag(c.a.data(), n), MatrixStatus::Ok);
        EXPECT_EQ(c.a, c.diagonal);
    }
    // Unlike the determinant's, any non-zero pivot counts.
    Mat tiny = {1e-13, 0, 0, 0, 0, 1e-13, 0, 0, 0, 0, 1e-13, 0, 0, 0, 0, 1e-13};
    zrt::aDiag(tiny.data(), 4);
    EXPECT_EQ(tiny[15], 1e-13);
}

TEST_F(MatrixTest, ProductsAndPowers) {
    // cA = 2 against rB = 3.
    const Mat a = {1, 2, 3, 4, 5, 6}, b = {7, 8, 9, 10, 11, 12};
    Mat untouched(4, -1);
    EXPECT_EQ(zrt::aMultEx(a.data(), 3, 2, b.data(), 3, 2, untouched.data()),
              zrt::MatrixStatus::WrongRank);
    EXPECT_EQ(untouched, Mat(4, -1));

    Mat sq = {1, 2, 3, 4};
    Mat p3(4), p1(4), p0(4), p2(4);
    EXPECT_EQ(zrt::aPow(sq.data(), 2, 3, p3.data()), MatrixStatus::Ok);
    EXPECT_EQ(p3, (Mat{37, 54, 81, 118}));
    EXPECT_EQ(zrt::aPow(sq.data(), 2, 1, p1.data()), MatrixStatus::Ok);
    EXPECT_EQ(p1, sq);
    EXPECT_EQ(zrt::aPow(sq.data(), 2, 0, p0.data()), MatrixStatus::Ok);
    EXPECT_EQ(p0, unit(2));
    EXPECT_EQ(zrt::aPow(sq.data(), 2, -1, p2.data()), zrt::MatrixStatus::InvalidParameter);
    // The result may replace the base.
    EXPECT_EQ(zrt::aPow(sq.data(), 2, 2, sq.data()), MatrixStatus::Ok);
    EXPECT_EQ(sq, (Mat{7, 10, 15, 22}));

    const Mat num = {2, 4, 6, 8}, den = {2, 0, 0, 4};
    Mat q(4);
    EXPECT_EQ(zrt::aDiv(num.data(), 2, den.data(), q.data()), MatrixStatus::Ok);
    EXPECT_EQ(q, (Mat{1, 1, 3, 2}));
    const Mat singular = {1, 1, 1, 1};
    Mat q2(4, 5);
    EXPECT_EQ(zrt::aDiv(num.data(), 2, singular.data(), q2.data()), zrt::MatrixStatus::Singular);
    EXPECT_EQ(q2, Mat(4, 5));
}

TEST_F(MatrixTest, ProductsInOrderUpToTenAndByEigenAbove) {
    // Up to 10 in every dimension the sums run in order, bit for bit; above,
    // Eigen's kernels sum in their own order, to within rounding.
    const struct {
        int rA, cA, cB;
    } shapes[] = {{3, 10, 10}, {10, 10, 10}, {10, 1, 10}, {1, 10, 1},   {11, 11, 11},
                  {1, 40, 1},  {30, 7, 12},  {12, 12, 1}, {10, 11, 10}, {64, 64, 64}};
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(-1, 1);
    for (const auto& s : shapes) {
        Mat a(s.rA * s.cA), b(s.cA * s.cB), c(s.rA * s.cB);
        for (double& x : a) x = unit(rng);
        for (double& x : b) x = unit(rng);
        ASSERT_EQ(zrt::aMultEx(a.data(), s.rA, s.cA, b.data(), s.cA, s.cB, c.data()),
                  MatrixStatus::Ok);
        const bool inOrder = s.rA <= 10 && s.cA <= 10 && s.cB <= 10;
        for (int i = 0; i < s.rA; ++i)
            for (int j = 0; j < s.cB; ++j) {
                double sum = 0, size = 0;
                for (int m = 0; m < s.cA; ++m) {
                    sum += a[i * s.cA + m] * b[m * s.cB + j];
                    size += std::fabs(a[i * s.cA + m] * b[m * s.cB + j]);
                }
                const double got = c[i * s.cB + j];
                if (inOrder) {
                    ASSERT_EQ(got, sum) << s.rA << "x" << s.cA << "x" << s.cB;
                } else {
                    ASSERT_NEAR(got, sum, 1e-14 * size) << s.rA << "x" << s.cA << "x" << s.cB;
                }
            }
    }
    // A power of order 12 in place, against products of two.
    Mat a(144), twice(144), thrice(144);
    for (double& x : a) x = unit(rng);
    ASSERT_EQ(zrt::aMultSq(a.data(), 12, a.data(), twice.data()), MatrixStatus::Ok);
    ASSERT_EQ(zrt::aMultSq(twice.data(), 12, a.data(), thrice.data()), MatrixStatus::Ok);
    ASSERT_EQ(zrt::aPow(a.data(), 12, 3, a.data()), MatrixStatus::Ok);
    EXPECT_EQ(a, thrice);
}

TEST_F(MatrixTest, RowAndColumnExchanges) {
    const Mat a = {1, 2, 3, 4, 5, 6};
    struct Swap {
        int kind, i, j;
        MatrixStatus status;
        Mat result;
    } swaps[] = {
        {1, 1, 2, MatrixStatus::Ok, {4, 5, 6, 1, 2, 3}},
        {0, 1, 3, MatrixStatus::Ok, {3, 2, 1, 6, 5, 4}},
        {-5, 2, 2, MatrixStatus::Ok, a},
        {1, 1, 3, zrt::MatrixStatus::WrongSwap, a},  // only two rows
        {0, 0, 1, zrt::MatrixStatus::WrongSwap, a},  // numbers count from 1
        {1, -1, 1, zrt::MatrixStatus::WrongSwap, a},
    };
    for (const Swap& s : swaps) {
        Mat m = a;
        EXPECT_EQ(zrt::aSwapRC(m.data(), 2, 3, s.kind, s.i, s.j), s.status) << s.kind << s.i << s.j;
        EXPECT_EQ(m, s.result) << s.kind << s.i << s.j;
    }
}

TEST_F(MatrixTest, OrthogonalityAndEquality) {
    const Mat u = unit(3), perm = {0, 1, 0, 0, 0, 1, 1, 0, 0};
    const Mat twice = {2, 0, 0, 0, 2, 0, 0, 0, 2}, singular = {1, 2, 3, 2, 4, 6, 0, 0, 1};
    // The adjugate writes -0 for zero cofactors; the unit matrix is still orthogonal.
    MatrixStatus inversion = MatrixStatus::Stopped;
    EXPECT_TRUE(zrt::aMatrIsOrtog(u.data(), 3, &inversion));
    EXPECT_EQ(inversion, MatrixStatus::Ok);
    EXPECT_TRUE(zrt::aMatrIsOrtog(perm.data(), 3));
    EXPECT_FALSE(zrt::aMatrIsOrtog(twice.data(), 3));
    EXPECT_FALSE(zrt::aMatrIsOrtog(singular.data(), 3, &inversion));
    EXPECT_EQ(inversion, zrt::MatrixStatus::Singular);

    const Mat pos = {0.0}, neg = {-0.0};
    EXPECT_FALSE(zrt::aMatrAreEquals(pos.data(), 1, 1, neg.data(), 1, 1));  // byte for byte
    EXPECT_FALSE(zrt::aMatrAreEquals(u.data(), 3, 3, u.data(), 1, 9));
}

TEST_F(MatrixTest, UnusableArgumentsTouchNothing) {
    // A one-element array: any read past it, or any write, would show.
    double one[1] = {42};
    double out = 99;
    const int huge = 1 << 13;  // 2^26 elements as a square
    struct Case {
        const char* what;
        MatrixStatus status;
        int want;
    } cases[] = {
        {"det n 0", zrt::aDet(one, 0, &out), 5},
        {"det huge", zrt::aDet(one, huge, &out), 5},
        {"det null", zrt::aDet(nullptr, 0, &out), 15},
        {"det null result", zrt::aDet(one, 1, nullptr), 15},
        {"inv INT_MIN", zrt::aInv(one, -2147483647 - 1), 5},
        {"sist null v", zrt::aSist(one, 1, nullptr, one), 15},
        {"mult result of 2^32", zrt::aMultEx(one, 1 << 16, 1, one, 1, 1 << 16, one), 5},
        {"mult rows*cols overflow", zrt::aMultEx(one, 65536, 65536, one, 65536, 1, one), 5},
        {"trasp", zrt::aTrasp(one, 0, 5), 5},
        {"swap null", zrt::aSwap(one, 1, 1, nullptr), 15},
        {"mod", zrt::aMatrMod(one, 0, &out), 5},
    };
    for (const Case& c : cases) EXPECT_EQ(codeNumber(c.status), c.want) << c.what;
    EXPECT_EQ(one[0], 42);
    EXPECT_EQ(out, 99);
    EXPECT_EQ(zrt::aDetN(one, 0), 0);
    EXPECT_FALSE(zrt::aMatrIsSing(one, 0));
    EXPECT_FALSE(zrt::aMatrIsZero(nullptr, 1));
    EXPECT_FALSE(zrt::aMatrAreEquals(one, 1, 1, one, 0, 0));
}

TEST_F(MatrixTest, OperationsBeyondTheWorkBoundAreRefusedAtOnce) {
    // Orders one past the largest each operation takes (zeros: a refusal
    // must come before any elimination).
    Mat big(2345 * 2345, 0.0), out(2345 * 2345, 7.0);
    struct Case {
        const char* what;
        MatrixStatus status;
        const char* logged;
    } cases[] = {
        {"det", zrt::aDet(big.data(), 2345, out.data()), "The determinant of A(2345, 2345)"},
        {"diag", zrt::aDiag(out.data(), 2345), "The diagonal form of A(2345, 2345)"},
        {"inverse", zrt::aInv(out.data(), 1477), "The inverse of A(1477, 1477)"},
        {"system", zrt::aSist(big.data(), 2344, big.data(), out.data()),
         "The system of A(2344, 2344)"},
        {"product", zrt::aMultSq(big.data(), 1626, big.data(), out.data()),
         "The product of A(1626, 1626) and B(1626, 1626)"},
        {"power", zrt::aPow(big.data(), 100, 4297, out.data()), "The power 4297 of A(100, 100)"},
        {"division", zrt::aDiv(big.data(), 1477, big.data(), out.data()),
         "The inverse of A(1477, 1477)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.status, zrt::MatrixStatus::TooMuchWork) << c.what;
        EXPECT_NE(zrt::errorLog().find(std::string(c.logged) + " takes about"), std::string::npos)
            << c.what;
    }
    EXPECT_EQ(out, Mat(2345 * 2345, 7.0));  // no result touched
    EXPECT_EQ(zrt::aDetN(big.data(), 2345), 0);
    EXPECT_FALSE(zrt::aMatrIsSing(big.data(), 2345));  // unknown, so not claimed
    MatrixStatus inversion = MatrixStatus::Stopped;
    EXPECT_FALSE(zrt::aMatrIsOrtog(big.data(), 1477, &inversion));
    EXPECT_EQ(inversion, zrt::MatrixStatus::TooMuchWork);
    // Small powers of the same order stay well inside.
    EXPECT_EQ(zrt::aPow(big.data(), 100, 2, out.data()), MatrixStatus::Ok);
}

TEST_F(MatrixTest, InternalCallsIgnoreTheHostElementOrder) {
    // A host that works in column order must not scramble the library's own arrays.
    zrt::aElemOrderSet(1);
    const Mat a = {1, 2, 3, 4, 5, 6}, b = {7, 8, 9, 10, 11, 12};
    Mat c(4);
    zrt::aMultEx(a.data(), 2, 3, b.data(), 3, 2, c.data());
    EXPECT_EQ(c, (Mat{58, 64, 139, 154}));
    Mat t = a;
    zrt::aTrasp(t.data(), 2, 3);
    EXPECT_EQ(t, (Mat{1, 4, 2, 5, 3, 6}));
    EXPECT_EQ(zrt::matrStatus(), MatrixStatus::Ok);  // the library layer leaves the status alone
}
