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

// The C header's constants carry the enums' numbers; every code has a text in
// the message table but 19, 21 and 22, which have none of their own.
TEST_F(ErrorsTest, NamedCodesMatchTheCHeaderAndTheMessageTable) {
    const struct {
        ErrorCode code;
        int number;
        bool hasText;
    } codes[] = {
        {ErrorCode::None, ZRT_E_NONE, true},
        {ErrorCode::Stopped, ZRT_E_STOPPED, true},
        {ErrorCode::AmbiguousFunction, ZRT_E_AMBIGUOUS_FUNCTION, true},
        {ErrorCode::EvaluatorSyntax, ZRT_E_EVALUATOR_SYNTAX, true},
        {ErrorCode::ParserSyntax, ZRT_E_PARSER_SYNTAX, true},
        {ErrorCode::UndefinedFunction, ZRT_E_UNDEFINED_FUNCTION, true},
        {ErrorCode::ValueNotDefined, ZRT_E_VALUE_NOT_DEFINED, true},
        {ErrorCode::TokenMismatch, ZRT_E_TOKEN_MISMATCH, true},
        {ErrorCode::NotFound, ZRT_E_NOT_FOUND, true},
        {ErrorCode::DivisionByZero, ZRT_E_DIVISION_BY_ZERO, true},
        {ErrorCode::NotInteger, ZRT_E_NOT_INTEGER, true},
        {ErrorCode::ConditionNotFound, ZRT_E_CONDITION_NOT_FOUND, true},
        {ErrorCode::WrongStringMatrix, ZRT_E_WRONG_STRING_MATRIX, true},
        {ErrorCode::TooFewElements, ZRT_E_TOO_FEW_ELEMENTS, true},
        {ErrorCode::InvalidArgument, ZRT_E_INVALID_ARGUMENT, true},
        {ErrorCode::MatrixNotFound, ZRT_E_MATRIX_NOT_FOUND, true},
        {ErrorCode::UndefinedVariable, ZRT_E_UNDEFINED_VARIABLE, true},
        {ErrorCode::UndefinedCustomFunction, ZRT_E_UNDEFINED_CUSTOM_FUNCTION, true},
        {ErrorCode::UndefinedConstant, ZRT_E_UNDEFINED_CONSTANT, true},
        {ErrorCode::UnknownMethod, ZRT_E_UNKNOWN_METHOD, false},
        {ErrorCode::Found, ZRT_E_FOUND, false},
        {ErrorCode::OddSimpsonSteps, ZRT_E_ODD_SIMPSON_STEPS, false},
        {ErrorCode::UndefinedCommand, ZRT_E_UNDEFINED_COMMAND, true},
    };
    for (const auto& c : codes) {
        EXPECT_EQ(codeNumber(c.code), c.number);
        EXPECT_EQ(!errorText(c.code).empty(), c.hasText) << c.number;
    }
    EXPECT_EQ(kCurrentError, ZRT_E_CURRENT);

    const struct {
        MatrixStatus status;
        int number;
    } statuses[] = {
        {MatrixStatus::Ok, ZRT_M_OK},
        {MatrixStatus::Stopped, ZRT_M_STOPPED},
        {MatrixStatus::OrdersNotEqual, ZRT_M_ORDERS_NOT_EQUAL},
        {MatrixStatus::OrdersNotValid, ZRT_M_ORDERS_NOT_VALID},
        {MatrixStatus::NotSquare, ZRT_M_NOT_SQUARE},
        {MatrixStatus::Singular, ZRT_M_SINGULAR},
        {MatrixStatus::InvalidParameter, ZRT_M_INVALID_PARAMETER},
        {MatrixStatus::VectorExpected, ZRT_M_VECTOR_EXPECTED},
        {MatrixStatus::WrongRank, ZRT_M_WRONG_RANK},
        {MatrixStatus::WrongPoints, ZRT_M_WRONG_POINTS},
        {MatrixStatus::RankTooHigh, ZRT_M_RANK_TOO_HIGH},
        {MatrixStatus::NoSolution, ZRT_M_NO_SOLUTION},
        {MatrixStatus::TooMuchWork, ZRT_M_TOO_MUCH_WORK},
        {MatrixStatus::WrongSwap, ZRT_M_WRONG_SWAP},
        {MatrixStatus::NotDefined, ZRT_M_NOT_DEFINED},
        {MatrixStatus::MatrixZero, ZRT_M_MATRIX_ZERO},
        {MatrixStatus::InvalidElemOrder, ZRT_M_INVALID_ELEM_ORDER},
    };
    for (const auto& s : statuses) {
        EXPECT_EQ(codeNumber(s.status), s.number);
        EXPECT_NE(matrixStatusText(s.status).find("(Module: aMatr)"), std::string::npos)
            << s.number;
    }
}

// fail keeps a pending code and logs nothing; failReplacing overwrites and logs.
TEST_F(ErrorsTest, FirstErrorWinsUnlessReplaced) {
    setEError(ErrorCode::None);
    fail(ErrorCode::ParserSyntax, "first", "one");
    fail(ErrorCode::DivisionByZero, "second", "two");
    EXPECT_EQ(eError(), ErrorCode::ParserSyntax);
    EXPECT_EQ(errorLog().find("second"), std::string::npos);
    failReplacing(ErrorCode::InvalidArgument, "third", "three");
    EXPECT_EQ(eError(), ErrorCode::InvalidArgument);
    EXPECT_NE(errorLog().find("Procedure : 'third (Line: 0)'\r\nError nr. : 13"),
              std::string::npos);
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
