// Polynomial derivatives, values, quadratic roots, least-squares fits and
// linear interpolation, through the exports (host arrays in both orders).
#include "numerics/polynomials.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/errors.h"
#include "numerics/matrix.h"
#include "support/library_test.h"

using Vec = std::vector<double>;

class PolynomialsTest : public LibraryTest {};

TEST_F(PolynomialsTest, Derivatives) {
    const struct {
        const char* polynomial;
        const char* variable;
        const char* derivative;
    } cases[] = {
        {"3x^4-2x+5", "x", "12*x^3 - 2 + "},
        {"x^-2", "x", " - 2*x^-3"},
        {"5", "x", ""},
        {"x", "x", "1"},
        {"2x^2", "x", "4*x"},
        {"x^2-4", "x", "2*x + "},
        {"-x^2+9", "x", " - 2*x + "},
        {"3*x^2 + 2*x", "x", "6*x + 2"},  // blanks go; a trailing "*" goes
        {"2.7X^3", "x", "8.1*x^2"},       // lower case; the coefficient keeps its decimals
        {"2.5x^2", "x", "5*x"},
        {"-0.25x^3+1.5x^2", "x", " - 0.75*x^2 + 3*x"},
        {"-.5x^4", "x", " - 2*x^3"},
        {"2.5x", "x", "2.5"},
        {"x^2.5", "x", "2*x"},            // whole-number exponent
        {"a*t^3-t^-1+t^0", "T", "0*t^2 + 1*t^-2 + 0*t^-1"},
        {"-x", "x", " - 1"},
        {"4-x^3", "x", " - 3*x^2"},
        {"y^2", "x", ""},
        {"", "x", ""},
        {"x^2", "", ""},  // without a name no term has the variable
        {"99999999999999999999x^3", "x", "9223372036854775807*x^2"},  // saturated
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zrt::Poly_dydx(c.polynomial, c.variable), c.derivative) << c.polynomial;
        EXPECT_EQ(U(Poly_dydx(P(Z(c.polynomial)), P(Z(c.variable)))), c.derivative) << c.polynomial;
    }
}

TEST_F(PolynomialsTest, LibraryOwnedDerivativeTexts) {
    SetE_Error(7);
    const intptr_t first = lPoly_dydx(P(Z("x^3")), P(Z("x")));
    EXPECT_EQ(GetE_Error(), -1);
    EXPECT_EQ(U(reinterpret_cast<const zrt_char*>(first)), "3*x^2");
    // Poly_dydx keeps its own text: the address stays valid.
    EXPECT_EQ(U(Poly_dydx(P(Z("x^5")), P(Z("x")))), "5*x^4");
    EXPECT_EQ(U(reinterpret_cast<const zrt_char*>(first)), "3*x^2");
    const intptr_t second = lPoly_dydx(nullptr, nullptr);
    EXPECT_EQ(U(reinterpret_cast<const zrt_char*>(second)), "");
    EXPECT_EQ(U(Poly_dydx(nullptr, nullptr)), "");
}

TEST_F(PolynomialsTest, Values) {
    const Vec c = {1, 2, 3};
    double x = 2, y = 0;
    EXPECT_EQ(aGetYPolin(&x, c.data(), 3, &y), -1);
    EXPECT_EQ(y, 17);
    x = -0.5;
    EXPECT_EQ(aGetYPolin(&x, c.data(), 3, &y), -1);
    EXPECT_EQ(y, 0.75);
    EXPECT_EQ(aGetYPolin(&x, nullptr, 0, &y), -1);  // no coefficients: 0
    EXPECT_EQ(y, 0);
    EXPECT_EQ(aGetYPolin(nullptr, c.data(), 3, &y), 15);
    EXPECT_EQ(aGetYPolin(&x, nullptr, 3, &y), 15);
    EXPECT_EQ(aGetYPolin(&x, c.data(), 3, nullptr), 15);
    EXPECT_EQ(GetE_Error(), 15);
}

TEST_F(PolynomialsTest, QuadraticRoots) {
    const struct {
        Vec c;
        double y;
        int status;  // 99: the matrix status stays as it was (set to 5 first)
        double x1, x2;
    } cases[] = {
        {{-4, 0, 1}, 0, -1, 2, -2}, {{4, 0, 1}, 0, 13, 0, 0},  // no real root
        {{-4, 0, 1}, 5, -1, 3, -3},                            // c(x) = y
        {{1, 1, 0}, 0, 13, 0, 0},                              // c2 = 0
        {{2, 3, 1}, 0, -1, -1, -2}, {{1, 2}, 7, 99, 3, 0},     // linear
        {{1, 0}, 7, 13, 0, 0},                                 // a constant: no single root
        {{9}, 7, 99, 7, 0},         {{1, 2, 3, 4}, 7, 99, 0, 0}, {{}, 7, 99, 0, 0},
    };
    for (const auto& c : cases) {
        zrt::setMatrStatus(zrt::MatrixStatus::OrdersNotValid);
        double y = c.y, x1 = -9, x2 = -9;
        const int n = static_cast<int>(c.c.size());
        const int status = aGetXsOfQuadr(&y, c.c.empty() ? nullptr : c.c.data(), n, &x1, &x2);
        EXPECT_EQ(status, c.status == 99 ? 5 : c.status) << n << " " << c.y;
        EXPECT_EQ(zrt::codeNumber(zrt::matrStatus()), status);
        EXPECT_EQ(x1, c.x1) << n << " " << c.y;
        EXPECT_EQ(x2, c.x2) << n << " " << c.y;
    }
    double y = 0, x = 0;
    EXPECT_EQ(aGetXsOfQuadr(&y, nullptr, 3, &x, &x), 15);
    EXPECT_EQ(aGetXsOfQuadr(&y, nullptr, 1, nullptr, &x), 15);
}

TEST_F(PolynomialsTest, FitsInEitherElementOrder) {
    // Points (0,1), (1,3), (2,5) as a 3 x 2 table, by rows and by columns.
    const Vec byRow = {0, 1, 1, 3, 2, 5}, byCol = {0, 1, 2, 1, 3, 5};
    for (int order : {0, 1}) {
        aElemOrderSet(order);
        const Vec& p = order == 0 ? byRow : byCol;
        Vec a(2, -1);
        EXPECT_EQ(aCalcCoeffPolin(p.data(), 3, 2, a.data()), -1);
        EXPECT_NEAR(a[0], 1, 1e-12);
        EXPECT_NEAR(a[1], 2, 1e-12);
        Vec a3(3, -1);
        EXPECT_EQ(aCalcCoeffPolin(p.data(), 3, 3, a3.data()), -1);
        EXPECT_NEAR(a3[2], 0, 1e-12);
        EXPECT_EQ(aCalcCoeffPolin(p.data(), 3, 4, a3.data()), 12);
        EXPECT_EQ(aCalcCoeffPolin(p.data(), 3, 0, a3.data()), 12);
        EXPECT_EQ(zrt::matrStatus(), zrt::MatrixStatus::RankTooHigh);

        // The same fit as a general linear model: columns 1 and x.
        const Vec xRow = {1, 0, 1, 1, 1, 2}, xCol = {1, 1, 1, 0, 1, 2};
        const Vec y = {1, 3, 5};
        Vec b(2, -1);
        EXPECT_EQ(aCalcVectCoeff((order == 0 ? xRow : xCol).data(), 3, 2, y.data(), b.data()), -1);
        EXPECT_NEAR(b[0], 1, 1e-12);
        EXPECT_NEAR(b[1], 2, 1e-12);
    }
    // An over-determined fit: the least-squares line through four points.
    aElemOrderSet(0);
    const Vec p = {0, 0, 1, 1, 2, 1, 3, 3};
    Vec a(2);
    EXPECT_EQ(aCalcCoeffPolin(p.data(), 4, 2, a.data()), -1);
    EXPECT_NEAR(a[0], -0.1, 1e-12);
    EXPECT_NEAR(a[1], 0.9, 1e-12);
}

TEST_F(PolynomialsTest, FitFailures) {
    const Vec same = {1, 2, 1, 3};  // two points at the same x: no line
    Vec a(2, -1);
    EXPECT_EQ(aCalcCoeffPolin(same.data(), 2, 2, a.data()), 7);
    EXPECT_EQ(zrt::matrStatus(), zrt::MatrixStatus::Singular);
    EXPECT_EQ(a, (Vec{-1, -1}));
    const Vec x = {1, 2, 3, 4};
    const Vec y = {1, 2};
    EXPECT_EQ(aCalcVectCoeff(nullptr, 2, 2, y.data(), a.data()), 15);
    EXPECT_EQ(aCalcVectCoeff(x.data(), 2, 2, nullptr, a.data()), 15);
    EXPECT_EQ(aCalcVectCoeff(x.data(), 2, 2, y.data(), nullptr), 15);
    EXPECT_EQ(aCalcVectCoeff(x.data(), 0, 2, y.data(), a.data()), 5);
    EXPECT_EQ(aCalcVectCoeff(x.data(), 2, -1, y.data(), a.data()), 5);
    // X^T X of 5000 columns would be beyond the largest matrix: refused
    // before anything is allocated or read.
    EXPECT_EQ(aCalcVectCoeff(x.data(), 1, 5000, y.data(), a.data()), 5);
    EXPECT_EQ(aCalcCoeffPolin(nullptr, 3, 2, a.data()), 15);
    EXPECT_EQ(aCalcCoeffPolin(x.data(), 2, 2, nullptr), 15);
    EXPECT_EQ(GetE_Error(), 15);
}

TEST_F(PolynomialsTest, LinearInterpolation) {
    double x = 1.5, x0 = 1, x1 = 2, y0 = 10, y1 = 20, r = 0;
    EXPECT_EQ(InterpLin(&x, &x0, &x1, &y0, &y1, &r), 0);
    EXPECT_EQ(r, 15);
    x = 3;
    EXPECT_EQ(InterpLin(&x, &x0, &x1, &y0, &y1, &r), 0);
    EXPECT_EQ(r, 30);  // beyond the two points: extrapolated
    x1 = x0;           // no check: the slope divides by zero
    EXPECT_EQ(InterpLin(&x, &x0, &x1, &y0, &y1, &r), 0);
    EXPECT_TRUE(std::isinf(r));
    SetE_Error(-1);
    r = 7;
    EXPECT_EQ(InterpLin(&x, nullptr, &x1, &y0, &y1, &r), 0);
    EXPECT_EQ(InterpLin(&x, &x0, &x1, &y0, &y1, nullptr), 0);
    EXPECT_EQ(r, 7);
    EXPECT_EQ(GetE_Error(), 5);
}
