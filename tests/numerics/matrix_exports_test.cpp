// The exported matrix functions: host arrays in either element order, the
// matrix status, refused arguments and the display exports.
#include <climits>
#include <cmath>
#include <functional>
#include <vector>

#include "base/errors.h"
#include "memory/elemorder.h"
#include "numerics/matrix.h"
#include "platform/headless/headless.h"
#include "support/library_test.h"
#include "log/trace.h"

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

}  // namespace

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
             zrt::setMatrStatus(zrt::MatrixStatus::Singular);
             return aSwapRC(work.data(), 2, 2, 1, 3, 1);
         },
         14, 7},
        {"aSwapRC stores", [&] { return aSwapRC(work.data(), 2, 2, 1, 2, 1); }, -1, -1},
        {"aPow stores",
         [&] {
             zrt::setMatrStatus(zrt::MatrixStatus::Singular);
             return aPow(ok.data(), 2, 2, c.data());
         },
         -1, -1},
        {"aSwap stores",
         [&] {
             zrt::setMatrStatus(zrt::MatrixStatus::Singular);
             return aSwap(work.data(), 2, 2, c.data());
         },
         -1, -1},
    };
    for (const Step& s : steps) {
        const int before = zrt::codeNumber(zrt::matrStatus());
        EXPECT_EQ(s.call(), s.result) << s.what;
        EXPECT_EQ(zrt::codeNumber(zrt::matrStatus()), s.status == 99 ? before : s.status) << s.what;
    }
}

TEST_F(MatrixExportsTest, LargeOrdersInEitherElementOrder) {
    // Order 15 goes by LU: a column-order host gets the same numbers in its order.
    const int n = 15;
    Mat a(n * n), v(n);
    for (int i = 0; i < n * n; ++i) a[i] = std::sin(i * 1.7) + (i % (n + 1) == 0 ? 3 : 0);
    for (int i = 0; i < n; ++i) v[i] = i - 7.0;
    Mat inv = a, w(n);
    ASSERT_EQ(aInv(inv.data(), n), -1);
    ASSERT_EQ(aSist(a.data(), n, v.data(), w.data()), -1);
    zrt::aElemOrderSet(1);
    Mat invCols = columns(a, n, n), wCols(n);
    ASSERT_EQ(aInv(invCols.data(), n), -1);
    ASSERT_EQ(aSist(columns(a, n, n).data(), n, v.data(), wCols.data()), -1);
    EXPECT_EQ(invCols, columns(inv, n, n));
    EXPECT_EQ(wCols, w);
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
        zrt::setMatrStatus(zrt::MatrixStatus::Ok);
        SetE_Error(-1);
        EXPECT_EQ(c.call(), c.result) << c.proc;
        EXPECT_EQ(zrt::codeNumber(zrt::matrStatus()), c.status) << c.proc;
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

TEST_F(MatrixExportsTest, ShowReadsTheHostOrderAndRestoresTheTraceMode) {
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
}
