#include "memory/elemorder.h"

#include <vector>

#include "support/library_test.h"

using zrt::copyToHost;
using zrt::setPlainCopy;

class ElemOrderTest : public LibraryTest {};

TEST_F(ElemOrderTest, ColumnOrderArraysArriveInRowOrderAndGoBack) {
    const std::vector<double> byColumn = {1, 4, 2, 5, 3, 6};  // 2 x 3, column after column
    std::vector<double> rows(6), back(6);
    zrt::aCopyArray(byColumn.data(), rows.data(), 2, 3);
    EXPECT_EQ(rows, byColumn);  // flag not set: plain copy
    EXPECT_EQ(zrt::aElemOrderSet(1), -1);
    zrt::aCopyArray(byColumn.data(), rows.data(), 2, 3);
    EXPECT_EQ(rows, (std::vector<double>{1, 2, 3, 4, 5, 6}));
    copyToHost(rows.data(), back.data(), 2, 3);
    EXPECT_EQ(back, byColumn);
    std::vector<double> inPlace = byColumn;
    zrt::aCopyArray(inPlace.data(), inPlace.data(), 2, 3);
    EXPECT_EQ(inPlace, rows);
    setPlainCopy(true);
    zrt::aCopyArray(byColumn.data(), rows.data(), 2, 3);
    EXPECT_EQ(rows, byColumn);
}

TEST_F(ElemOrderTest, FlagSettersAndProbe) {
    EXPECT_EQ(zrt::aElemOrderGet(), -1);
    EXPECT_EQ(zrt::aElemOrderSet(2), 17);
    EXPECT_EQ(zrt::aElemOrderGet(), -1);
    zrt::aElemOrderSt("VB");
    EXPECT_EQ(zrt::aElemOrderGet(), 1);
    zrt::aElemOrderSt("RowOrder");
    EXPECT_EQ(zrt::aElemOrderGet(), 0);
    zrt::aElemOrderSt("Visual Basic");
    EXPECT_EQ(zrt::aElemOrderGet(), 1);
    zrt::aElemOrderSt("anything");
    EXPECT_EQ(zrt::aElemOrderGet(), 0);
    double rowProbe[4] = {1, 2, 3, 4}, colProbe[4] = {1, 3, 2, 4};
    EXPECT_EQ(zrt::aElemOrder(rowProbe), 0);
    EXPECT_EQ(zrt::aElemOrder(colProbe), 1);
    double one[1] = {1}, bad[1] = {1e300};
    EXPECT_EQ(zrt::aElemOrderEx(rowProbe, 0), 0);
    EXPECT_EQ(zrt::aElemOrderEx(one, 2), -1);
    EXPECT_EQ(zrt::aElemOrderEx(nullptr, 3), 1);
    EXPECT_EQ(zrt::aElemOrderEx(bad, 2), 17);
    EXPECT_EQ(zrt::aElemOrderEx(one, 9), 0);
}

TEST_F(ElemOrderTest, BadSizesCopyNothing) {
    double src[2] = {1, 2}, dst[2] = {7, 7};
    for (auto [r, c] : std::vector<std::pair<int, int>>{{0, 2}, {-1, 2}, {2, -5}}) {
        zrt::aCopyArray(src, dst, r, c);
        EXPECT_EQ(dst[0], 7);
    }
    zrt::aCopyArray(nullptr, dst, 1, 2);
    zrt::aCopyArray(src, nullptr, 1, 2);
    EXPECT_EQ(::aCopy(src, 1, 2, dst), -1);
    EXPECT_EQ(dst[1], 2);
    EXPECT_EQ(::aDupl(nullptr, 1, 2, dst), -1);
}
