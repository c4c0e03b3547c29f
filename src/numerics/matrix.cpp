#include "numerics/matrix.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "numerics/eigenproduct.h"
#include "numerics/elimination.h"
#include "numerics/lu.h"

namespace zrt {

namespace {

struct MatrixState {
    MatrixStatus status = MatrixStatus::Ok;
};

MatrixState& matrixState() {
    static MatrixState state;
    return state;
}

using Matrix = std::vector<double>;

// Element count of a checked matrix.
std::size_t count(int rows, int cols) {
    return static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
}

// First failing check of several arguments, or Ok.
MatrixStatus firstFailure(std::initializer_list<MatrixStatus> checks) {
    for (MatrixStatus c : checks)
        if (c != MatrixStatus::Ok) return c;
    return MatrixStatus::Ok;
}

MatrixStatus checkVector(const void* v, int n) {
    return checkMatrix(v, n, 1);
}

MatrixStatus checkScalarOut(const double* p) {
    return p ? MatrixStatus::Ok : MatrixStatus::NotDefined;
}

// Working space of n doubles: on the stack for small matrices (most calls),
// where an allocation would cost more than the arithmetic.
class Scratch {
   public:
    explicit Scratch(std::size_t n) : data_(local_) {
        if (n > kLocal) {
            heap_.resize(n);
            data_ = heap_.data();
        }
    }
    // A copy of the n values at from.
    Scratch(const double* from, std::size_t n) : data_(local_) {
        if (n > kLocal) {
            heap_.assign(from, from + n);
            data_ = heap_.data();
        } else {
            std::copy(from, from + n, local_);
        }
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    double* data() { return data_; }

   private:
    static constexpr std::size_t kLocal = 64;
    double local_[kLocal];
    std::vector<double> heap_;
    double* data_;
};

double determinant(const double* a, std::size_t n) {
    Scratch m(a, n * n);
    return determinantInPlace(m.data(), n);
}

// c = a b for checked dimensions, summing in the order m = 0, 1, ... up to
// kLargestAdjugate in every dimension; larger ones by Eigen's kernels.
void multiply(const double* a, std::size_t rA, std::size_t cA, const double* b, std::size_t cB,
              double* c) {
    if (rA > kLargestAdjugate || cA > kLargestAdjugate || cB > kLargestAdjugate) {
        eigenProduct(a, rA, cA, b, cB, c);
        return;
    }
    // b's columns as rows, so that each sum reads memory in order; both it and
    // the result fit on the stack.
    double bT[kLargestAdjugate * kLargestAdjugate];
    for (std::size_t m = 0; m < cA; ++m)
        for (std::size_t j = 0; j < cB; ++j) bT[j * cA + m] = b[m * cB + j];
    double result[kLargestAdjugate * kLargestAdjugate];
    for (std::size_t i = 0; i < rA; ++i) {
        const double* rowA = a + i * cA;
        for (std::size_t j = 0; j < cB; ++j) {
            const double* colB = bT + j * cA;
            double s = 0;
            for (std::size_t m = 0; m < cA; ++m) s += rowA[m] * colB[m];
            result[i * cB + j] = s;
        }
    }
    std::copy(result, result + rA * cB, c);
}

bool isUnit(const double* a, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            if (a[i * n + j] != (i == j ? 1.0 : 0.0)) return false;
    return true;
}

// Multiply-adds of the operations, as the elimination does them: one
// elimination of order n takes n^3 / 3; the adjugate inverse shares the
// eliminations of its n^2 minors as far as they agree (n^5 / 30 for dense
// matrices), Cramer's rule those of its n matrices with a replaced column
// (n^4 / 12). Beyond kLargestAdjugate the LU takes n^3 / 3, the inverse from
// it n^3 more and a solution n^2.
double eliminationWork(double n) {
    return n * n * n / 3;
}
double inverseWork(double n) {
    if (n > kLargestAdjugate) return n * n * n + eliminationWork(n);
    return n * n * n * n * n / 30 + eliminationWork(n);
}
double systemWork(double n) {
    if (n > kLargestAdjugate) return n * n + eliminationWork(n);
    return n * n * n * n / 12 + eliminationWork(n);
}

// Whether an operation of `work` multiply-adds stays within kMaxMatrixWork;
// otherwise an error log entry under `proc` says what the operation named by
// what() would have taken (the name is built only then).
template <typename What>
bool withinMatrixWork(double work, const char* proc, What what) {
    if (work <= kMaxMatrixWork) return true;
    logError(proc, what() + " takes about " + std::to_string(static_cast<long long>(work)) +
                       " multiply-adds, more than the " +
                       std::to_string(static_cast<long long>(kMaxMatrixWork)) +
                       " one matrix operation may take");
    return false;
}

std::string orderText(int rows, int cols) {
    return "A(" + std::to_string(rows) + ", " + std::to_string(cols) + ")";
}

}  // namespace

MatrixStatus matrStatus() {
    return matrixState().status;
}

void setMatrStatus(MatrixStatus status) {
    matrixState().status = status;
}

void resetMatrix() {
    matrixState() = MatrixState{};
}

MatrixStatus checkMatrix(const void* elements, int rows, int cols) {
    if (!elements) return MatrixStatus::NotDefined;
    if (rows < 1 || cols < 1) return MatrixStatus::OrdersNotValid;
    if (std::int64_t{rows} * cols > kMaxMatrixElements) return MatrixStatus::OrdersNotValid;
    return MatrixStatus::Ok;
}

// ---- Determinant, inverse, systems, diagonal form ----

MatrixStatus aDet(const double* a, int n, double* det) {
    if (const MatrixStatus s = firstFailure({checkMatrix(a, n, n), checkScalarOut(det)});
        s != MatrixStatus::Ok)
        return s;
    if (!withinMatrixWork(eliminationWork(n), "aDet",
                          [&] { return "The determinant of " + orderText(n, n); }))
        return MatrixStatus::TooMuchWork;
    *det = determinant(a, static_cast<std::size_t>(n));
    return MatrixStatus::Ok;
}

double aDetN(const double* a, int n) {
    double det = 0;
    aDet(a, n, &det);
    return det;
}

MatrixStatus aInv(double* a, int n) {
    if (const MatrixStatus s = checkMatrix(a, n, n); s != MatrixStatus::Ok) return s;
    if (!withinMatrixWork(inverseWork(n), "aInv",
                          [&] { return "The inverse of " + orderText(n, n); }))
        return MatrixStatus::TooMuchWork;
    const std::size_t order = static_cast<std::size_t>(n);
    if (order > kLargestAdjugate) return luInverse(a, order);
    const double d = determinant(a, order);
    if (d == 0) return MatrixStatus::Singular;
    if (order == 1) {
        // The minor of a 1 x 1 matrix is empty; its determinant is 1.
        a[0] = 1.0 / d;
        return MatrixStatus::Ok;
    }
    // Element (j, i) of the inverse is the cofactor of (i, j) over the determinant.
    Scratch minors(order * order);
    minorDeterminants(a, order, minors.data());
    for (std::size_t i = 0; i < order; ++i)
        for (std::size_t j = 0; j < order; ++j) {
            const double minorDet = minors.data()[i * order + j];
            a[j * order + i] = ((i + j) % 2 ? -minorDet : minorDet) / d;
        }
    return MatrixStatus::Ok;
}

MatrixStatus aSist(const double* a, int n, const double* v, double* w) {
    if (const MatrixStatus s =
            firstFailure({checkMatrix(a, n, n), checkVector(v, n), checkVector(w, n)});
        s != MatrixStatus::Ok)
        return s;
    if (!withinMatrixWork(systemWork(n), "aSist",
                          [&] { return "The system of " + orderText(n, n); }))
        return MatrixStatus::TooMuchWork;
    const std::size_t order = static_cast<std::size_t>(n);
    if (order > kLargestAdjugate) return luSolve(a, order, v, w);
    const double d = determinant(a, order);
    if (d == 0) return MatrixStatus::Singular;
    // Cramer: column i replaced by the right-hand side, over the determinant.
    Scratch x(order);
    replacedColumnDeterminants(a, order, v, x.data());
    for (std::size_t i = 0; i < order; ++i) w[i] = x.data()[i] / d;
    return MatrixStatus::Ok;
}

MatrixStatus aDiag(double* a, int n) {
    if (const MatrixStatus s = checkMatrix(a, n, n); s != MatrixStatus::Ok) return s;
    if (!withinMatrixWork(eliminationWork(n), "aDiag",
                          [&] { return "The diagonal form of " + orderText(n, n); }))
        return MatrixStatus::TooMuchWork;
    const std::size_t order = static_cast<std::size_t>(n);
    Matrix m(a, a + order * order);
    eliminate(m.data(), order, nullptr);
    for (std::size_t i = 0; i < order; ++i)
        for (std::size_t j = 0; j < order; ++j) a[i * order + j] = i == j ? m[i * order + j] : 0.0;
    return MatrixStatus::Ok;
}

// ---- Products and powers ----

MatrixStatus aMultEx(const double* a, int rA, int cA, const double* b, int rB, int cB, double* c) {
    if (const MatrixStatus s = firstFailure({checkMatrix(a, rA, cA), checkMatrix(b, rB, cB)});
        s != MatrixStatus::Ok)
        return s;
    if (cA != rB) return MatrixStatus::WrongRank;
    if (const MatrixStatus s = checkMatrix(c, rA, cB); s != MatrixStatus::Ok) return s;
    if (!withinMatrixWork(double(rA) * cA * cB, "aMultEx", [&] {
            return "The product of " + orderText(rA, cA) + " and B(" + std::to_string(rB) + ", " +
                   std::to_string(cB) + ")";
        }))
        return MatrixStatus::TooMuchWork;
    multiply(a, static_cast<std::size_t>(rA), static_cast<std::size_t>(cA), b,
             static_cast<std::size_t>(cB), c);
    return MatrixStatus::Ok;
}

MatrixStatus aMultSq(const double* a, int n, const double* b, double* c) {
    return aMultEx(a, n, n, b, n, n, c);
}

MatrixStatus aMultVect(const double* a, int r, int c, const double* v, double* w) {
    if (const MatrixStatus s =
            firstFailure({checkMatrix(a, r, c), checkVector(v, c), checkVector(w, r)});
        s != MatrixStatus::Ok)
        return s;
    multiply(a, static_cast<std::size_t>(r), static_cast<std::size_t>(c), v, 1, w);
    return MatrixStatus::Ok;
}

MatrixStatus aMultVectSq(const double* a, int n, const double* v, double* w) {
    return aMultVect(a, n, n, v, w);
}

MatrixStatus aPow(const double* a, int n, int m, double* c) {
    if (const MatrixStatus s = firstFailure({checkMatrix(a, n, n), checkMatrix(c, n, n)});
        s != MatrixStatus::Ok)
        return s;
    if (m < 0) return MatrixStatus::InvalidParameter;
    const std::size_t order = static_cast<std::size_t>(n);
    if (m == 0) {
        for (std::size_t i = 0; i < order; ++i)
            for (std::size_t j = 0; j < order; ++j) c[i * order + j] = i == j ? 1.0 : 0.0;
        return MatrixStatus::Ok;
    }
    if (!withinMatrixWork(double(m - 1) * n * n * n, "aPow", [&] {
            return "The power " + std::to_string(m) + " of " + orderText(n, n);
        }))
        return MatrixStatus::TooMuchWork;
    // c may be a: the factor is kept apart.
    const Matrix base(a, a + order * order);
    Matrix power(a, a + order * order);
    for (int k = 1; k < m; ++k)
        multiply(power.data(), order, order, base.data(), order, power.data());
    std::copy(power.begin(), power.end(), c);
    return MatrixStatus::Ok;
}

MatrixStatus aDiv(const double* a, int n, const double* b, double* c) {
    if (const MatrixStatus s =
            firstFailure({checkMatrix(a, n, n), checkMatrix(b, n, n), checkMatrix(c, n, n)});
        s != MatrixStatus::Ok)
        return s;
    const std::size_t order = static_cast<std::size_t>(n);
    Matrix inverse(b, b + order * order);
    if (const MatrixStatus s = aInv(inverse.data(), n); s != MatrixStatus::Ok) return s;
    return aMultSq(a, n, inverse.data(), c);
}

// ---- Element-wise operations ----

MatrixStatus aSum(const double* a, int r, int c, const double* b, double* out) {
    if (const MatrixStatus s =
            firstFailure({checkMatrix(a, r, c), checkMatrix(b, r, c), checkMatrix(out, r, c)});
        s != MatrixStatus::Ok)
        return s;
    for (std::size_t k = 0, n = count(r, c); k < n; ++k) out[k] = a[k] + b[k];
    return MatrixStatus::Ok;
}

MatrixStatus aDiff(const double* a, int r, int c, const double* b, double* out) {
    if (const MatrixStatus s =
            firstFailure({checkMatrix(a, r, c), checkMatrix(b, r, c), checkMatrix(out, r, c)});
        s != MatrixStatus::Ok)
        return s;
    for (std::size_t k = 0, n = count(r, c); k < n; ++k) out[k] = a[k] - b[k];
    return MatrixStatus::Ok;
}

MatrixStatus aSumScal(double* a, int r, int c, double k) {
    if (const MatrixStatus s = checkMatrix(a, r, c); s != MatrixStatus::Ok) return s;
    for (std::size_t i = 0, n = count(r, c); i < n; ++i) a[i] += k;
    return MatrixStatus::Ok;
}

MatrixStatus aProdScal(double* a, int r, int c, double k) {
    if (const MatrixStatus s = checkMatrix(a, r, c); s != MatrixStatus::Ok) return s;
    for (std::size_t i = 0, n = count(r, c); i < n; ++i) a[i] *= k;
    return MatrixStatus::Ok;
}

MatrixStatus aOpp(double* a, int r, int c) {
    if (const MatrixStatus s = checkMatrix(a, r, c); s != MatrixStatus::Ok) return s;
    for (std::size_t i = 0, n = count(r, c); i < n; ++i) a[i] = -a[i];
    return MatrixStatus::Ok;
}

// ---- Trace, transposes, exchanges, modulus ----

MatrixStatus aTrace(const double* a, int n, double* trace) {
    if (const MatrixStatus s = firstFailure({checkMatrix(a, n, n), checkScalarOut(trace)});
        s != MatrixStatus::Ok)
        return s;
    const std::size_t order = static_cast<std::size_t>(n);
    double sum = 0;
    for (std::size_t i = 0; i < order; ++i) sum += a[i * order + i];
    *trace = sum;
    return MatrixStatus::Ok;
}

double aTraceN(const double* a, int n) {
    double trace = 0;
    aTrace(a, n, &trace);
    return trace;
}

MatrixStatus aTraspEx(const double* a, int r, int c, double* out) {
    if (const MatrixStatus s = firstFailure({checkMatrix(a, r, c), checkMatrix(out, c, r)});
        s != MatrixStatus::Ok)
        return s;
    const std::size_t rows = static_cast<std::size_t>(r), cols = static_cast<std::size_t>(c);
    Matrix t(rows * cols);
    for (std::size_t i = 0; i < rows; ++i)
        for (std::size_t j = 0; j < cols; ++j) t[j * rows + i] = a[i * cols + j];
    std::copy(t.begin(), t.end(), out);
    return MatrixStatus::Ok;
}

MatrixStatus aTrasp(double* a, int r, int c) {
    return aTraspEx(a, r, c, a);
}

MatrixStatus aTraspSq(double* a, int n) {
    if (const MatrixStatus s = checkMatrix(a, n, n); s != MatrixStatus::Ok) return s;
    const std::size_t order = static_cast<std::size_t>(n);
    for (std::size_t i = 0; i < order; ++i)
        for (std::size_t j = i + 1; j < order; ++j) std::swap(a[i * order + j], a[j * order + i]);
    return MatrixStatus::Ok;
}

MatrixStatus aSwap(double* a, int r, int c, double* b) {
    if (const MatrixStatus s = firstFailure({checkMatrix(a, r, c), checkMatrix(b, r, c)});
        s != MatrixStatus::Ok)
        return s;
    if (a != b)
        for (std::size_t k = 0, n = count(r, c); k < n; ++k) std::swap(a[k], b[k]);
    return MatrixStatus::Ok;
}

MatrixStatus aSwapRC(double* a, int r, int c, int kind, int i, int j) {
    if (const MatrixStatus s = checkMatrix(a, r, c); s != MatrixStatus::Ok) return s;
    const int limit = kind != 0 ? r : c;
    if (i < 1 || j < 1 || i > limit || j > limit) return MatrixStatus::WrongSwap;
    const std::size_t cols = static_cast<std::size_t>(c);
    const std::size_t p = static_cast<std::size_t>(i - 1), q = static_cast<std::size_t>(j - 1);
    if (p == q) return MatrixStatus::Ok;
    if (kind != 0) {
        std::swap_ranges(a + p * cols, a + (p + 1) * cols, a + q * cols);
    } else {
        for (std::size_t row = 0, rows = static_cast<std::size_t>(r); row < rows; ++row)
            std::swap(a[row * cols + p], a[row * cols + q]);
    }
    return MatrixStatus::Ok;
}

MatrixStatus aMatrMod(const double* v, int n, double* result) {
    if (const MatrixStatus s = firstFailure({checkVector(v, n), checkScalarOut(result)});
        s != MatrixStatus::Ok)
        return s;
    double sum = 0;
    for (std::size_t k = 0, len = static_cast<std::size_t>(n); k < len; ++k) sum += v[k] * v[k];
    *result = std::sqrt(sum);
    return MatrixStatus::Ok;
}

// ---- Predicates ----

bool aMatrIsZero(const double* a, int n) {
    if (checkMatrix(a, n, n) != MatrixStatus::Ok) return false;
    return std::all_of(a, a + count(n, n), [](double v) { return v == 0; });
}

bool aMatrIsUnit(const double* a, int n) {
    return checkMatrix(a, n, n) == MatrixStatus::Ok && isUnit(a, static_cast<std::size_t>(n));
}

bool aMatrIsSing(const double* a, int n) {
    double det = 1;
    return aDet(a, n, &det) == MatrixStatus::Ok && det == 0;
}

bool aMatrIsOrtog(const double* a, int n, MatrixStatus* inversionStatus) {
    MatrixStatus status = checkMatrix(a, n, n);
    bool orthogonal = false;
    if (status == MatrixStatus::Ok) {
        const std::size_t order = static_cast<std::size_t>(n);
        Matrix inverse(a, a + order * order);
        status = aInv(inverse.data(), n);
        if (status == MatrixStatus::Ok) {
            // Compared as values: the adjugate writes -0 where a cofactor is 0,
            // and the transpose of a unit matrix holds +0 there.
            orthogonal = true;
            for (std::size_t i = 0; i < order && orthogonal; ++i)
                for (std::size_t j = 0; j < order; ++j)
                    if (inverse[i * order + j] != a[j * order + i]) {
                        orthogonal = false;
                        break;
                    }
        }
    }
    if (inversionStatus) *inversionStatus = status;
    return orthogonal;
}

bool aMatrAreOrtog(const double* a, int n, const double* b) {
    const std::size_t order = n > 0 ? static_cast<std::size_t>(n) : 0;
    Matrix product(checkMatrix(a, n, n) == MatrixStatus::Ok ? order * order : 0);
    return aMultEx(a, n, n, b, n, n, product.data()) == MatrixStatus::Ok &&
           isUnit(product.data(), order);
}

bool aMatrAreEquals(const double* a, int rA, int cA, const double* b, int rB, int cB) {
    if (firstFailure({checkMatrix(a, rA, cA), checkMatrix(b, rB, cB)}) != MatrixStatus::Ok)
        return false;
    if (rA != rB || cA != cB) return false;
    return std::memcmp(a, b, count(rA, cA) * sizeof(double)) == 0;
}

}  // namespace zrt
