// The matrix store: every named matrix of scripts and hosts and every
// temporary matrix of an evaluation, in creation order. Matrices are found by
// name or by the address of their element block, which hosts receive as a
// plain integer. The store owns every block it holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "base/limits.h"

namespace zrt {

struct MatrixRecord {
    std::string name;              // trimmed, lower-cased, brackets kept
    std::vector<double> elements;  // rows x cols, row after row
    bool internal = false;         // created during an evaluation (a temporary)
    int rows = 1;
    int cols = 1;
    int index = 0;              // position in the list when it was created
    bool vector = false;        // rows or cols is 1
    std::uint64_t serial = 0;      // creation count
    std::uint64_t evaluation = 0;  // the evaluation that made a temporary (0: none)
    std::intptr_t address() const { return reinterpret_cast<std::intptr_t>(elements.data()); }
};

// FindMatrix mode bits.
enum : int { kFindAddress = 1, kFindIndex = 2, kByAddressText = 8, kByName = 32 };

// Checks a size given by a caller: 0 counts as 1; a negative size or more than
// kMaxMatrixElements elements sets e_error 13 with a log entry under `proc`
// and gives 0. Otherwise gives rows x cols.
std::size_t checkedMatrixSize(int& rows, int& cols, std::string_view proc);

// SetMatrix for a host: its array (in the host's element order) is copied into
// a block of the store. Gives the index or the address of the matrix.
std::intptr_t SetMatrix(std::string_view name, const double* hostArray, int rows, int cols,
                        bool wantAddress);

// SetMatrix for the library's own blocks (row order): the store takes the
// block over. A matrix of that name and size keeps its block and address and
// receives the elements; one of another size gets the new block. 0 (e_error
// 13) when the store would hold more than kMaxStoredElements elements.
std::intptr_t storeMatrix(std::string_view name, std::vector<double>&& elements, int rows, int cols,
                          bool wantAddress);

// Reads one element text of SetStrMatrix into *value; false with the error
// code to report (11: the text is no number) when it cannot. The store
// evaluates nothing itself: the evaluator offers a reader that does.
using ElementReader = bool (*)(std::string_view text, double* value, ErrorCode* error);

// SetStrMatrix: "name;rows;cols;e11;e12;...". Gives what SetMatrix gives, or
// the error code (11, 12, 13, or an element's evaluation error). Elements are
// plain decimals unless a reader is given.
std::intptr_t SetStrMatrix(std::string_view definition, bool wantAddress,
                           ElementReader evaluate = nullptr);

// FindMatrix: the key is trimmed and lower-cased; mode bit 32 compares names,
// bit 8 the decimal address; bit 2 asks for the index, else the address.
// Missing: 0 and e_error 14 (with logMissing, a log entry "MatrName =key").
std::intptr_t FindMatrix(std::string_view key, int mode, int* rows, int* cols, bool logMissing);

// Direct look-ups (null when missing); the name is compared as stored.
MatrixRecord* findMatrixByName(std::string_view name);
MatrixRecord* findMatrixByAddress(std::intptr_t address);

// GetMatrixByLong: the stored matrix at `source` into a host array of rows x
// cols (row order -> host order). -1, or 15 (null pointer, unknown address),
// or 5 (bad size, or more elements asked than stored).
int GetMatrixByLong(std::intptr_t source, double* destination, int rows, int cols);

// Names of the stored matrices that are not temporaries, in creation order.
std::vector<std::string> matrixNames();
// Every record in creation order (the listing walks them).
const std::vector<std::unique_ptr<MatrixRecord>>& matrixRecords();

// Deletes the record at `address`, whatever it is; nothing when there is none.
void eraseMatrix(std::intptr_t address);

// keep = 0: every record goes. Otherwise the internal records go, except the
// one at address `keep`. e_error becomes -1.
void ClearMatrixList(std::intptr_t keep);

std::size_t matrixCount();
// Elements of all stored matrices together.
std::int64_t storedElements();

// The evaluation mark: matrices created while it is set are internal.
struct MatrixMark {
    bool previous = false;
    std::uint64_t firstSerial = 0;
    std::uint64_t evaluation = 0;          // this evaluation
    std::uint64_t outerEvaluation = 0;     // the one it interrupted, if any
};
MatrixMark beginMatrixEvaluation();
void endMatrixEvaluation(const MatrixMark& mark);

// Deletes the internal records this evaluation created, except `keep` (an
// evaluation nested in it keeps its result).
void dropTemporariesSince(const MatrixMark& mark, std::intptr_t keep);

// Deletes the record at `address` when it is a temporary of the evaluation
// under way: an operand that an operation has used up. Anything else stays.
void dropTemporary(std::intptr_t address);

// Deletes the record at `address` when it is internal (a temporary of any
// evaluation); named matrices stay.
void discardTemporary(std::intptr_t address);

// Stores the elements of the matrix at `address` under `name` (as storeMatrix
// does) and deletes the record at `address`. Gives the new address, or 0.
std::intptr_t renameMatrix(std::intptr_t address, std::string_view name);

void resetMatrixStore();

}  // namespace zrt
