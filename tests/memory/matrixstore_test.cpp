#include "memory/matrixstore.h"

#include <cstdint>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "evaluator/matrixexpr.h"
#include "memory/elemorder.h"
#include "ui/matrixprint.h"
#include "support/library_test.h"
#include "log/trace.h"

using namespace zrt;

class MatrixStoreTest : public LibraryTest {};

namespace {

std::vector<double> elementsAt(std::intptr_t address) {
    const MatrixRecord* r = findMatrixByAddress(address);
    return r ? r->elements : std::vector<double>{};
}

}  // namespace

TEST_F(MatrixStoreTest, DefinitionTexts) {
    EXPECT_EQ(SetStrMatrix("[mA]; 2; 2; 1; 2; 3; 4", false), 0);
    const MatrixRecord* a = findMatrixByName("[ma]");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->elements, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_FALSE(a->vector);

    EXPECT_EQ(SetStrMatrix("[v];3;0;1;2;3;", false), 1);
    const MatrixRecord* v = findMatrixByName("[v]");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->rows, 3);
    EXPECT_EQ(v->cols, 1);
    EXPECT_TRUE(v->vector);

    EXPECT_EQ(SetStrMatrix("[e];1;2;2*3;x", false, &readMatrixElement), 4);  // x is unknown
    EXPECT_EQ(SetStrMatrix("[e];1;2;2*3;sum(1;2)", false, &readMatrixElement), 6);  // ";" separates fields
    EXPECT_EQ(SetStrMatrix("[e];1;2;2*3;-1", false, &readMatrixElement), 2);
    EXPECT_EQ(findMatrixByName("[e]")->elements, (std::vector<double>{6, -1}));

    const struct {
        const char* text;
        int code;
        const char* logged;
    } failures[] = {
        {"", 13, "Function Param = "},
        {";2;2;1;2;3;4", 11, "MatrixName = "},
        {"[m];0;0;1", 11, "rows = 0, cols = 0"},
        {"[m];-2;2;1", 11, "rows = -2"},
        {"[mA];2;2;1;2;3", 12, "Should be: 4, are: 3\r\nMatrixName = [mA]\r\nrow = 2, col = 2\r\nvalue = ''"},
        {"[mA];2;2;1;;3;4", 12, "Should be: 4, are: 1"},
        {"[big];100000;100000;1", 12, "Should be: 10000000000, are: 1"},
        {"[e];1;1;[mA]", 11, "an element must be a number"},
    };
    for (const auto& f : failures) {
        LogError("", 0, "", kLogClear);
        EXPECT_EQ(SetStrMatrix(f.text, false, &readMatrixElement), f.code) << f.text;
        EXPECT_EQ(codeNumber(eError()), f.code) << f.text;
        EXPECT_NE(errorLog().find(f.logged), std::string::npos) << f.text << "\n" << errorLog();
    }
    EXPECT_EQ(matrixCount(), 3u);  // failures store nothing
}

TEST_F(MatrixStoreTest, HostArraysAreCopiedInTheirOrder) {
    double host[6] = {1, 4, 2, 5, 3, 6};  // 2 x 3, column after column
    zrt::aElemOrderSet(1);
    const std::intptr_t address = SetMatrix("[mH]", host, 2, 3, true);
    ASSERT_NE(address, 0);
    EXPECT_NE(address, reinterpret_cast<std::intptr_t>(host));
    host[0] = 99;  // the store has its own copy
    EXPECT_EQ(elementsAt(address), (std::vector<double>{1, 2, 3, 4, 5, 6}));

    // Back to the host in its own order, for a matrix that is not square.
    double back[6] = {0};
    EXPECT_EQ(zrt::GetMatrixByLong(address, back, 2, 3), -1);
    EXPECT_EQ(std::vector<double>(back, back + 6), (std::vector<double>{1, 4, 2, 5, 3, 6}));

    // Definition texts are row after row whatever the host's order is.
    SetStrMatrix("[mS];2;2;1;2;3;4", false);
    EXPECT_EQ(findMatrixByName("[ms]")->elements, (std::vector<double>{1, 2, 3, 4}));
}

TEST_F(MatrixStoreTest, StoringAgain) {
    double a[4] = {1, 2, 3, 4}, b[4] = {5, 6, 7, 8};
    const std::intptr_t first = SetMatrix("[m]", a, 2, 2, true);
    EXPECT_EQ(SetMatrix(" [M] ", b, 2, 2, true), first);  // same size: same block
    EXPECT_EQ(SetMatrix("[m]", b, 2, 2, false), 0);       // as asked: the index
    EXPECT_EQ(elementsAt(first), (std::vector<double>{5, 6, 7, 8}));

    double c[6] = {1, 2, 3, 4, 5, 6};
    const std::intptr_t moved = SetMatrix("[m]", c, 3, 2, true);  // another size: a new block
    EXPECT_EQ(elementsAt(moved), (std::vector<double>{1, 2, 3, 4, 5, 6}));
    double out[6];
    EXPECT_EQ(zrt::GetMatrixByLong(moved, out, 3, 2), -1);
    if (moved != first) {
        EXPECT_EQ(zrt::GetMatrixByLong(first, out, 2, 2), 15);
    }
    EXPECT_EQ(matrixCount(), 1u);
}

TEST_F(MatrixStoreTest, SizesFromCallers) {
    double a[1] = {1};
    const struct {
        int rows, cols;
    } bad[] = {{100000, 100000}, {-1, 2}, {2, -1}, {2147483647, 2147483647}, {1 << 12, (1 << 12) + 1}};
    for (const auto& s : bad) {
        LogError("", 0, "", kLogClear);
        EXPECT_EQ(SetMatrix("[x]", a, s.rows, s.cols, true), 0);
        EXPECT_EQ(eError(), ErrorCode::InvalidArgument);
        EXPECT_NE(errorLog().find("Procedure : 'SetMatrix"), std::string::npos);
    }
    EXPECT_EQ(SetMatrix("[x]", nullptr, 1, 1, true), 0);
    EXPECT_EQ(eError(), ErrorCode::InvalidArgument);
    EXPECT_EQ(matrixCount(), 0u);
    // Zero counts as one.
    EXPECT_NE(SetMatrix("[one]", a, 0, 0, true), 0);
    EXPECT_EQ(findMatrixByName("[one]")->rows, 1);
}

TEST_F(MatrixStoreTest, FindAndGetByAddress) {
    double a[4] = {1, 2, 3, 4};
    SetMatrix("[p]", a, 1, 1, false);
    const std::intptr_t address = SetMatrix("[q]", a, 2, 2, true);
    int rows = 0, cols = 0;
    EXPECT_EQ(FindMatrix(" [Q] ", kByName | kFindAddress, &rows, &cols, false), address);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(cols, 2);
    EXPECT_EQ(eError(), ErrorCode::None);
    EXPECT_EQ(FindMatrix("[q]", kByName | kFindIndex, nullptr, nullptr, false), 1);
    EXPECT_EQ(FindMatrix(std::to_string(address), kByAddressText | kFindIndex, nullptr, nullptr, false), 1);
    EXPECT_EQ(FindMatrix("0" + std::to_string(address), kByAddressText, nullptr, nullptr, false), 0);
    EXPECT_EQ(FindMatrix("[q]", kByAddressText, nullptr, nullptr, false), 0);

    LogError("", 0, "", kLogClear);
    EXPECT_EQ(FindMatrix("[nope]", kByName | kFindAddress, &rows, nullptr, true), 0);
    EXPECT_EQ(eError(), ErrorCode::MatrixNotFound);
    EXPECT_NE(errorLog().find("MatrName =[nope]"), std::string::npos);

    double out[4] = {0};
    const struct {
        std::intptr_t source;
        double* dest;
        int rows, cols, code;
    } cases[] = {
        {0, out, 2, 2, 15},         {address, nullptr, 2, 2, 15}, {address + 8, out, 1, 1, 15},
        {12345, out, 1, 1, 15},     {address, out, 0, 2, 5},      {address, out, 2, -1, 5},
        {address, out, 3, 2, 5},    {address, out, 1, 3, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zrt::GetMatrixByLong(c.source, c.dest, c.rows, c.cols), c.code)
            << c.source << " " << c.rows << "x" << c.cols;
    }
    EXPECT_EQ(std::vector<double>(out, out + 4), (std::vector<double>{1, 2, 3, 0}));
}

TEST_F(MatrixStoreTest, Listing) {
    SetStrMatrix("[mA];2;2;1;2;3;4.5", false);
    SetStrMatrix("[v];1;2;7;8", false);
    const std::string a = std::to_string(FindMatrix("[ma]", 33, nullptr, nullptr, false));
    const std::string v = std::to_string(FindMatrix("[v]", 33, nullptr, nullptr, false));
    EXPECT_EQ(GetMatrixList(false),
              "Matrix List: Count:2\r\n"
              " - Name: [ma] - nr. 1\r\n     Addr: " + a + "\r\n     Internal: 0\r\n     rows: 2\r\n"
              "     cols: 2\r\n     index: 0\r\n     vector: 0\r\n"
              " - Name: [v] - nr. 2\r\n     Addr: " + v + "\r\n     Internal: 0\r\n     rows: 1\r\n"
              "     cols: 2\r\n     index: 1\r\n     vector: -1\r\n");
    const std::string withValues = GetMatrixList(true);
    EXPECT_NE(withValues.find("     vector: 0\r\n     A(0,0)=1.0000\tA(0,1)=2.0000\r\n"
                              "     A(1,0)=3.0000\tA(1,1)=4.5000\r\n - Name: [v]"),
              std::string::npos);
    EXPECT_NE(withValues.find("     vector: -1\r\n     V(0)=7.0000\tV(1)=8.0000\r\n"), std::string::npos);
    zrt::ClearMatrixList(0);
    EXPECT_EQ(GetMatrixList(true), "Matrix List: Count:0\r\n");
}

TEST_F(MatrixStoreTest, TemporariesOfEvaluations) {
    SetStrMatrix("[mA];2;2;1;2;3;4", false);
    double v = 0;
    ASSERT_EQ(e_eval("[mA]", &v, 0), 1);
    const std::intptr_t first = static_cast<std::intptr_t>(v);
    const MatrixRecord* temp = findMatrixByAddress(first);
    ASSERT_NE(temp, nullptr);
    EXPECT_TRUE(temp->internal);
    EXPECT_EQ(temp->elements, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(matrixCount(), 2u);

    // The next matrix result drops the previous temporary; the stored matrix stays.
    ASSERT_EQ(e_eval("[MA]", &v, 0), 1);
    EXPECT_EQ(findMatrixByAddress(first) == nullptr || static_cast<std::intptr_t>(v) == first, true);
    EXPECT_EQ(matrixCount(), 2u);

    // Failures and number results leave no temporaries of their own.
    EXPECT_EQ(e_eval("[mA]+[mA]T*[mA]^2-[mA]", &v, 0), 1);
    EXPECT_EQ(matrixCount(), 2u);
    EXPECT_EQ(e_eval("det([mA]*[mA]-[mA]I)+trace(-[mA])", &v, 0), 0);
    EXPECT_EQ(e_eval("[mA]+[mA]^2*([mA]T-1)/0", &v, 0), 8);
    EXPECT_EQ(e_eval("[mA]^[mA]", &v, 0), 10);
    EXPECT_EQ(e_eval("[mA]<1", &v, 0), 10);
    EXPECT_EQ(e_eval("sin([mA])", &v, 0), 10);
    EXPECT_EQ(e_eval("not [mA]", &v, 0), 10);
    EXPECT_EQ(e_eval("vcoeff([mA];[mA];[mA])", &v, 0), 13);
    EXPECT_EQ(matrixCount(), 2u);
    EXPECT_EQ(findMatrixByName("[ma]")->elements, (std::vector<double>{1, 2, 3, 4}));

    // de_eval keeps its result as [mResult], not as a temporary.
    const double address = de_eval("[mA]", 0);
    const MatrixRecord* result = findMatrixByName("[mresult]");
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(static_cast<double>(result->address()), address);
    EXPECT_FALSE(result->internal);
    EXPECT_EQ(result->elements, (std::vector<double>{1, 2, 3, 4}));

    zrt::ClearMatrixList(1);  // internal records go, the others stay
    EXPECT_EQ(matrixCount(), 2u);
    EXPECT_NE(findMatrixByName("[ma]"), nullptr);
}

TEST_F(MatrixStoreTest, ClearingWritesTheTrace) {
    SetStrMatrix("[k];1;1;1", false);
    double v = 0;
    e_eval("[k]", &v, 0);
    zrt::SetDebugF(4);
    zrt::ClearMatrixList(static_cast<std::intptr_t>(v));
    EXPECT_NE(debugLog().find("[k] ("), std::string::npos);
    EXPECT_NE(debugLog().find("   kept"), std::string::npos);
    zrt::ClearMatrixList(0);
    EXPECT_NE(debugLog().find("[k]   deleted"), std::string::npos);
}
