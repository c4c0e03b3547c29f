#include "ui/matrixprint.h"

#include "platform/headless/headless.h"
#include "support/library_test.h"
#include "log/trace.h"

using namespace zrt;

class MatrixPrintTest : public LibraryTest {};

TEST_F(MatrixPrintTest, MatricesAndVectors) {
    const double m[4] = {1, 2.5, -3, 1.0 / 3};
    EXPECT_EQ(aPrint("String", "", "Head", "", m, 2, 2, {}),
              "Head\r\nA(0,0)=1.0000\tA(0,1)=2.5000\r\nA(1,0)=-3.0000\tA(1,1)=0.3333\r\n");
    EXPECT_EQ(aPrint("String", "0.00", "", "; ", m, 1, 3, {true, false}),
              "\r\nV(0)=1.00; V(1)=2.50; V(2)=-3.00");
    EXPECT_EQ(aPrint("String", "0.", "", "", m, 3, 1, {false, true}), "\r\nV(0)=1\tV(1)=2\tV(2)=-3");
    EXPECT_TRUE(headless::shownMessages().empty());
}

TEST_F(MatrixPrintTest, Destinations) {
    const double m[1] = {7};
    aPrint("", "", "h", "", m, 1, 1, {});
    ASSERT_EQ(headless::shownMessages().size(), 1u);
    EXPECT_EQ(headless::shownMessages()[0].title, "Zerith.dll");
    zrt::SetDebugF(4);
    aPrint("Debug", "", "h", "", m, 1, 1, {});
    EXPECT_EQ(debugLog(), "\r\nh\r\nA(0,0)=7.0000\r\n");
    EXPECT_EQ(aPrint("String", "", "h", "", nullptr, 5, 5, {}), "h\r\n");
}
