// The exported matrix functions: host arrays in either element order, the
// matrix status, refused arguments and the display exports.
#include <climits>
#include <cmath>
#include <functional>
#include <vector>

#include "evaluator/errors.h"
#include "memory/elemorder.h"
#include "numerics/matrix.h"
#include "platform/headless/headless.h"
#include "support/library_test.h"
#include "ui/trace.h"

using Mat = std::vector<double>;

class MatrixExportsTest : public LibraryTest {};

namespace {

// The same matrix laid out column after column (r x c given in row order).
Mat columns(const Mat& rowOrder, int r, int c) {
    Mat m(rowOrder.size());
    for (int i = 0; i < r; ++i)
        for (int j = 0; j < c; ++j) m[j * r + i] = rowOrder[i * c + j];
    return m;
}

// A 5 x 5 matrix without symmetry, so that the pivoting and the adjugate give
// different bits when they read the transpose instead.
const Mat kA5 = {4,    -2, 1, 3, 0.5, 1, 5,  -1, 2, 2,  -3, 1, 6,
                 0.25, 1,  2, 0, 1,   7, -1, 1,  3, -2, 1,  8};

}  // namespace

TEST_F(MatrixExportsTest, ColumnOrderHostsGetTheSameResults) {
    // Each operation runs once with a row-order host and once with a column-order
    // host; the column host's results, read back by columns, must be identical.
    struct Op {
        const char* what;
        int rOut, cOut;
        std::function<int(const Mat& a, Mat& out)> run;
    };
    const Mat b5 = [] {
        Mat b(25);
        for (int k = 0; k < 25; ++k) b[k] = (k * 7 % 11) - 4.5;
        return b;
    }();
    const Op ops[] = {
        {"aInv", 5, 5,
         [](const Mat& a, Mat& out) {
             out = a;
             return aInv(out.data(), 5);
         }},
        {"aDiag", 5, 5,
         [](const Mat& a, Mat& out) {
             out = a;
             return aDiag(out.data(), 5);
         }},
        {"aPow", 5, 5,
         [](const Mat& a, Mat& out) {
             out.assign(25, 0);
             return aPow(a.data(), 5, 3, out.data());
         }},
        {"aMultSq", 5, 5,
         [&](const Mat& a, Mat& out) {
             out.assign(25, 0);
             const Mat b = zrt::aElemOrderGet() == 1 ? columns(b5, 5, 5) : b5;
             return aMultSq(a.data(), 5, b.data(), out.data());
         }},
        {"aDiv", 5, 5,
         [&](const Mat& a, Mat& out) {
             out.assign(25, 0);
             const Mat b = zrt::aElemOrderGet() == 1 ? columns(b5, 5, 5) : b5;
             return aDiv(b.data(), 5, a.data(), out.data());
         }},
        {"aTrasp", 5, 5,
         [](const Mat& a, Mat& out) {
             out = a;
             return aTrasp(out.data(), 5, 5);
         }},
        {"aSwapRC rows", 5, 5,
         [](const Mat& a, Mat& out) {
             out = a;
             return aSwapRC(out.data(), 5, 5, 1, 2, 5);
         }},
        {"aSwapRC cols", 5, 5,
         [](const Mat& a, Mat& out) {
             out = a;
             return aSwapRC(out.data(), 5, 5, 0, 1, 4);
         }},
    };
    for (const Op& op : ops) {
        Mat byRow, byCol;
        zrt::aElemOrderSet(0);
        const int s1 = op.run(kA5, byRow);
        zrt::aElemOrderSet(1);
        const int s2 = op.run(columns(kA5, 5, 5), byCol);
        EXPECT_EQ(s1, -1) << op.what;
        EXPECT_EQ(s2, -1) << op.what;
        EXPECT_EQ(byCol, columns(byRow, op.rOut, op.cOut)) << op.what;
    }

    // Determinant, system, predicates: scalar and vector results must be identical.
    const Mat v = {1, -2, 3, -4, 5};
    double dRow = 0, dCol = 0;
    Mat wRow(5), wCol(5);
    zrt::aElemOrderSet(0);
    aDet(kA5.data(), 5, &dRow);
    aSist(kA5.data(), 5, v.data(), wRow.data());
    zrt::aElemOrderSet(1);
    const Mat a5c = columns(kA5, 5, 5);
    aDet(a5c.data(), 5, &dCol);
    aSist(a5c.data(), 5, v.data(), wCol.data());
    EXPECT_EQ(dRow, dCol);
    EXPECT_EQ(aDetN(a5c.data(), 5), dRow);
    EXPECT_EQ(wRow, wCol);

    // Non-square shapes: the product and the transposes change the shape.
    const Mat a23 = {1, 2, 3, 4, 5, 6}, b32 = {7, 8, 9, 10, 11, 12};
    Mat c22(4), t32(6), w2(2);
    const Mat a23c = columns(a23, 2, 3), b32c = columns(b32, 3, 2);
    EXPECT_EQ(aMultEx(a23c.data(), 2, 3, b32c.data(), 3, 2, c22.data()), -1);
    EXPECT_EQ(c22, columns({58, 64, 139, 154}, 2, 2));
    EXPECT_EQ(aTraspEx(a23c.data(), 2, 3, t32.data()), -1);
    EXPECT_EQ(t32, columns({1, 4, 2, 5, 3, 6}, 3, 2));
    Mat inPlace = a23c;
    EXPECT_EQ(aTrasp(inPlace.data(), 2, 3), -1);
    EXPECT_EQ(inPlace, t32);
    const Mat v3 = {1, 0, -1};
    EXPECT_EQ(aMultVect(a23c.data(), 2, 3, v3.data(), w2.data()), -1);
    EXPECT_EQ(w2, (Mat{-2, -2}));
    Mat swapped = a23c;
    EXPECT_EQ(aSwapRC(swapped.data(), 2, 3, 0, 1, 3), -1);
    EXPECT_EQ(swapped, columns({3, 2, 1, 6, 5, 4}, 2, 3));
}

TEST_F(MatrixExportsTest, MatrixStatus) {
    const Mat sing = {1, 2, 2, 4}, ok = {1, 2, 3, 4};
    Mat work = sing, c(4), w(2);
    const Mat v = {1, 1};
    double d = 0;
    struct Step {
        const char* what;
        std::function<int()> call;
        int result, status;  // the status after the call; 99: left as it was
    } steps[] = {
        {"aInv singular", [&] { return aInv(work.data(), 2); }, 7, 7},
        {"aDet stores -1", [&] { return aDet(sing.data(), 2, &d); }, -1, -1},
        {"aMultEx rank", [&] { return aMultEx(ok.data(), 2, 2, ok.data(), 1, 4, c.data()); }, 10,
         10},
        {"aSist singular keeps the determinant's -1",
         [&] { return aSist(sing.data(), 2, v.data(), w.data()); }, 7, -1},
        {"aDiv singular", [&] { return aDiv(ok.data(), 2, sing.data(), c.data()); }, 7, 7},
        {"aDiag leaves it",
         [&] {
             work = ok;
             return aDiag(work.data(), 2);
         },
         -1, 99},
        {"aSum leaves it", [&] { return aSum(ok.data(), 2, 2, ok.data(), c.data()); }, -1, 99},
        {"aMultSq stores", [&] { return aMultSq(ok.data(), 2, ok.data(), c.data()); }, -1, -1},
        {"aMatrIsOrtog stores the inversion", [&] { return aMatrIsOrtog(sing.data(), 2); }, 0, 7},
        {"aMatrIsSing stores the determinant's", [&] { return aMatrIsSing(sing.data(), 2); }, -1,
         -1},
        {"aSwapRC wrong number is only returned",
         [&] {
             zrt::setMatrStatus(7);
             return aSwapRC(work.data(), 2, 2, 1, 3, 1);
         },
         14, 7},
        {"aSwapRC stores", [&] { return aSwapRC(work.data(), 2, 2, 1, 2, 1); }, -1, -1},
        {"aPow stores",
         [&] {
             zrt::setMatrStatus(7);
             return aPow(ok.data(), 2, 2, c.data());
         },
         -1, -1},
        {"aSwap stores",
         [&] {
             zrt::setMatrStatus(7);
             return aSwap(work.data(), 2, 2, c.data());
         },
         -1, -1},
    };
    for (const Step& s : steps) {
        const int before = zrt::matrStatus();
        EXPECT_EQ(s.call(), s.result) << s.what;
        EXPECT_EQ(zrt::matrStatus(), s.status == 99 ? before : s.status) << s.what;
    }
}

TEST_F(MatrixExportsTest, RefusedArgumentsAreReportedAndTouchNothing) {
    double one[1] = {42};
    double out = 99;
    struct Case {
        const char* proc;
        std::function<int()> call;
        int result;  // what the export returns
        int status;  // matrix status and e_error afterwards
    } cases[] = {
        {"aDet", [&] { return aDet(one, 0, &out); }, 5, 5},
        {"aDet", [&] { return aDet(nullptr, 2, &out); }, 15, 15},
        {"aDet", [&] { return aDet(one, 1, nullptr); }, 15, 15},
        {"aDet", [&] { return aDet(one, 1 << 13, &out); }, 5, 5},
        {"aInv", [&] { return aInv(one, INT_MIN); }, 5, 5},
        {"aSist", [&] { return aSist(one, 1, one, nullptr); }, 15, 15},
        {"aDiag", [&] { return aDiag(one, -1); }, 5, 5},
        {"aMultEx", [&] { return aMultEx(one, 1 << 16, 1, one, 1, 1 << 16, one); }, 5, 5},
        {"aMultEx", [&] { return aMultEx(one, INT_MAX, INT_MAX, one, INT_MAX, 1, one); }, 5, 5},
        {"aMultSq", [&] { return aMultSq(one, 1, one, nullptr); }, 15, 15},
        {"aMultVect", [&] { return aMultVect(one, 1, 0, one, one); }, 5, 5},
        {"aMultVectSq", [&] { return aMultVectSq(one, 0, one, one); }, 5, 5},
        {"aPow", [&] { return aPow(one, 1, -2, one); }, 8, 8},
        {"aDiv", [&] { return aDiv(one, 0, one, one); }, 5, 5},
        {"aSum", [&] { return aSum(one, 0, 1, one, one); }, 5, 5},
        {"aDiff", [&] { return aDiff(one, 1, 1, nullptr, one); }, 15, 15},
        {"aSumMem", [&] { return aSumMem(one, -1, -1, one, one); }, 5, 5},
        {"aDiffMem", [&] { return aDiffMem(one, 1, 1, one, nullptr); }, 15, 15},
        {"aSumScal", [&] { return aSumScal(one, 0, 0, 1); }, 5, 5},
        {"aProdScal", [&] { return aProdScal(nullptr, 1, 1, 1); }, 15, 15},
        {"aOpp", [&] { return aOpp(one, 0, 1); }, 5, 5},
        {"aTrace", [&] { return aTrace(one, 0, &out); }, 5, 5},
        {"aTrasp", [&] { return aTrasp(one, 1, 0); }, 5, 5},
        {"aTraspEx", [&] { return aTraspEx(one, 1, 1, nullptr); }, 15, 15},
        {"aTraspSq", [&] { return aTraspSq(one, 0); }, 5, 5},
        {"aSwap", [&] { return aSwap(one, 1, 1, nullptr); }, 15, 15},
        {"aSwapRC", [&] { return aSwapRC(one, 0, 1, 1, 1, 1); }, 5, 5},
        {"aMatrMod", [&] { return aMatrMod(one, 0, &out); }, 5, 5},
        {"aVectMod", [&] { return aVectMod(one, 1, nullptr); }, 15, 15},
        {"aMatrIsZero", [&] { return aMatrIsZero(one, 0); }, 0, 5},
        {"aMatrIsUnit", [&] { return aMatrIsUnit(nullptr, 1); }, 0, 15},
        {"aMatrIsSing", [&] { return aMatrIsSing(one, -3); }, 0, 5},
        {"aMatrIsOrtog", [&] { return aMatrIsOrtog(one, 0); }, 0, 5},
        {"aMatrAreOrtog", [&] { return aMatrAreOrtog(one, 1, nullptr); }, 0, 15},
        {"aMatrAreEquals", [&] { return aMatrAreEquals(one, 1, 1, one, 0, 1); }, 0, 5},
        {"aPrintEx",
         [&] { return aPrintEx(one, 0, 1, nullptr, nullptr, nullptr, nullptr, nullptr); }, 5, 5},
        {"aPrintEx",
         [&] { return aPrintEx(one, 2048, 1024, nullptr, nullptr, nullptr, nullptr, nullptr); }, 5,
         5},
    };
    for (const Case& c : cases) {
        zrt::setMatrStatus(-1);
        SetE_Error(-1);
        EXPECT_EQ(c.call(), c.result) << c.proc;
        EXPECT_EQ(zrt::matrStatus(), c.status) << c.proc;
        EXPECT_EQ(GetE_Error(), c.status) << c.proc;
        EXPECT_NE(zrt::errorLog().find("Procedure : '" + std::string(c.proc) + " "),
                  std::string::npos)
            << c.proc;
        zrt::LogError("", 0, "", zrt::kLogClear);
    }
    EXPECT_EQ(aDetN(one, 0), 0.0);
    EXPECT_EQ(aTraceN(nullptr, 1), 0.0);
    EXPECT_EQ(U(aShow(one, 0, 0)), "");
    EXPECT_EQ(U(aShowByLong(nullptr, 1, 1)), "");
    EXPECT_EQ(one[0], 42);
    EXPECT_EQ(out, 99);
    EXPECT_TRUE(zrt::headless::shownMessages().empty());
    EXPECT_NE(zrt::errorLog().find("Orders not valid               (Module: aMatr)"),
              std::string::npos);
    EXPECT_EQ(aCombine() + aInsert() + aSub(), 0);
}

TEST_F(MatrixExportsTest, ShowAndPrint) {
    const Mat a = {1, 2.5, -3, 0.125, 7, 8};  // 2 x 3 in row order
    const std::string text =
        "\r\nA(0,0)=1.0000\tA(0,1)=2.5000\tA(0,2)=-3.0000\r\nA(1,0)=0.1250\tA(1,1)=7.0000\tA(1,2)="
        "8.0000\r\n";
    zrt::SetDebugF(4);
    EXPECT_EQ(U(aShow(a.data(), 2, 3)), text);
    EXPECT_EQ(zrt::debugMode(), 4);  // restored after the box
    ASSERT_EQ(zrt::headless::shownMessages().size(), 1u);
    EXPECT_EQ(zrt::headless::shownMessages()[0].title, "Zerith.dll");
    EXPECT_EQ(zrt::headless::shownMessages()[0].text, text);

    // A column-order host sees its own matrix.
    zrt::aElemOrderSet(1);
    const Mat ac = columns(a, 2, 3);
    EXPECT_EQ(U(aShowByLong(ac.data(), 2, 3)), text);

    std::u16string buffer(200, u' ');
    const int bytes = aPrintEx(ac.data(), 2, 3, P(Z("String")), P(Z("0.0")), P(Z("M")), P(Z("; ")),
                               reinterpret_cast<zrt_char*>(&buffer[0]));
    const std::string printed =
        "M\r\nA(0,0)=1.0; A(0,1)=2.5; A(0,2)=-3.0\r\nA(1,0)=0.1; A(1,1)=7.0; A(1,2)=8.0\r\n";
    EXPECT_EQ(bytes, static_cast<int>(printed.size() * 2));
    EXPECT_EQ(U(reinterpret_cast<const zrt_char*>(buffer.c_str())), printed);
    EXPECT_EQ(zrt::headless::shownMessages().size(), 2u);  // "String" shows nothing

    std::u16string small(10, u'x');
    EXPECT_EQ(aPrintEx(ac.data(), 2, 3, P(Z("String")), nullptr, nullptr, nullptr,
                       reinterpret_cast<zrt_char*>(&small[0])),
              10);
    EXPECT_EQ(small, std::u16string(10, u'x'));
    EXPECT_EQ(aPrintEx(ac.data(), 2, 3, P(Z("String")), nullptr, nullptr, nullptr, nullptr), 1);
}
