// The process-wide error code e_error, the message table of every module, the
// status texts of file and window operations, and the error log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zrt {

// The codes e_error takes; the eval block of the message table holds their
// texts. The numbers cross the C ABI unchanged (ZRT_E_... in zerith.h). Codes
// 19 and 22 have no text of their own; 21 is no error at all.
enum class ErrorCode : std::int32_t {
    None = -1,    // nothing failed
    Stopped = 0,  // "Undefined error (exit before completion)"
    AmbiguousFunction = 1,
    EvaluatorSyntax = 2,  // trailing tokens after a whole formula
    ParserSyntax = 3,
    UndefinedFunction = 4,
    ValueNotDefined = 5,  // "Returned Value not defined"
    TokenMismatch = 6,
    NotFound = 7,  // "Parameter/Element Not Found"
    DivisionByZero = 8,
    NotInteger = 9,
    ConditionNotFound = 10,  // "Condition/Matrix not found"
    WrongStringMatrix = 11,
    TooFewElements = 12,  // "No enought matrix elements"
    InvalidArgument = 13,
    MatrixNotFound = 14,  // "Matrix not defined/found"
    UndefinedVariable = 16,
    UndefinedCustomFunction = 17,
    UndefinedConstant = 18,
    UnknownMethod = 19,  // an integration method other than 0, 1, 2
    Found = 21,          // the variable store's "found" answer
    OddSimpsonSteps = 22,
    UndefinedCommand = 25,  // "Undefined Command/Keyword"
};

// The matrix library's status codes (texts in the "(Module: aMatr)" block,
// 29 entries below the eval block). Some of them are stored in e_error too.
enum class MatrixStatus : std::int32_t {
    Ok = -1,
    Stopped = 0,  // stopped before completion
    OrdersNotEqual = 4,
    OrdersNotValid = 5,
    NotSquare = 6,
    Singular = 7,
    InvalidParameter = 8,
    VectorExpected = 9,
    WrongRank = 10,
    WrongPoints = 11,
    RankTooHigh = 12,  // "Rank of matrix of coeff. > n-2"
    NoSolution = 13,
    TooMuchWork = 13,  // beyond kMaxMatrixWork; reads "System without Solutions"
    WrongSwap = 14,
    NotDefined = 15,
    MatrixZero = 16,
    InvalidElemOrder = 17,
};

// The numbers of the codes, as the C ABI and the texts show them.
constexpr std::int32_t codeNumber(ErrorCode code) {
    return static_cast<std::int32_t>(code);
}
constexpr std::int32_t codeNumber(MatrixStatus status) {
    return static_cast<std::int32_t>(status);
}
constexpr ErrorCode errorCodeOf(std::int32_t number) {
    return static_cast<ErrorCode>(number);
}
// A matrix status stored in e_error keeps its number.
constexpr ErrorCode errorCodeOf(MatrixStatus status) {
    return errorCodeOf(codeNumber(status));
}

constexpr int kCurrentError = -99;  // GetE_ErrDescr: stands for the current e_error

ErrorCode eError();
void setEError(ErrorCode code);

// The failure report: e_error = code and one log entry under procedure with
// detail. fail keeps the first error: with a code already pending it does
// nothing. failReplacing overwrites a pending code and logs in every case.
void fail(ErrorCode code, std::string_view procedure, std::string_view detail);
void failReplacing(ErrorCode code, std::string_view procedure, std::string_view detail);

// Text of the message table for a code of the eval block (entry 30 + code);
// entries outside 0..100 give the "Undefined Command/Keyword" text.
const std::string& errorText(int code);
inline const std::string& errorText(ErrorCode code) {
    return errorText(codeNumber(code));
}
// The "(Module: aMatr)" text of a matrix status: its block sits 29 entries
// below the eval block.
inline const std::string& matrixStatusText(MatrixStatus status) {
    return errorText(codeNumber(status) - 29);
}

// GetE_ErrDescr: the text for code (-99 = current e_error), with " | " and the
// whole error log appended when withLog is set.
std::string errorDescription(int code, bool withLog);

// GetStErrDescr: the status text for -9..-2, empty otherwise.
const std::string& statusText(int code);

// What an error report says about the formula being read. The lexer, which
// sits above this file, registers where the report comes from.
struct LexerReport {
    std::string expression;  // the whole prepared formula
    std::string marker;      // position marker line "pos(nnn)    = ---|"
    std::string element;     // spelling of the current token
    std::string token;       // e_tok
    std::string remaining;   // text not yet scanned
};
using LexerReportSource = LexerReport (*)(std::size_t fieldCap);
void setLexerReportSource(LexerReportSource source);

// LogError modes.
enum LogMode { kLogAppend = 1, kLogRead = 2, kLogClear = 4, kLogLastInfo = 8 };

// The system's LogError: mode 1 appends an entry built from the current e_error
// and the lexer's diagnostic state and returns the log; 2 returns the log; 4
// clears log and last report; 8 returns the last extended report.
// The line number is the caller's and shows in the entry's header.
std::string LogError(std::string_view proc, int line, std::string_view detail, int mode);

// Mode 1 without copying the log back: what failing procedures call. The entry
// shows line 0; logErrorAtLine shows the given one.
void logError(std::string_view proc, std::string_view detail);
void logErrorAtLine(std::string_view proc, int line, std::string_view detail);

// While muted, failures append nothing to the log (the evaluations behind a
// status-bar look must leave no trace). Returns the previous state.
bool muteErrorLog(bool muted);

const std::string& errorLog();
const std::string& lastErrorInfo();

// Load-time state: e_error 0 (Stopped), empty log.
void resetErrors();

}  // namespace zrt
