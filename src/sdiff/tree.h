// The differentiator's expression tree: the node table shared by the formula
// and its derivative, and the reader that turns a formula text into nodes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "base/limits.h"

namespace zrt {

// Token kinds and node operator codes share one numbering.
enum DiffOp : std::int32_t {
    kOpEnd = 0,    // end of text (token only)
    kOpOpen = 1,   // "(" (token only)
    kOpClose = 2,  // ")" (token only)
    kOpAdd = 3,
    kOpSub = 4,
    kOpMul = 5,
    kOpDiv = 6,
    kOpNumber = 7,  // number leaf, `con` holds the literal
    kOpName = 8,    // variable or constant leaf, `con` holds the name
    kOpNeg = 9,     // negation, operand in `l`
    kOpCos = 10,
    kOpSin = 11,
    kOpTan = 12,
    kOpCot = 13,
    kOpAbs = 14,
    kOpSgn = 15,
    kOpSqrt = 16,
    kOpLn = 17,
    kOpExp = 18,
    kOpArcSin = 19,
    kOpArcCos = 20,
    kOpArcTan = 21,
    kOpArcCot = 22,
    kOpSh = 23,
    kOpCh = 24,
    kOpTh = 25,
    kOpCth = 26,
    kOpHeaviside = 27,
    kOpLog10 = 28,
    kOpFirstFunction = 10,
    kOpLastFunction = 30,  // 29 and 30 are never produced but count as functions
    kOpPow = 31,           // base in `l`, exponent in `r`
    kOpBadChar = 32,       // a character no token starts with (token only)
};

inline bool isFunctionOp(std::int32_t op) {
    return op >= kOpFirstFunction && op <= kOpLastFunction;
}

// Operator names shown in trace lines, indexed by code.
extern const std::array<const char*, 32> opNames;
inline const char* opName(std::int32_t code) {
    return code >= 0 && code < 32 ? opNames[static_cast<std::size_t>(code)] : "";
}

// Error codes the differentiator stores in e_error.
enum DiffError : int {
    kDiffTooLong = 1,
    kDiffWrongNumber = 2,
    kDiffWrongFirstOperand = 3,
    kDiffWrongBrackets = 4,
    kDiffWrongPower = 5,
    kDiffErrorInFormula = 6,
    kDiffEmptyFormula = 7,
    kDiffDivisionByZero = 8,
};

// The differentiator's code as e_error holds it: the same number, read in the
// eval block of the message table.
constexpr ErrorCode diffErrorCode(int code) {
    return errorCodeOf(code);
}

struct TreeNode {
    std::int32_t opCode = 0;
    std::string con;  // number literal, name, or function name as typed; empty for operators
    std::int32_t l = 0;
    std::int32_t r = 0;
};

// The differentiator's state: one record for the whole library.
struct DiffState {
    std::int32_t Index = 0;  // last node handed out; 0 = none yet
    std::string formula;
    std::string dVar;
    std::uint8_t diffErr = 0;  // 0 none, 1 an error was raised, 7 empty formula
    std::int32_t bc = 0;       // bracket depth of the reader
    std::int32_t prevTok = 0;
    std::int32_t lastTok = 0;
    std::size_t pos = 1;  // 1-based read position
    std::int32_t rootExpr = 0;
    std::int32_t rootDiff = 0;
    std::vector<TreeNode> t = std::vector<TreeNode>(kMaxNodes + 1);

    // Reading the derivative text: an exponent may then be a bracketed
    // expression, which is how the rule for a name exponent writes n-1.
    bool derivativeText = false;
    // The table ran full during this differentiation; no more nodes.
    bool tableFull = false;
    // Nodes from here to Index form one tree built children first (every node
    // after its children, all reachable from the last): the simplifier can
    // walk it in index order. 0 when the last tree was read from text.
    std::int32_t builtFrom = 0;
    // Messages raised during this differentiation, for the error log.
    std::string raised;

    // Trace (see sdiff.h).
    std::uint8_t traceMode = 0;
    std::string traceFile;
    std::int32_t traceCount = 0;
    std::string tracePath;
    std::string traceIndent;
    std::string traceLast;

    std::string lastResult;  // result text of the last differentiation
};

DiffState& diffState();
// Load-time state: empty node table, trace off.
void resetDiffState();

// Raising an error: sets diffErr and writes the "ERR, (s)" trace line; the
// first error raised since diffErr was last cleared stores its code (when not
// 0) in e_error.
void diffRaise(std::string_view message, int code);

// NewNode: the next free node with no children, or 0 (and "Too long
// formula") once the table is full.
std::int32_t NewNode();

// NewNode for the hot paths that already hold the state.
inline std::int32_t NewNode(DiffState& s) {
    if (s.Index >= kMaxNodes || s.tableFull) return NewNode();
    TreeNode& n = s.t[static_cast<std::size_t>(++s.Index)];
    n.l = 0;
    n.r = 0;
    return s.Index;
}

// Prepares the reader for a new text (the caller keeps Index).
void resetReader();

// GetTreeExpr: reads a whole text into nodes and returns the root; stops at a
// closing bracket that has no opening one (leaving bc below 0). The product
// and factor levels (GetOp, GetSingleOp) run inside it without using the
// machine stack, so bracket depth costs heap, not stack.
std::int32_t GetTreeExpr(std::string_view text);

// GetNumber: the number literal starting at pos (0-based index `start`);
// returns its length and raises "Wrong number." when a point or exponent mark
// lacks its digit.
std::size_t GetNumber(std::string_view text, std::size_t start);

// The value of a number leaf's text (also the "+Infinity", "-Infinity" and
// "NaN" texts folded values may have).
double leafValue(const std::string& con);

// A value as the differentiator writes numbers: ten decimals, trailing zeros
// and point removed.
std::string diffNumberText(double value);

}  // namespace zrt
