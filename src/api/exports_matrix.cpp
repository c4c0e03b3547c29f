// Exports of the matrix library and the matrix display.
//
// Host arrays arrive in the host's element order: each export checks its
// arguments before touching memory, brings the matrices into row order
// (aCopyArray), calls the library in numerics/matrix.h and writes results back
// in the host's order (copyToHost). Element-wise operations, the trace, the
// square transpose and the unit and zero tests give the same result in either
// order and work on the host's memory directly.
//
// The matrix status records what each operation stores: aDet, aDetN, aInv,
// aMultEx, aMultSq, aPow, aDiv, aSwap and a successful aSwapRC store their
// result; aSist, aMatrIsSing and aMatrAreOrtog store the -1 of the determinant
// or product they rest on (a singular system is only returned), aMatrIsOrtog
// the status of its inversion; the other operations leave it alone. Arguments
// that cannot be used (a null array: 15; an order, row or column count below 1,
// or a matrix of more than 2^24 elements: 5; a negative power: 8) are refused by
// every export the same way: nothing is read or written, the code is returned
// (predicates answer false, determinant and trace 0, the display texts are
// empty), stored in the matrix status and in e_error, and an entry goes to the
// error log under the export's name.
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "api/abi.h"
#include "base/errors.h"
#include "memory/elemorder.h"
#include "numerics/matrix.h"
#include "ui/matrixprint.h"
#include "log/trace.h"

using namespace zrt;
using zrt::abi::guard;

namespace {

// An array argument with the dimensions the caller gave for it.
struct Arg {
    const char* name;
    const void* elements;
    int rows;
    int cols;
};

// The aMatr text of a status (the block sits 29 entries below the eval block).
std::string matrText(MatrixStatus status) {
    return matrixStatusText(status);
}

MatrixStatus refuse(const char* proc, MatrixStatus status, const std::string& detail) {
    setMatrStatus(status);
    setEError(errorCodeOf(status));
    logErrorAtLine(proc, __LINE__, matrText(status) + "\r\n" + detail + "\r\n");
    return status;
}

// Ok when every argument can be used; otherwise the first failure, refused.
MatrixStatus check(const char* proc, std::initializer_list<Arg> args,
                   std::int64_t maxElements = kMaxMatrixElements) {
    for (const Arg& a : args) {
        MatrixStatus status = checkMatrix(a.elements, a.rows, a.cols);
        if (status == MatrixStatus::Ok && std::int64_t{a.rows} * a.cols > maxElements)
            status = MatrixStatus::OrdersNotValid;
        if (status == MatrixStatus::NotDefined)
            return refuse(proc, status, std::string(a.name) + " = null");
        if (status != MatrixStatus::Ok)
            return refuse(proc, status,
                          std::string(a.name) + ": rows = " + std::to_string(a.rows) +
                              ", cols = " + std::to_string(a.cols));
    }
    return MatrixStatus::Ok;
}

// A square matrix, a vector of n values, a scalar result address.
Arg square(const char* name, const void* a, int n) {
    return {name, a, n, n};
}
Arg vec(const char* name, const void* v, int n) {
    return {name, v, n, 1};
}
Arg scalar(const char* name, const double* p) {
    return {name, p, 1, 1};
}

MatrixStatus stored(MatrixStatus status) {
    setMatrStatus(status);
    return status;
}

// A private row-order copy of a host matrix, and the way back.
std::vector<double> fromHost(const double* a, int rows, int cols) {
    std::vector<double> m(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    zrt::aCopyArray(a, m.data(), rows, cols);
    return m;
}

void toHost(const std::vector<double>& m, double* a, int rows, int cols) {
    zrt::copyToHost(m.data(), a, rows, cols);
}

// A status export: an exception (out of memory) ends it with status 0,
// "exit before completion", also in the matrix status.
template <class F>
int32_t statusExport(const char* name, F&& body) {
    bool completed = false;
    const int32_t status = abi::statusGuard(name, [&] {
        const MatrixStatus s = body();
        completed = true;
        return s;
    });
    if (!completed) setMatrStatus(MatrixStatus::Stopped);
    return status;
}

int32_t predicate(bool value) {
    return value ? -1 : 0;
}

}  // namespace

// ---- Determinant, inverse, systems, diagonal form ----

int32_t ZRT_API aDet(const double* A, int32_t n, double* det) {
    return statusExport("aDet", [&] {
        if (const MatrixStatus s = check("aDet", {square("A", A, n), scalar("det", det)});
            s != MatrixStatus::Ok)
            return s;
        const std::vector<double> m = fromHost(A, n, n);
        return stored(zrt::aDet(m.data(), n, det));
    });
}

double ZRT_API aDetN(const double* A, int32_t n) {
    return guard("aDetN", 0.0, [&] {
        if (check("aDetN", {square("A", A, n)}) != MatrixStatus::Ok) return 0.0;
        const std::vector<double> m = fromHost(A, n, n);
        setMatrStatus(MatrixStatus::Ok);
        return zrt::aDetN(m.data(), n);
    });
}

int32_t ZRT_API aInv(double* A, int32_t n) {
    return statusExport("aInv", [&] {
        if (const MatrixStatus s = check("aInv", {square("A", A, n)}); s != MatrixStatus::Ok)
            return s;
        std::vector<double> m = fromHost(A, n, n);
        const MatrixStatus s = zrt::aInv(m.data(), n);
        if (s == MatrixStatus::Ok) toHost(m, A, n, n);
        return stored(s);
    });
}

int32_t ZRT_API aSist(const double* A, int32_t n, const double* v, double* w) {
    return statusExport("aSist", [&] {
        if (const MatrixStatus s =
                check("aSist", {square("A", A, n), vec("v", v, n), vec("w", w, n)});
            s != MatrixStatus::Ok)
            return s;
        const std::vector<double> m = fromHost(A, n, n);
        // The determinant stores its status; a singular matrix is only returned.
        setMatrStatus(MatrixStatus::Ok);
        return zrt::aSist(m.data(), n, v, w);
    });
}

int32_t ZRT_API aDiag(double* A, int32_t n) {
    return statusExport("aDiag", [&] {
        if (const MatrixStatus s = check("aDiag", {square("A", A, n)}); s != MatrixStatus::Ok)
            return s;
        std::vector<double> m = fromHost(A, n, n);
        zrt::aDiag(m.data(), n);
        toHost(m, A, n, n);
        return MatrixStatus::Ok;
    });
}

// ---- Products and powers ----

int32_t ZRT_API aMultEx(const double* A, int32_t rA, int32_t cA, const double* B, int32_t rB,
                        int32_t cB, double* C) {
    return statusExport("aMultEx", [&] {
        if (const MatrixStatus s = check("aMultEx", {{"A", A, rA, cA}, {"B", B, rB, cB}});
            s != MatrixStatus::Ok)
            return s;
        if (cA != rB) return stored(MatrixStatus::WrongRank);
        if (const MatrixStatus s = check("aMultEx", {{"C", C, rA, cB}}); s != MatrixStatus::Ok)
            return s;
        const std::vector<double> a = fromHost(A, rA, cA), b = fromHost(B, rB, cB);
        std::vector<double> c(static_cast<std::size_t>(rA) * static_cast<std::size_t>(cB));
        zrt::aMultEx(a.data(), rA, cA, b.data(), rB, cB, c.data());
        toHost(c, C, rA, cB);
        return stored(MatrixStatus::Ok);
    });
}

int32_t ZRT_API aMultSq(const double* A, int32_t n, const double* B, double* C) {
    return statusExport("aMultSq", [&] {
        if (const MatrixStatus s =
                check("aMultSq", {square("A", A, n), square("B", B, n), square("C", C, n)});
            s != MatrixStatus::Ok)
            return s;
        const std::vector<double> a = fromHost(A, n, n), b = fromHost(B, n, n);
        std::vector<double> c(a.size());
        zrt::aMultSq(a.data(), n, b.data(), c.data());
        toHost(c, C, n, n);
        return stored(MatrixStatus::Ok);
    });
}

int32_t ZRT_API aMultVect(const double* A, int32_t r, int32_t c, const double* v, double* w) {
    return statusExport("aMultVect", [&] {
        if (const MatrixStatus s =
                check("aMultVect", {{"A", A, r, c}, vec("v", v, c), vec("w", w, r)});
            s != MatrixStatus::Ok)
            return s;
        const std::vector<double> a = fromHost(A, r, c);
        return zrt::aMultVect(a.data(), r, c, v, w);
    });
}

int32_t ZRT_API aMultVectSq(const double* A, int32_t n, const double* v, double* w) {
    return statusExport("aMultVectSq", [&] {
        if (const MatrixStatus s =
                check("aMultVectSq", {square("A", A, n), vec("v", v, n), vec("w", w, n)});
            s != MatrixStatus::Ok)
            return s;
        const std::vector<double> a = fromHost(A, n, n);
        return zrt::aMultVectSq(a.data(), n, v, w);
    });
}

int32_t ZRT_API aPow(const double* A, int32_t n, int32_t m, double* C) {
    return statusExport("aPow", [&] {
        if (const MatrixStatus s = check("aPow", {square("A", A, n), square("C", C, n)});
            s != MatrixStatus::Ok)
            return s;
        if (m < 0)
            return refuse("aPow", MatrixStatus::InvalidParameter,
                          "m = " + std::to_string(m) + ": the power must not be negative");
        const std::vector<double> a = fromHost(A, n, n);
        std::vector<double> c(a.size());
        zrt::aPow(a.data(), n, m, c.data());
        toHost(c, C, n, n);
        return stored(MatrixStatus::Ok);
    });
}

int32_t ZRT_API aDiv(const double* A, int32_t n, const double* B, double* C) {
    return statusExport("aDiv", [&] {
        if (const MatrixStatus s =
                check("aDiv", {square("A", A, n), square("B", B, n), square("C", C, n)});
            s != MatrixStatus::Ok)
            return s;
        const std::vector<double> a = fromHost(A, n, n), b = fromHost(B, n, n);
        std::vector<double> c(a.size());
        const MatrixStatus s = zrt::aDiv(a.data(), n, b.data(), c.data());
        if (s == MatrixStatus::Ok) toHost(c, C, n, n);
        return stored(s);
    });
}

// ---- Element-wise operations (the same in either element order) ----

namespace {

template <class Op>
int32_t elementWise(const char* name, const double* A, int32_t r, int32_t c, const double* B,
                    double* C, Op op) {
    return statusExport(name, [&] {
        if (const MatrixStatus s = check(name, {{"A", A, r, c}, {"B", B, r, c}, {"C", C, r, c}});
            s != MatrixStatus::Ok)
            return s;
        return op(A, r, c, B, C);
    });
}

template <class Op>
int32_t inPlace(const char* name, double* A, int32_t r, int32_t c, Op op) {
    return statusExport(name, [&] {
        if (const MatrixStatus s = check(name, {{"A", A, r, c}}); s != MatrixStatus::Ok) return s;
        return op(A, r, c);
    });
}

}  // namespace

int32_t ZRT_API aSum(const double* A, int32_t r, int32_t c, const double* B, double* C) {
    return elementWise("aSum", A, r, c, B, C, zrt::aSum);
}

int32_t ZRT_API aDiff(const double* A, int32_t r, int32_t c, const double* B, double* C) {
    return elementWise("aDiff", A, r, c, B, C, zrt::aDiff);
}

int32_t ZRT_API aSumMem(const double* A, int32_t r, int32_t c, const double* B, double* C) {
    return elementWise("aSumMem", A, r, c, B, C, zrt::aSum);
}

int32_t ZRT_API aDiffMem(const double* A, int32_t r, int32_t c, const double* B, double* C) {
    return elementWise("aDiffMem", A, r, c, B, C, zrt::aDiff);
}

int32_t ZRT_API aSumScal(double* A, int32_t r, int32_t c, double k) {
    return inPlace("aSumScal", A, r, c,
                   [k](double* a, int rr, int cc) { return zrt::aSumScal(a, rr, cc, k); });
}

int32_t ZRT_API aProdScal(double* A, int32_t r, int32_t c, double k) {
    return inPlace("aProdScal", A, r, c,
                   [k](double* a, int rr, int cc) { return zrt::aProdScal(a, rr, cc, k); });
}

int32_t ZRT_API aOpp(double* A, int32_t r, int32_t c) {
    return inPlace("aOpp", A, r, c, zrt::aOpp);
}

// ---- Trace, transposes, exchanges, modulus ----

int32_t ZRT_API aTrace(const double* A, int32_t n, double* trace) {
    return statusExport("aTrace", [&] {
        if (const MatrixStatus s = check("aTrace", {square("A", A, n), scalar("trace", trace)});
            s != MatrixStatus::Ok)
            return s;
        return zrt::aTrace(A, n, trace);
    });
}

double ZRT_API aTraceN(const double* A, int32_t n) {
    return guard("aTraceN", 0.0, [&] {
        if (check("aTraceN", {square("A", A, n)}) != MatrixStatus::Ok) return 0.0;
        return zrt::aTraceN(A, n);
    });
}

int32_t ZRT_API aTrasp(double* A, int32_t r, int32_t c) {
    return statusExport("aTrasp", [&] {
        if (const MatrixStatus s = check("aTrasp", {{"A", A, r, c}}); s != MatrixStatus::Ok)
            return s;
        std::vector<double> m = fromHost(A, r, c);
        zrt::aTrasp(m.data(), r, c);
        toHost(m, A, c, r);
        return MatrixStatus::Ok;
    });
}

int32_t ZRT_API aTraspEx(const double* A, int32_t r, int32_t c, double* C) {
    return statusExport("aTraspEx", [&] {
        if (const MatrixStatus s = check("aTraspEx", {{"A", A, r, c}, {"C", C, c, r}});
            s != MatrixStatus::Ok)
            return s;
        std::vector<double> m = fromHost(A, r, c);
        zrt::aTrasp(m.data(), r, c);
        toHost(m, C, c, r);
        return MatrixStatus::Ok;
    });
}

int32_t ZRT_API aTraspSq(double* A, int32_t n) {
    return statusExport("aTraspSq", [&] {
        if (const MatrixStatus s = check("aTraspSq", {square("A", A, n)}); s != MatrixStatus::Ok)
            return s;
        return zrt::aTraspSq(A, n);
    });
}

int32_t ZRT_API aSwap(double* A, int32_t r, int32_t c, double* B) {
    return statusExport("aSwap", [&] {
        if (const MatrixStatus s = check("aSwap", {{"A", A, r, c}, {"B", B, r, c}});
            s != MatrixStatus::Ok)
            return s;
        return stored(zrt::aSwap(A, r, c, B));
    });
}

int32_t ZRT_API aSwapRC(double* A, int32_t r, int32_t c, int32_t kind, int32_t i, int32_t j) {
    return statusExport("aSwapRC", [&] {
        if (const MatrixStatus s = check("aSwapRC", {{"A", A, r, c}}); s != MatrixStatus::Ok)
            return s;
        std::vector<double> m = fromHost(A, r, c);
        const MatrixStatus s = zrt::aSwapRC(m.data(), r, c, kind, i, j);
        if (s != MatrixStatus::Ok) return s;  // a wrong row or column number is only returned
        toHost(m, A, r, c);
        return stored(MatrixStatus::Ok);
    });
}

int32_t ZRT_API aMatrMod(const double* v, int32_t n, double* result) {
    return statusExport("aMatrMod", [&] {
        if (const MatrixStatus s = check("aMatrMod", {vec("v", v, n), scalar("result", result)});
            s != MatrixStatus::Ok)
            return s;
        return zrt::aMatrMod(v, n, result);
    });
}

int32_t ZRT_API aVectMod(const double* v, int32_t n, double* result) {
    return statusExport("aVectMod", [&] {
        if (const MatrixStatus s = check("aVectMod", {vec("v", v, n), scalar("result", result)});
            s != MatrixStatus::Ok)
            return s;
        return zrt::aMatrMod(v, n, result);
    });
}

// ---- Predicates: -1 true, 0 false (also for arguments refused) ----

int32_t ZRT_API aMatrIsZero(const double* A, int32_t n) {
    return guard("aMatrIsZero", 0, [&] {
        if (check("aMatrIsZero", {square("A", A, n)}) != MatrixStatus::Ok) return 0;
        return predicate(zrt::aMatrIsZero(A, n));
    });
}

int32_t ZRT_API aMatrIsUnit(const double* A, int32_t n) {
    return guard("aMatrIsUnit", 0, [&] {
        if (check("aMatrIsUnit", {square("A", A, n)}) != MatrixStatus::Ok) return 0;
        return predicate(zrt::aMatrIsUnit(A, n));
    });
}

int32_t ZRT_API aMatrIsSing(const double* A, int32_t n) {
    return guard("aMatrIsSing", 0, [&] {
        if (check("aMatrIsSing", {square("A", A, n)}) != MatrixStatus::Ok) return 0;
        const std::vector<double> m = fromHost(A, n, n);
        setMatrStatus(MatrixStatus::Ok);  // what the determinant stores
        return predicate(zrt::aMatrIsSing(m.data(), n));
    });
}

int32_t ZRT_API aMatrIsOrtog(const double* A, int32_t n) {
    return guard("aMatrIsOrtog", 0, [&] {
        if (check("aMatrIsOrtog", {square("A", A, n)}) != MatrixStatus::Ok) return 0;
        const std::vector<double> m = fromHost(A, n, n);
        MatrixStatus inversion = MatrixStatus::Ok;
        const bool orthogonal = zrt::aMatrIsOrtog(m.data(), n, &inversion);
        setMatrStatus(inversion);
        return predicate(orthogonal);
    });
}

int32_t ZRT_API aMatrAreOrtog(const double* A, int32_t n, const double* B) {
    return guard("aMatrAreOrtog", 0, [&] {
        if (check("aMatrAreOrtog", {square("A", A, n), square("B", B, n)}) != MatrixStatus::Ok)
            return 0;
        const std::vector<double> a = fromHost(A, n, n), b = fromHost(B, n, n);
        setMatrStatus(MatrixStatus::Ok);  // what the product stores
        return predicate(zrt::aMatrAreOrtog(a.data(), n, b.data()));
    });
}

int32_t ZRT_API aMatrAreEquals(const double* A, int32_t rA, int32_t cA, const double* B, int32_t rB,
                               int32_t cB) {
    return guard("aMatrAreEquals", 0, [&] {
        if (check("aMatrAreEquals", {{"A", A, rA, cA}, {"B", B, rB, cB}}) != MatrixStatus::Ok)
            return 0;
        return predicate(zrt::aMatrAreEquals(A, rA, cA, B, rB, cB));
    });
}

int32_t ZRT_API aCombine(void) {
    return 0;
}
int32_t ZRT_API aInsert(void) {
    return 0;
}
int32_t ZRT_API aSub(void) {
    return 0;
}

// ---- Matrix display ----

namespace {

// A matrix text beyond kMaxShownElements elements is refused like any other
// impossible order.
constexpr int32_t kTextDoesNotFit = 10;

std::string separatorDetail(const std::string& separator, int32_t r, int32_t c) {
    return "separator of " + std::to_string(separator.size()) + " characters between " +
           std::to_string(std::int64_t{r} * c) + " elements: more than " +
           std::to_string(kMaxSeparatorText) + " characters of separators";
}

// The shown matrix in row order; the trace mode is 1 while the box is up, and
// comes back whatever happens.
std::string showMatrix(const char* proc, const double* A, int32_t r, int32_t c) {
    if (check(proc, {{"A", A, r, c}}, kMaxShownElements) != MatrixStatus::Ok) return {};
    const std::vector<double> m = fromHost(A, r, c);
    struct TraceModeScope {
        int saved = zrt::SetDebugF(1);
        ~TraceModeScope() { zrt::SetDebugF(saved); }
    } scope;
    return zrt::aPrint("MsgBox", "", "", "", m.data(), r, c, {});
}

}  // namespace

const zrt_char* ZRT_API aShow(const double* A, int32_t r, int32_t c) {
    static std::u16string slot;
    return guard("aShow", abi::emptyText(),
                 [&] { return abi::keep(slot, showMatrix("aShow", A, r, c)); });
}

const zrt_char* ZRT_API aShowByLong(const double* A, int32_t r, int32_t c) {
    static std::u16string slot;
    return guard("aShowByLong", abi::emptyText(),
                 [&] { return abi::keep(slot, showMatrix("aShowByLong", A, r, c)); });
}

// The buffer's capacity is the length of the text the caller filled it with
// (the usual way of callers that pre-fill a string of blanks). The result is
// the number of bytes copied, 10 when the text does not fit, and stays 1 when
// there is no buffer to copy into.
int32_t ZRT_API aPrintEx(const double* A, int32_t r, int32_t c, const zrt_char* destination,
                         const zrt_char* format, const zrt_char* heading, const zrt_char* separator,
                         zrt_char* buffer) {
    return guard("aPrintEx", codeNumber(MatrixStatus::Stopped), [&] {
        int32_t status = 1;
        if (const MatrixStatus s = check("aPrintEx", {{"A", A, r, c}}, kMaxShownElements);
            s != MatrixStatus::Ok)
            return codeNumber(s);
        const std::string sep = abi::in(separator);
        if (!separatorsFit(std::int64_t{r} * c, sep)) {
            return codeNumber(
                refuse("aPrintEx", MatrixStatus::InvalidParameter, separatorDetail(sep, r, c)));
        }
        const std::vector<double> m = fromHost(A, r, c);
        const std::u16string text = toUtf16(zrt::aPrint(abi::in(destination), abi::in(format),
                                                        abi::in(heading), sep, m.data(), r, c, {}));
        if (!buffer) return status;
        const int capacity = abi::callerTextLength(buffer);
        if (text.size() > static_cast<std::size_t>(capacity)) return kTextDoesNotFit;
        status = abi::copyOut(buffer, capacity, text) * 2;
        return status;
    });
}
