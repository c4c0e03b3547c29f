#include "base/errors.h"

#include "support/library_test.h"

using namespace zrt;

class ErrorsTest : public LibraryTest {};

TEST_F(ErrorsTest, DescriptionsByCodeCoverAllThreeBlocks) {
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {-1, "No Error                     (Module: aMatr)"},
        {0, "Undefined error (exit before completion) (Module: eval)"},
        {8, "Division by zero             (Module: eval & sDiff)"},
        {15, ""},
        {19, ""},
        {25, "Undefined Command/Keyword    (Module: eval)"},
        {500, "Undefined Command/Keyword    (Module: eval)"},
        {-31, "Undefined Command/Keyword    (Module: eval)"},
        {31, "Too Long Formula             (Module: sDiff)"},
        {37, "Empty Formula                (Module: sDiff)"},
        {-25, "Orders not equal               (Module: aMatr)"},
        {-30, "No Error                       (Module: aMatr)"},
        {-16, "System without Solutions      (Module: aMatr)"},
        {-17, "Rank of matrix of coeff. > n-2 (Module: aMatr)"},
        {70, ""},
        {-12, "Invalid aElemOrder            (Module: aMatr)"},
        {71, "Undefined Command/Keyword    (Module: eval)"},
        {2147483647, "Undefined Command/Keyword    (Module: eval)"},
        {-2147483647 - 1, "Undefined Command/Keyword    (Module: eval)"},
    };
    for (const auto& c : cases) EXPECT_EQ(errorDescription(c.code, false), c.text) << c.code;
}

TEST_F(ErrorsTest, CurrentCodeAndLogSuffix) {
    setEError(ErrorCode::None);
    EXPECT_EQ(errorDescription(kCurrentError, false), errorText(-1));
    setEError(ErrorCode::DivisionByZero);
    EXPECT_EQ(errorDescription(kCurrentError, false), errorText(8));
    EXPECT_EQ(errorDescription(3, true), errorText(3) + " | ");
}

TEST_F(ErrorsTest, StatusTextsAreTheirOwnTable) {
    EXPECT_EQ(statusText(-2), "File Open Error (not found?)");
    EXPECT_EQ(statusText(-4), "Operation vancelled by user");
    EXPECT_EQ(statusText(-9), "Child Window Not Found");
    EXPECT_EQ(statusText(0), "");
    EXPECT_EQ(statusText(-1), "");
    EXPECT_EQ(statusText(-10), "");
    EXPECT_EQ(errorDescription(-2, false), "");  // the eval table is unchanged
}

TEST_F(ErrorsTest, LogEntriesAccumulateInOrderAndClear) {
    setEError(ErrorCode::ParserSyntax);
    logErrorAtLine("e_prs", 10, "first");
    setEError(ErrorCode::DivisionByZero);
    const std::string log = LogError("e_eval", 20, "second", kLogAppend);
    const auto first = log.find("Procedure : 'e_prs (Line: 10)'\r\nError nr. : 3, Description: " +
                                errorText(3));
    const auto second = log.find("Procedure : 'e_eval (Line: 20)'\r\nError nr. : 8");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_EQ(log.substr(0, 2), "\r\n");
    EXPECT_NE(log.find("second\r\nExtended Error Info:\r\n  expression  : "), std::string::npos);
    EXPECT_EQ(LogError("", 0, "", kLogLastInfo).substr(0, 8), "second\r\n");
    EXPECT_EQ(LogError("", 0, "", kLogRead), log);
    EXPECT_EQ(LogError("", 0, "", kLogClear), "");
    EXPECT_EQ(errorLog(), "");
    EXPECT_EQ(lastErrorInfo(), "");
}

TEST_F(ErrorsTest, LogStaysBoundedUnderManyFailures) {
    const std::string detail(10000, 'd');
    for (int i = 0; i < 1000; ++i) logErrorAtLine("loop", i, detail);
    EXPECT_LT(errorLog().size(), 5u << 20);
    EXPECT_NE(errorLog().find("(Line: 999)"), std::string::npos);
    EXPECT_EQ(errorLog().find("\r\nProcedure : '"), 0u);
}

TEST_F(ErrorsTest, LoadStateIsZeroAndExportsAgree) {
    EXPECT_EQ(GetE_Error(), 0);
    EXPECT_EQ(SetE_Error(13), 13);
    EXPECT_EQ(GetE_Error(), 13);
    EXPECT_EQ(U(GetE_ErrDescr(-99, 0)), errorText(13));
    EXPECT_EQ(U(GetStErrDescr(-3)), "File Write Error (already in use?)");
}
