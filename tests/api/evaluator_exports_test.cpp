// The evaluator and matrix store exports with null pointers, empty and huge
// texts, and host arrays.
#include <cstdint>
#include <string>
#include <vector>

#include "support/library_test.h"

class EvaluatorExportsTest : public LibraryTest {};

TEST_F(EvaluatorExportsTest, EvaluatorFamily) {
    double v = 5;
    EXPECT_EQ(e_eval(nullptr, &v, 0), 3);
    EXPECT_EQ(e_eval(P(Z("")), &v, 1), 3);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(e_eval(P(Z("2+3*4")), nullptr, 0), 0);
    EXPECT_EQ(e_eval(P(Z("2+3*4")), &v, 0), 0);
    EXPECT_EQ(v, 14);
    EXPECT_EQ(de_eval(nullptr, 0), 3.0);
    EXPECT_EQ(de_eval(P(Z("1,5*2")), 0), 3.0);
    EXPECT_EQ(GetE_Error(), -1);
    // Text outside ASCII is one stray token, not a crash.
    EXPECT_EQ(e_eval(P(Z("1+\xE2\x82\xAC")), &v, 0), 3);
    EXPECT_NE(U(GetE_ErrDescr(-99, 1)).find("token = '\xE2\x82\xAC'"), std::string::npos);

    EXPECT_EQ(e_evals(nullptr, 0, nullptr, 1, 2, nullptr, nullptr, nullptr), 3);
    double x[3], y[3], b[5];
    EXPECT_EQ(e_evals(P(Z("x*2")), 0, P(Z("x")), 1, 2, x, y, b), -1);
    EXPECT_EQ(y[2], 2);
    EXPECT_EQ(GetEvalResult(nullptr, 0), 0);
    EXPECT_EQ(SetBoolSign(2), 0);
    EXPECT_EQ(ReSetZeRarove(), 0);
    EXPECT_EQ(GetResultType(), -1);

    const std::u16string deep = Z(std::string(100000, '(') + "1" + std::string(100000, ')'));
    EXPECT_EQ(e_eval(P(deep), &v, 0), 3);
}

TEST_F(EvaluatorExportsTest, MatrixStoreFamily) {
    EXPECT_EQ(SetMatrix(nullptr, 0, 2, 2, 1), 0);
    EXPECT_EQ(GetE_Error(), 13);
    EXPECT_EQ(SetStrMatrix(nullptr, 0, 0), 13);
    EXPECT_EQ(FindMatrix(nullptr, 33, nullptr, nullptr, 1), 0);
    EXPECT_EQ(GetE_Error(), 14);
    EXPECT_EQ(GetMatrixByLong(0, nullptr, 0, 0), 15);
    double out[4] = {0};
    EXPECT_EQ(GetMatrixByLong(reinterpret_cast<intptr_t>(out), out, 2, 2), 15);  // not a stored matrix
    EXPECT_EQ(U(GetMatrixList(1)), "Matrix List: Count:0\r\n");
    ClearMatrixList(0);
    EXPECT_EQ(GetE_Error(), -1);

    const double host[4] = {1, 2, 3, 4};
    const intptr_t address = SetMatrix(P(Z("[mA]")), reinterpret_cast<intptr_t>(host), 2, 2, 1);
    ASSERT_NE(address, 0);
    int32_t rows = 0, cols = 0;
    EXPECT_EQ(FindMatrix(P(Z("[MA]")), 33, &rows, &cols, 0), address);
    EXPECT_EQ(rows * 10 + cols, 22);
    EXPECT_EQ(GetMatrixByLong(address, out, 2, 2), -1);
    EXPECT_EQ(std::vector<double>(out, out + 4), std::vector<double>(host, host + 4));
    EXPECT_EQ(SetStrMatrix(P(Z("[v];3;1;1;2;3")), 0, 0), 1);
    double v = 0;
    EXPECT_EQ(e_eval(P(Z("[mA]")), &v, 0), 1);
    EXPECT_EQ(GetMatrixByLong(static_cast<intptr_t>(v), out, 2, 2), -1);
    ClearMatrixList(static_cast<intptr_t>(v));
    EXPECT_EQ(U(GetMatrixList(0)).substr(0, 20), "Matrix List: Count:3");
    ClearMatrixList(1);
    EXPECT_EQ(U(GetMatrixList(0)).substr(0, 20), "Matrix List: Count:2");
}
