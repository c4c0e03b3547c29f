// Every cap of the library in one place: sizes, depths and counts that input
// controls, each with the reason it has the value it has. Beyond a cap an
// operation fails with an error code and a message, never with a crash or a
// machine out of memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zrt {

// Matrices

// The largest matrix the library makes (2^24 elements, 128 MB of doubles, a
// 4096 x 4096 matrix): a size typed by mistake fails with a clear message
// instead of exhausting memory.
constexpr std::int64_t kMaxMatrixElements = std::int64_t{1} << 24;

// All matrices of the store together, temporaries included, hold at most this
// many elements (1 GB of doubles, eight of the largest matrices): scripts and
// formulas that keep making large matrices end in an error, not in a
// machine out of memory.
constexpr std::int64_t kMaxStoredElements = std::int64_t{1} << 27;

// The most multiply-adds one operation may take, a second or so here: beyond
// it an order or exponent typed by mistake would keep the editor busy for
// hours (the inverse by cofactors of order 4096 takes years). The largest
// orders this leaves: determinant and diagonal form 2344, inverse 1476, linear
// system 2343, a product of two n x n matrices 1625; a power m of order n needs
// (m - 1) n^3 within it. Beyond, the operation returns MatrixStatus::TooMuchWork
// without touching its result and leaves an entry in the error log.
constexpr double kMaxMatrixWork = 4294967296.0;

// The most [mA]^n may multiply: a power beyond it would keep the editor busy
// for minutes (every step is a full matrix product).
constexpr double kMaxMatrixPower = 1000000;

// Error log

// The error log grows by one entry per failure; a script that fails on every
// one of a million lines must not grow it without bound, so the oldest entries
// go once it passes this size. Long formulas are clipped in the report.
constexpr std::size_t kLogCap = 4u << 20;

// Each formula field of an error report shows at most this much.
constexpr std::size_t kReportFieldCap = 2000;

// Trace and records

// The trace text has no natural end in a long session; beyond this size the
// oldest lines go.
constexpr std::size_t kTraceCap = 16u << 20;

// Trace lines show at most this much of a formula: a trace of a formula of
// millions of characters must not repeat all of it for every token.
constexpr std::size_t kTraceFieldCap = 1000;

// The differentiator's trace lines show at most this much of a result.
constexpr std::size_t kTraceTextCap = 4000;

// The raised messages kept for the error log entry of one differentiation.
constexpr std::size_t kRaisedCap = 1000;

// What the headless platform shows is recorded for tests to read. A long run
// (the command line tool, a host that evaluates for days, a fuzzer) keeps only
// the newest records of each kind: together at most kMaxRecordedText
// characters of text (a box may carry a whole formula).
constexpr std::size_t kMaxRecordedText = std::size_t{16} << 20;

// Formulas

// How deep operands may nest (brackets, function and statistics calls, signs
// and "not"): beyond it the evaluation ends with error 3 instead of
// exhausting the stack of the editor's thread.
constexpr int kMaxNesting = 1000;

// The longest formula the evaluator prepares, user functions expanded.
constexpr std::size_t kMaxPreparedFormula = std::size_t{64} << 20;

// The most characters of formula text one call may have the evaluator read
// over all its points (a table, an integral, a plot, a solver's walk and
// steps), and the most one expansion of user functions may search: a minute
// or two of work, far beyond any table or integral anybody waits for.
constexpr std::uint64_t kMaxEvaluatedText = std::uint64_t{1} << 32;

// The most steps of a table (e_evals): steps + 1 values are written.
constexpr int kMaxTableSteps = 10000000;

// No point's text is longer: brackets around a sign, the 309 integer digits
// of the largest double, a point and ten decimals.
constexpr std::size_t kMaxPointText = 323;

// Derivatives

// Nodes of both trees together (the formula's and its derivative's).
constexpr std::int32_t kMaxNodes = 5000;

// Brackets nested deeper than this are not a formula anybody writes; the
// limit only keeps the reader's own frame list from growing without bound.
constexpr std::size_t kMaxOpenBrackets = 1u << 20;

// Names and numbers copied into one derivative, in bytes: more than this only
// comes from long names copied many times, never from a formula that fits.
constexpr std::size_t kMaxCopiedText = 64u << 20;

// Matrix texts

// A matrix text shows at most this many elements: a text of more would only
// bury the screen and the memory (a million elements are tens of MB of text).
constexpr std::int64_t kMaxShownElements = std::int64_t{1} << 20;

// Values show at most this many decimals: a double has no more to show.
constexpr int kMaxPrintedDecimals = 30;

// The separators of one matrix text together have at most this many
// characters: a separator of a few characters between a million elements
// stays far below it, a pasted page between them does not.
constexpr std::int64_t kMaxSeparatorText = std::int64_t{1} << 26;

// Integration, solvers, plots

// The most subintervals an integral may have: beyond it a number typed by
// mistake would keep the editor busy for minutes.
constexpr int kMaxSubintervals = 10000000;

// The most steps of a start-value search or of sSolve: beyond them a count
// typed by mistake would keep the editor busy for minutes.
constexpr int kMaxSolverSteps = 1000000;

// A plot has at most this many steps (steps + 1 points): enough for any window,
// small enough that a typo such as 10000000 does not exhaust memory.
constexpr int kMaxPlotSteps = 1000000;

// Plot numbers run from 1 to this; every plot window holds system resources.
constexpr int kMaxPlotNumber = 500;

// The point tables of all plots of a run together hold at most this many
// points (sixteen plots of the most steps, 17 bytes a point): 500 plots of a
// million steps each would ask for 8 GB.
constexpr std::int64_t kMaxPlotTablePoints = std::int64_t{1} << 24;

// Largest picture side the library makes; larger requests are refused rather
// than turned into a huge allocation.
constexpr int kMaxCanvasSide = 16384;

// Scripts, files and the editor

// The largest file read as text; a larger one is refused unread.
constexpr std::int64_t kMaxTextFile = std::int64_t{1} << 28;

// The longest output of one script run; a result beyond it fails its line with 13.
constexpr std::size_t kMaxScriptOutput = std::size_t{1} << 27;

// The characters the search for the expression at the caret may go through.
constexpr std::uint64_t kMaxExpressionSearch = std::uint64_t{1} << 28;

// The most the plug-in reads in one go. A length answer beyond it (or below
// zero) comes from a broken host: nothing is read then, since the message
// would write the whole text whatever buffer the plug-in passed.
constexpr std::intptr_t kMaxRead = std::intptr_t(1) << 30;

// Lines longer than this are left alone by "=" then Enter.
constexpr std::size_t kMaxEqualLineChars = 4000;

// Longer selections, or more than one line, show nothing in the status bar.
constexpr std::size_t kMaxStatusSelectionChars = 200;

// The desktop clipboard text the command line tool takes is no larger than a
// script file may be.
constexpr std::size_t kMaxClipboardText = std::size_t{1} << 28;

// A decimals value beyond this would only make every result absurdly long.
constexpr int kMaxDecimals = 100;

}  // namespace zrt
