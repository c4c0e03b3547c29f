#include "base/errors.h"

#include "base/limits.h"
#include "base/strings.h"

#include <array>
#include <cstdint>

namespace zrt {

namespace {

constexpr int kTableSize = 101;
constexpr int kEvalBase = 30;
constexpr int kFallbackEntry = 55;  // "Undefined Command/Keyword"

using MessageTable = std::array<std::string, kTableSize>;

MessageTable buildMessageTable() {
    MessageTable t;
    // aMatr block, base entry 1 (code c at entry 1 + c).
    t[0] = "No Error                       (Module: aMatr)";
    t[1] = "Undefined error (exit before completion) (Module: aMatr)";
    t[5] = "Orders not equal               (Module: aMatr)";
    t[6] = "Orders not valid               (Module: aMatr)";
    t[7] = "Matrix not squared             (Module: aMatr)";
    t[8] = "Matrix singolar                (Module: aMatr)";
    t[9] = "Invalid Parameter              (Module: aMatr)";
    t[10] = "Vector expected not Matrix     (Module: aMatr)";
    t[11] = "Wrong Matrix rank              (Module: aMatr)";
    t[12] = "Wrong vector of points         (Module: aMatr)";
    // Codes 12 to 14 keep the texts the matrix routines raise them with.
    t[13] = "Rank of matrix of coeff. > n-2 (Module: aMatr)";
    t[14] = "System without Solutions      (Module: aMatr)";
    t[15] = "Wrong SWAP Row or Col         (Module: aMatr)";
    t[16] = "Matrix not defined            (Module: aMatr)";
    t[17] = "Matrix is Zero                (Module: aMatr)";
    t[18] = "Invalid aElemOrder            (Module: aMatr)";
    // eval block, base entry 30.
    t[29] = "No Error                     (Module: aMatr)";
    t[30] = "Undefined error (exit before completion) (Module: eval)";
    t[31] = "Ambiguous function name      (Module: eval)";
    t[32] = "Evaluator syntax error       (Module: eval)";
    t[33] = "Parser syntax error          (Module: eval)";
    t[34] = "Undefined function           (Module: eval)";
    t[35] = "Returned Value not defined   (Module: eval)";
    t[36] = "Token match / syntax error   (Module: eval)";
    t[37] = "Parameter/Element Not Found  (Module: eval)";
    t[38] = "Division by zero             (Module: eval & sDiff)";
    t[39] = "Expression/value not integer (Module: eval)";
    t[40] = "Condition/Matrix not found   (Module: eval)";
    t[41] = "Wrong string matrix          (Module: eval)";
    t[42] = "No enought matrix elements   (Module: eval)";
    t[43] = "Invalid parameter/argument   (Module: eval)";
    t[44] = "Matrix not defined/found     (Module: eval)";
    t[46] = "Undefined Custom Variable    (Module: eval)";
    t[47] = "Undefined Custom Function    (Module: eval)";
    t[48] = "Undefined Constant           (Module: eval)";
    t[55] = "Undefined Command/Keyword    (Module: eval)";
    // sDiff block, base entry 60.
    t[59] = "No Error                     (Module: sDiff)";
    t[60] = "Undefined error (procedure exit before completion)  (Module: sDiff)";
    t[61] = "Too Long Formula             (Module: sDiff)";
    t[62] = "Wrong Number                 (Module: sDiff)";
    t[63] = "Wrong First Operand          (Module: sDiff)";
    t[64] = "Wrong Brackets               (Module: sDiff)";
    t[65] = "Wrong Power Nr (x^?)         (Module: sDiff)";
    t[66] = "Error in formula             (Module: sDiff)";
    t[67] = "Empty Formula                (Module: sDiff)";
    return t;
}

const MessageTable& messageTable() {
    static const MessageTable table = buildMessageTable();
    return table;
}

struct ErrorState {
    ErrorCode eError = ErrorCode::Stopped;  // 0 at load: nothing has run yet
    std::string errorLog;
    std::string lastErrorInfo;
    bool muted = false;
    LexerReportSource lexerReport = nullptr;  // set by the lexer at load
};

ErrorState& errorState() {
    static ErrorState state;
    return state;
}

void capLog(std::string& log) {
    if (log.size() <= kLogCap) return;
    // Keep the newer half, starting at an entry boundary.
    static const std::string kEntryStart = "\r\nProcedure : '";
    std::size_t cut = log.find(kEntryStart, log.size() - kLogCap / 2);
    if (cut == std::string::npos) cut = log.size() - kLogCap / 2;
    log.erase(0, cut);
}

}  // namespace

ErrorCode eError() {
    return errorState().eError;
}

void setEError(ErrorCode code) {
    errorState().eError = code;
}

void fail(ErrorCode code, std::string_view procedure, std::string_view detail) {
    if (eError() != ErrorCode::None) return;
    failReplacing(code, procedure, detail);
}

void failReplacing(ErrorCode code, std::string_view procedure, std::string_view detail) {
    setEError(code);
    logError(procedure, detail);
}

const std::string& errorText(int code) {
    const std::int64_t entry = std::int64_t{kEvalBase} + code;
    if (entry < 0 || entry >= kTableSize) return messageTable()[kFallbackEntry];
    return messageTable()[static_cast<std::size_t>(entry)];
}

std::string errorDescription(int code, bool withLog) {
    if (code == kCurrentError) code = codeNumber(eError());
    std::string text = errorText(code);
    if (withLog) {
        text += " | ";
        text += errorState().errorLog;
    }
    return text;
}

const std::string& statusText(int code) {
    static const std::array<std::string, 8> texts = {
        "File Open Error (not found?)",  "File Write Error (already in use?)",
        "Operation vancelled by user",   "Invalid Parameter.",
        "Instance Quit OK",              "API Error",
        "Window not Found",              "Child Window Not Found"};
    static const std::string empty;
    if (code > -2 || code < -9) return empty;
    return texts[static_cast<std::size_t>(-code - 2)];
}

void logError(std::string_view proc, std::string_view detail) {
    logErrorAtLine(proc, 0, detail);
}

void logErrorAtLine(std::string_view proc, int line, std::string_view detail) {
    ErrorState& s = errorState();
    if (s.muted) return;
    const LexerReportSource source = errorState().lexerReport;
    const LexerReport lex = source ? source(std::string::npos) : LexerReport{};

    std::string header = "Procedure : '";
    header.append(proc);
    header += " (Line: " + std::to_string(line) +
              ")'\r\nError nr. : " + std::to_string(codeNumber(s.eError)) +
              ", Description: " + errorText(s.eError);

    std::string report = "Extended Error Info:\r\n";
    report += "  expression  : " + clipped(lex.expression, kReportFieldCap) + "\r\n";
    report += "  " + clipped(lex.marker, kReportFieldCap) + "\r\n";
    report += "  element     : " + clipped(lex.element, kReportFieldCap) + "\r\n";
    report += "  type/token  : " + lex.token + "\r\n";
    report += "  remaining   : " + clipped(lex.remaining, kReportFieldCap) + "\r\n";

    s.lastErrorInfo.assign(detail);
    s.lastErrorInfo += "\r\n";
    s.lastErrorInfo += report;

    s.errorLog += "\r\n";
    s.errorLog += header;
    s.errorLog += "\r\n";
    s.errorLog += s.lastErrorInfo;
    s.errorLog += "\r\n";
    capLog(s.errorLog);
}

std::string LogError(std::string_view proc, int line, std::string_view detail, int mode) {
    ErrorState& s = errorState();
    switch (mode) {
        case kLogAppend:
            logErrorAtLine(proc, line, detail);
            return s.errorLog;
        case kLogClear:
            s.errorLog.clear();
            s.lastErrorInfo.clear();
            return {};
        case kLogLastInfo:
            return s.lastErrorInfo;
        default:
            return s.errorLog;
    }
}

bool muteErrorLog(bool muted) {
    const bool previous = errorState().muted;
    errorState().muted = muted;
    return previous;
}

const std::string& errorLog() { return errorState().errorLog; }

const std::string& lastErrorInfo() { return errorState().lastErrorInfo; }

void setLexerReportSource(LexerReportSource source) { errorState().lexerReport = source; }

void resetErrors() {
    const LexerReportSource source = errorState().lexerReport;
    errorState() = ErrorState{};
    errorState().lexerReport = source;
}

}  // namespace zrt
