// Every export family takes null pointers, empty and huge texts, and empty
// buffers without crashing or writing where it was not asked to.
#include "support/library_test.h"

class BadInputTest : public LibraryTest {};

TEST_F(BadInputTest, ErrorFamily) {
    EXPECT_EQ(U(GetE_ErrDescr(-99, 1)).substr(0, 55), U(GetE_ErrDescr(0, 0)));
    EXPECT_EQ(U(GetStErrDescr(-2147483647 - 1)), "");
    EXPECT_EQ(U(GetE_ErrDescr(-2147483647 - 1, 0)), "Undefined Command/Keyword    (Module: eval)");
}

TEST_F(BadInputTest, StoreFamily) {
    EXPECT_EQ(SetVarFunct(nullptr, nullptr, 0), 1);  // an empty key, as an empty text would give
    double v = 3;
    EXPECT_EQ(FindVarFunct(nullptr, 0, nullptr, nullptr), 21);
    EXPECT_EQ(FindVarFunct(P(Z("none")), 0, &v, nullptr), 0);
    EXPECT_EQ(v, 3);
    EXPECT_EQ(FindVarFunctD(nullptr, 1, nullptr, 1), 0);
    EXPECT_EQ(ClearVarFuncList(nullptr), 1);
    EXPECT_EQ(GetVarFuncListLen(nullptr), 0);
    zrt_char buf[4] = {'a', 'b', 'c', 0};
    SetVarFunct(P(Z("x")), P(Z("1")), 0);
    EXPECT_EQ(GetVarFuncList(buf, -3, P(Z("vars"))), 0);
    EXPECT_EQ(GetVarFuncList(nullptr, 10, P(Z("vars"))), 0);
    EXPECT_EQ(U(buf), "abc");
    // A maximum of 0 copies nothing but still ends the text (the buffer holds one unit).
    EXPECT_EQ(GetVarFuncList(buf, 0, P(Z("vars"))), 0);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(buf[1], 'b');
    ClearVarFuncList(P(Z("funct")));
    buf[0] = 'a';
    EXPECT_EQ(GetVarFuncList(buf, 5, P(Z("funct"))), 0);  // an empty list, sized by its length 0
    EXPECT_EQ(buf[0], 0);

    const std::u16string big = Z(std::string(1 << 20, 'n'));
    EXPECT_EQ(SetVarFunct(P(big), P(big), 1), 1);
    EXPECT_EQ(FindVarFunctD(P(big), 1, nullptr, 0), double(1 << 20));
}

TEST_F(BadInputTest, NumberTextFamily) {
    EXPECT_EQ(U(StrD0(nullptr)), "0");
    EXPECT_EQ(U(StrD0(P(Z("")))), "0");
    const std::string digits(1 << 20, '5');
    EXPECT_EQ(U(StrD0(P(Z(digits + "000")))), digits);
    EXPECT_EQ(e_get_const(nullptr, nullptr), 0);
    EXPECT_EQ(GetE_Error(), 18);
    EXPECT_EQ(e_get_const(P(Z(std::string(1 << 20, 'p'))), nullptr), 0);
}

TEST_F(BadInputTest, NumericalFamilies) {
    double r = 5;
    EXPECT_EQ(Integrate(nullptr, 0, 1, 2, 2, nullptr, &r), 3);  // the empty formula has no value
    EXPECT_EQ(r, 5);
    EXPECT_EQ(dIntegrate(nullptr, 0, 1, 2, 2, nullptr), 0);
    EXPECT_EQ(IntBezier2D(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12), 0);
    EXPECT_EQ(NewtSolve(nullptr, nullptr, &r), 13);
    EXPECT_EQ(dPolySolve(nullptr, nullptr), 0);
    EXPECT_EQ(dSolve(nullptr, P(Z("x"))), 1);
    EXPECT_EQ(U(sPolyNewt(nullptr, nullptr, 5)), "");
    EXPECT_EQ(U(sSolve(nullptr, P(Z("x")), -1)), "1.0000000000");
    EXPECT_EQ(U(Poly_dydx(nullptr, P(Z("x")))), "");

    // A huge formula and one nested deeper than the evaluator allows end in
    // error codes.
    const std::u16string big = Z("x+" + std::string(100000, '1'));
    EXPECT_EQ(Integrate(P(big), 0, 1, 2, 0, P(Z("x")), &r), 0);
    const std::u16string deep = Z(std::string(5000, '(') + "x" + std::string(5000, ')'));
    EXPECT_EQ(Integrate(P(deep), 0, 1, 2, 0, P(Z("x")), &r), 3);
    EXPECT_EQ(NewtSolve(P(deep), P(Z("x")), &r), 3);
    EXPECT_EQ(r, 1);
    const std::u16string longPolynomial = Z(std::string(100000, 'x') + "^3");
    EXPECT_EQ(U(Poly_dydx(P(longPolynomial), P(Z("x")))), "1");  // the first x is the term
}
