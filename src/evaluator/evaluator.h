// The evaluator ZeRarove: one formula as text to a number or a matrix. It
// prepares the text (decimal commas, user functions), then drives the lexer
// and the parser, which compute while they parse.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "base/limits.h"

namespace zrt {

// e_eval: 0 for a number, 1 for a matrix (the value is its address), else the
// code left in e_error; the result is written only on success (when given).
int e_eval(std::string_view formula, double* result, int check);

// de_eval: the value, or the error code as a double when e_error is not -1. A
// matrix result is stored as "[mResult]", whose address is the value.
double de_eval(std::string_view formula, int check);

// e_evals: the formula at steps + 1 points from start to end, the variable's
// name replaced by each point's text. Writes steps + 1 values into xs and ys
// and five bounds (0, smallest x, smallest y, largest x, largest y); each may be
// null. -1 when the last point succeeded, else its code; 13 (nothing written)
// for more than kMaxTableSteps steps, for a formula whose points' texts could
// grow beyond kMaxPreparedFormula, and for a table beyond kMaxEvaluatedText.
ErrorCode e_evals(std::string_view formula, double start, std::string_view variable, double end,
                  int steps, double* xs, double* ys, double* bounds);

// peekValue: what a formula is worth, found without leaving a trace: no
// message box, no trace line, no error-log entry, no matrix left in the store
// (the temporaries of earlier evaluations stay too); e_error and the result
// type stay as they were. User functions and variables are used, never changed.
struct PeekedValue {
    ErrorCode error = ErrorCode::None;  // or the code the evaluation failed with
    bool isMatrix = false;
    double number = 0;
    int rows = 0;
    int cols = 0;
    std::vector<double> elements;  // row after row
};
PeekedValue peekValue(std::string_view formula);

// True while an evaluation runs (a formula of a script, a plot, a solver ...).
bool evaluationActive();

// -1 after ReSetZeRarove, else the type of the last result (0 number, 1 matrix).
int GetResultType();

// 1 or -1 becomes the value comparisons give when they hold; returns 0.
int SetBoolSign(int value);
int trueValue();

// The system's reset: variables, functions, matrices, result type, message
// switch and error log.
int ReSetZeRarove();

// Function list check: AmbiguousFunction (also in e_error) when a function's
// name occurs anywhere else in the list, None when none does, e_error
// unchanged (and returned) for an empty list; InvalidArgument (also in
// e_error) for a list too large to search within kMaxEvaluatedText.
ErrorCode CheckFunctions();

// Replaces every occurrence of each user function's name in the formula (any
// case, any substring, in list order) by its body in brackets. False (e_error
// 13) when the expanded formula would grow beyond kMaxPreparedFormula, or the
// search for the names would read more than kMaxEvaluatedText characters.
bool ReplaceFuncts(std::string& formula);

// The work of evaluating `formula` once, in characters: its length once the
// user functions are expanded and an eighth of what the expansion searches
// (a search reads far faster than the parser). Nothing is logged, e_error
// stays. At most kMaxEvaluatedText + 1.
std::uint64_t evaluationCost(std::string_view formula);

// The work of `evaluations` evaluations of `formula`, at most
// kMaxEvaluatedText + 1 (sums of a few never overflow).
std::uint64_t evaluationWork(std::uint64_t evaluations, std::string_view formula);

// False, with e_error 13 and a log entry under `proc`, when `work` is beyond
// kMaxEvaluatedText.
bool withinEvaluationBudget(const char* proc, std::uint64_t work);

// False, with e_error 13 and a log entry under `proc`, when a point's text in
// place of each of the variable's `occurrences` could make the formula longer
// than kMaxPreparedFormula (`longestText`: the most characters it can have).
bool pointTextsFit(const char* proc, std::uint64_t longestText, std::size_t occurrences,
                   std::string_view variable);

// e_eval calls since load (trace lines only).
int runCount();

// What a successful evaluation of a number leaves behind, for a value that a
// prepared formula computed instead: e_error -1, the result type 0 and, for
// e_eval (not de_eval), one more run.
void notePreparedEvaluation(bool counted);
// The same for `count` values of e_eval (nothing when there are none).
void notePreparedEvaluations(std::size_t count);

// A message box lets the host run code, which may evaluate again: these show
// an error message or a trace line and keep the interrupted evaluation's code.
void showEvalErrorKeeping(std::string_view text);
void traceLine(std::string_view text, std::string_view title);

void resetEvaluator();

}  // namespace zrt
