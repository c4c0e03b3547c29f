#include "memory/matrixstore.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "base/errors.h"
#include "base/numtext.h"
#include "memory/elemorder.h"
#include "log/trace.h"

namespace zrt {

namespace {

struct MatrixStoreState {
    std::vector<std::unique_ptr<MatrixRecord>> list;  // creation order
    std::unordered_map<std::string, MatrixRecord*> byName;
    std::unordered_map<std::intptr_t, MatrixRecord*> byAddress;
    std::int64_t elements = 0;  // of all records together
    std::size_t internals = 0;  // records that are temporaries
    bool evaluationMark = false;
    std::uint64_t nextSerial = 0;
    std::uint64_t currentEvaluation = 0;
    std::uint64_t evaluationCount = 0;
};

MatrixStoreState& storeState() {
    static MatrixStoreState state;
    return state;
}

std::string storedName(std::string_view name) { return lowerAscii(trimBlanks(name)); }

void eraseRecords(const std::vector<MatrixRecord*>& doomed) {
    if (doomed.empty()) return;
    MatrixStoreState& s = storeState();
    const std::unordered_set<const MatrixRecord*> gone(doomed.begin(), doomed.end());
    for (const MatrixRecord* r : gone) {
        s.elements -= static_cast<std::int64_t>(r->elements.size());
        if (r->internal) --s.internals;
        s.byName.erase(r->name);
        s.byAddress.erase(r->address());
    }
    // The records that go are mostly the newest (temporaries): the list is
    // searched from its end only as far as the oldest of them, so a store of
    // many matrices costs an evaluation nothing.
    auto first = s.list.end();
    std::size_t seen = 0;
    for (auto it = s.list.end(); seen < gone.size() && it != s.list.begin();) {
        --it;
        if (gone.count(it->get()) != 0) {
            ++seen;
            first = it;
        }
    }
    s.list.erase(std::remove_if(first, s.list.end(),
                                [&](const std::unique_ptr<MatrixRecord>& r) {
                                    return gone.count(r.get()) != 0;
                                }),
                 s.list.end());
}

// A size text from a definition: the integer part, or -1 when it is none.
long long sizeField(std::string_view text) {
    const double v = DecValue(text);
    if (!(v >= 0 && v < 2147483648.0)) return -1;
    return static_cast<long long>(v);
}

void traceClearing(const MatrixRecord& r, std::string_view what) {
    if (!tracing()) return;
    DebugAdd(r.name + std::string(what), "ClearMatrixList");
}

}  // namespace

std::size_t checkedMatrixSize(int& rows, int& cols, std::string_view proc) {
    if (rows < 0 || cols < 0) {
        failReplacing(ErrorCode::InvalidArgument, proc,
                      "rows = " + std::to_string(rows) + ", cols = " + std::to_string(cols) +
                          ": a matrix cannot have a negative size");
        return 0;
    }
    if (rows == 0) rows = 1;
    if (cols == 0) cols = 1;
    const std::int64_t n = std::int64_t{rows} * cols;
    if (n > kMaxMatrixElements) {
        failReplacing(ErrorCode::InvalidArgument, proc,
                      "rows = " + std::to_string(rows) + ", cols = " + std::to_string(cols) + ": " +
                          std::to_string(n) + " elements, more than the " +
                          std::to_string(kMaxMatrixElements) + " a matrix may have");
        return 0;
    }
    return static_cast<std::size_t>(n);
}

std::intptr_t storeMatrix(std::string_view name, std::vector<double>&& elements, int rows, int cols,
                          bool wantAddress) {
    const std::size_t n = checkedMatrixSize(rows, cols, "SetMatrix");
    if (n == 0) return 0;
    elements.resize(n);  // a block always holds rows x cols elements
    MatrixStoreState& s = storeState();
    std::string key = storedName(name);
    const auto found = s.byName.find(key);
    const std::int64_t replaced =
        found == s.byName.end() ? 0 : static_cast<std::int64_t>(found->second->elements.size());
    const std::int64_t total = s.elements - replaced + static_cast<std::int64_t>(n);
    if (total > kMaxStoredElements) {
        failReplacing(ErrorCode::InvalidArgument, "SetMatrix",
                      "MatrixName = " + key + ": with its " + std::to_string(n) +
                          " elements the matrices would hold " + std::to_string(total) +
                          ", more than the " + std::to_string(kMaxStoredElements) +
                          " all matrices together may have");
        return 0;
    }
    MatrixRecord* r;
    if (found == s.byName.end()) {
        auto record = std::make_unique<MatrixRecord>();
        r = record.get();
        r->name = std::move(key);
        r->elements = std::move(elements);
        r->internal = s.evaluationMark;
        r->rows = rows;
        r->cols = cols;
        r->index = static_cast<int>(s.list.size());
        r->vector = rows == 1 || cols == 1;
        r->serial = s.nextSerial++;
        r->evaluation = s.evaluationMark ? s.currentEvaluation : 0;
        s.list.push_back(std::move(record));
        if (r->internal) ++s.internals;
        s.byName.emplace(r->name, r);
        s.byAddress.emplace(r->address(), r);
    } else {
        r = found->second;
        if (r->rows == rows && r->cols == cols) {
            // Same size: the record keeps its block, so its address stays valid.
            std::copy(elements.begin(), elements.end(), r->elements.begin());
        } else {
            s.byAddress.erase(r->address());
            r->elements = std::move(elements);
            r->rows = rows;
            r->cols = cols;
            r->vector = rows == 1 || cols == 1;
            s.byAddress.emplace(r->address(), r);
        }
    }
    s.elements = total;
    setEError(ErrorCode::None);
    return wantAddress ? r->address() : r->index;
}

std::intptr_t SetMatrix(std::string_view name, const double* hostArray, int rows, int cols,
                        bool wantAddress) {
    if (!hostArray) {
        failReplacing(ErrorCode::InvalidArgument, "SetMatrix",
                      "MatrixName = " + std::string(name) + ": no element array given");
        return 0;
    }
    const std::size_t n = checkedMatrixSize(rows, cols, "SetMatrix");
    if (n == 0) return 0;
    // The host keeps its array: the store works on a copy in row order.
    std::vector<double> block(n);
    aCopyArray(hostArray, block.data(), rows, cols);
    return storeMatrix(name, std::move(block), rows, cols, wantAddress);
}

std::intptr_t SetStrMatrix(std::string_view definition, bool wantAddress, ElementReader evaluate) {
    auto refuse = [](ErrorCode code, const std::string& detail) -> std::intptr_t {
        failReplacing(code, "SetStrMatrix", detail);
        showEvalError("Procedure: SetStrMatrix\r\n" + detail + "\r\n\r\nDebug:\r\n" + errorLog());
        return codeNumber(code);
    };
    if (definition.empty())
        return refuse(ErrorCode::InvalidArgument, "Function Param = " + std::string(definition));

    std::vector<std::string_view> fields;
    std::size_t p = 0;
    while (p < definition.size()) {
        std::size_t e = definition.find(';', p);
        if (e == std::string_view::npos) e = definition.size();
        fields.push_back(trimBlanks(definition.substr(p, e - p)));
        p = e + 1;
    }
    auto field = [&](std::size_t i) { return i < fields.size() ? fields[i] : std::string_view(); };

    const std::string name(field(0));
    const long long rowsField = sizeField(field(1));
    const long long colsField = sizeField(field(2));
    if (name.empty() || rowsField < 0 || colsField < 0 || (rowsField == 0 && colsField == 0)) {
        return refuse(ErrorCode::WrongStringMatrix, "MatrixName = " + name +
                                                        "\r\nrows = " + std::string(field(1)) +
                                                        ", cols = " + std::string(field(2)));
    }
    const long long rows = rowsField == 0 ? 1 : rowsField;
    const long long cols = colsField == 0 ? 1 : colsField;
    const long long wanted = rows * cols;

    // Count the elements the text holds before allocating anything for them.
    long long present = 0;
    while (present < wanted && !field(3 + static_cast<std::size_t>(present)).empty()) ++present;
    if (present < wanted) {
        return refuse(ErrorCode::TooFewElements,
                      "Should be: " + std::to_string(wanted) + ", are: " + std::to_string(present) +
                          "\r\nMatrixName = " + name +
                          "\r\nrow = " + std::to_string(present / cols + 1) +
                          ", col = " + std::to_string(present % cols + 1) + "\r\nvalue = '" +
                          std::string(field(3 + static_cast<std::size_t>(present))) + "'");
    }
    int r = static_cast<int>(rows), c = static_cast<int>(cols);
    if (checkedMatrixSize(r, c, "SetStrMatrix") == 0) {
        showEvalError("Procedure: SetStrMatrix\r\nMatrix too large\r\n\r\nDebug:\r\n" + errorLog());
        return codeNumber(eError());
    }

    // The text lists the elements row after row, which is the store's own
    // order: they are taken as they are, whatever order the host uses.
    std::vector<double> block(static_cast<std::size_t>(wanted));
    for (long long k = 0; k < wanted; ++k) {
        const std::string_view text = field(3 + static_cast<std::size_t>(k));
        if (!evaluate) {
            block[static_cast<std::size_t>(k)] = DecValue(text);
            continue;
        }
        double v = 0;
        if (ErrorCode error = ErrorCode::Stopped; !evaluate(text, &v, &error)) {
            return refuse(
                error,
                "MatrixName = " + name + "\r\nrow = " + std::to_string(k / cols + 1) + ", col = " +
                    std::to_string(k % cols + 1) + "\r\nvalue = '" + std::string(text) + "'" +
                    (error == ErrorCode::WrongStringMatrix ? ": an element must be a number" : ""));
        }
        block[static_cast<std::size_t>(k)] = v;
    }
    return storeMatrix(name, std::move(block), r, c, wantAddress);
}

MatrixRecord* findMatrixByName(std::string_view name) {
    MatrixStoreState& s = storeState();
    const auto it = s.byName.find(std::string(name));
    return it == s.byName.end() ? nullptr : it->second;
}

MatrixRecord* findMatrixByAddress(std::intptr_t address) {
    MatrixStoreState& s = storeState();
    const auto it = s.byAddress.find(address);
    return it == s.byAddress.end() ? nullptr : it->second;
}

std::intptr_t FindMatrix(std::string_view key, int mode, int* rows, int* cols, bool logMissing) {
    setEError(ErrorCode::Stopped);
    const std::string k = storedName(key);
    MatrixRecord* found = nullptr;
    if (mode & kByName) found = findMatrixByName(k);
    if (!found && (mode & kByAddressText)) {
        // The key must be the address exactly as written in decimal.
        std::intptr_t address = 0;
        const auto res = std::from_chars(k.data(), k.data() + k.size(), address);
        if (res.ec == std::errc() && res.ptr == k.data() + k.size() && std::to_string(address) == k)
            found = findMatrixByAddress(address);
    }
    if (!found) {
        setEError(ErrorCode::MatrixNotFound);
        if (logMissing) logError("FindMatrix", "MatrName =" + k);
        return 0;
    }
    if (rows) {
        *rows = found->rows;
        if (cols) *cols = found->cols;
    }
    setEError(ErrorCode::None);
    return (mode & kFindIndex) && !(mode & kFindAddress) ? found->index : found->address();
}

int GetMatrixByLong(std::intptr_t source, double* destination, int rows, int cols) {
    // The matrix library's codes, stored in e_error as they are.
    auto refuse = [](MatrixStatus status, const std::string& detail) {
        failReplacing(errorCodeOf(status), "GetMatrixByLong", detail);
        return codeNumber(status);
    };
    if (source == 0 || destination == nullptr) {
        return refuse(MatrixStatus::NotDefined,
                      "SrcMemID = " + std::to_string(source) + ", *aDest = " +
                          std::to_string(reinterpret_cast<std::intptr_t>(destination)));
    }
    if (rows <= 0 || cols <= 0) {
        return refuse(MatrixStatus::OrdersNotValid,
                      "rows = " + std::to_string(rows) + ", cols = " + std::to_string(cols));
    }
    const MatrixRecord* r = findMatrixByAddress(source);
    if (!r) {
        return refuse(MatrixStatus::NotDefined, "SrcMemID = " + std::to_string(source) +
                                                    ": no stored matrix has this address");
    }
    const std::int64_t asked = std::int64_t{rows} * cols;
    if (asked > static_cast<std::int64_t>(r->elements.size())) {
        return refuse(MatrixStatus::OrdersNotValid,
                      "rows = " + std::to_string(rows) + ", cols = " + std::to_string(cols) +
                          ": the matrix " + r->name + " has " + std::to_string(r->rows) + " x " +
                          std::to_string(r->cols) + " elements");
    }
    copyToHost(r->elements.data(), destination, rows, cols);
    setEError(ErrorCode::None);
    return -1;
}

std::vector<std::string> matrixNames() {
    std::vector<std::string> names;
    for (const auto& r : storeState().list)
        if (!r->internal) names.push_back(r->name);
    return names;
}

const std::vector<std::unique_ptr<MatrixRecord>>& matrixRecords() { return storeState().list; }

void eraseMatrix(std::intptr_t address) {
    if (MatrixRecord* r = findMatrixByAddress(address)) eraseRecords({r});
}

void ClearMatrixList(std::intptr_t keep) {
    MatrixStoreState& s = storeState();
    std::vector<MatrixRecord*> doomed;
    if (keep != 0 && !tracing()) {
        // Every evaluation ends here: only temporaries go, and they are
        // mostly the newest records, so the search for them starts at the end
        // and stops once all of them are found.
        std::size_t seen = 0;
        for (auto it = s.list.rbegin(); it != s.list.rend() && seen < s.internals; ++it) {
            MatrixRecord& r = **it;
            if (!r.internal) continue;
            ++seen;
            if (r.address() != keep) doomed.push_back(&r);
        }
        eraseRecords(doomed);
        setEError(ErrorCode::None);
        return;
    }
    for (const auto& rp : s.list) {
        MatrixRecord& r = *rp;
        if (keep == 0) {
            traceClearing(r, "   deleted");
            doomed.push_back(&r);
        } else if (r.internal && r.address() != keep) {
            traceClearing(r, "   internal - deleted => deleted");
            doomed.push_back(&r);
        } else if (tracing()) {
            traceClearing(r, " (" + std::to_string(r.address()) + ")   kept => kept");
        }
    }
    if (keep == 0) {
        s.list.clear();
        s.byName.clear();
        s.byAddress.clear();
        s.elements = 0;
        s.internals = 0;
    } else {
        eraseRecords(doomed);
    }
    setEError(ErrorCode::None);
}

std::size_t matrixCount() { return storeState().list.size(); }

std::int64_t storedElements() { return storeState().elements; }

MatrixMark beginMatrixEvaluation() {
    MatrixStoreState& s = storeState();
    MatrixMark mark{s.evaluationMark, s.nextSerial, ++s.evaluationCount, s.currentEvaluation};
    s.evaluationMark = true;
    s.currentEvaluation = mark.evaluation;
    return mark;
}

void endMatrixEvaluation(const MatrixMark& mark) {
    MatrixStoreState& s = storeState();
    s.evaluationMark = mark.previous;
    s.currentEvaluation = mark.outerEvaluation;
}

void dropTemporariesSince(const MatrixMark& mark, std::intptr_t keep) {
    MatrixStoreState& s = storeState();
    if (s.nextSerial == mark.firstSerial) return;  // nothing was created
    std::vector<MatrixRecord*> doomed;
    // Records of this evaluation are the newest: they sit at the end of the list.
    for (auto it = s.list.rbegin(); it != s.list.rend() && (*it)->serial >= mark.firstSerial; ++it) {
        MatrixRecord& r = **it;
        if (r.internal && r.evaluation == mark.evaluation && r.address() != keep) doomed.push_back(&r);
    }
    eraseRecords(doomed);
}

void dropTemporary(std::intptr_t address) {
    const MatrixStoreState& s = storeState();
    MatrixRecord* r = findMatrixByAddress(address);
    if (r && s.evaluationMark && r->internal && r->evaluation == s.currentEvaluation)
        eraseRecords({r});
}

void discardTemporary(std::intptr_t address) {
    MatrixRecord* r = findMatrixByAddress(address);
    if (r && r->internal) eraseRecords({r});
}

std::intptr_t renameMatrix(std::intptr_t address, std::string_view name) {
    MatrixRecord* r = findMatrixByAddress(address);
    if (!r) return 0;
    std::vector<double> block = std::move(r->elements);
    const int rows = r->rows, cols = r->cols;
    MatrixStoreState& s = storeState();
    s.elements -= static_cast<std::int64_t>(block.size());
    if (r->internal) --s.internals;
    s.byAddress.erase(address);
    s.byName.erase(r->name);
    s.list.erase(std::find_if(s.list.begin(), s.list.end(),
                              [&](const std::unique_ptr<MatrixRecord>& p) { return p.get() == r; }));
    return storeMatrix(name, std::move(block), rows, cols, true);
}

void resetMatrixStore() { storeState() = MatrixStoreState{}; }

}  // namespace zrt
