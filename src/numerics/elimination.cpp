#include "numerics/elimination.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace zrt {

namespace {

// One elimination step on the block of rows x cols elements at m (row stride
// `stride`): its first row is the pivot row and its first column the pivot's
// place. Returns the new factor d.
double eliminationStep(double* m, std::size_t stride, std::size_t rows, std::size_t cols,
                       double tolerance, double d) {
    std::size_t q = 0;
    double largest = std::fabs(m[0]);
    for (std::size_t j = 1; j < cols; ++j) {
        const double v = std::fabs(m[j]);
        if (v > largest) {
            largest = v;
            q = j;
        }
    }
    if (!(largest > tolerance)) return 0;
    if (q != 0) {
        for (std::size_t i = 0; i < rows; ++i) std::swap(m[i * stride], m[i * stride + q]);
        d = -d;
    }
    const double pivot = m[0];
    d *= pivot;
    // Two rows at a time share the loads of the pivot row; each element gets
    // the same operations as alone.
    const double* __restrict pivotRow = m;
    std::size_t i = 1;
    for (; i + 1 < rows; i += 2) {
        double* __restrict x = m + i * stride;
        double* __restrict y = x + stride;
        const double fx = x[0] / pivot;
        const double fy = y[0] / pivot;
        for (std::size_t j = 1; j < cols; ++j) {
            const double p = pivotRow[j];
            x[j] -= fx * p;
            y[j] -= fy * p;
        }
    }
    if (i < rows) {
        double* __restrict x = m + i * stride;
        const double fx = x[0] / pivot;
        for (std::size_t j = 1; j < cols; ++j) x[j] -= fx * pivotRow[j];
    }
    return d;
}

// Exact determinants of orders 2 and 3 (the 3 x 3 one expanded along its first
// row) of the rows given, at the columns given.
double det2(const double* r0, const double* r1, std::size_t c0, std::size_t c1) {
    return r0[c0] * r1[c1] - r0[c1] * r1[c0];
}

double det3(const double* r0, const double* r1, const double* r2, std::size_t c0, std::size_t c1,
            std::size_t c2) {
    return r0[c0] * (r1[c1] * r2[c2] - r1[c2] * r2[c1]) -
           r0[c1] * (r1[c0] * r2[c2] - r1[c2] * r2[c0]) +
           r0[c2] * (r1[c0] * r2[c1] - r1[c1] * r2[c0]);
}

// The determinant from the factor of an elimination and its last element,
// whose row has the given tolerance. A skipped pivot or a last element within
// the tolerance makes it 0; a NaN stays.
double finish(double d, double last, double tolerance) {
    const double det = d * last;
    if (std::isnan(det)) return det;
    return d == 0 || !(std::fabs(last) > tolerance) ? 0.0 : det;
}

// Determinant of the s x s matrix m (s >= 1) whose elimination has already
// built up the factor d; tolerances for its s rows.
double eliminatedDeterminant(double* m, std::size_t s, double d, const double* tolerances) {
    d = eliminate(m, s, tolerances, d);
    return finish(d, m[s * s - 1], tolerances[s - 1]);
}

// A few rows' tolerances without an allocation for the small orders.
class Tolerances {
   public:
    explicit Tolerances(std::size_t n) : data_(local_) {
        if (n > kLocal) {
            heap_.resize(n);
            data_ = heap_.data();
        }
    }
    Tolerances(const Tolerances&) = delete;
    Tolerances& operator=(const Tolerances&) = delete;
    double* data() { return data_; }

   private:
    static constexpr std::size_t kLocal = 16;
    double local_[kLocal];
    std::vector<double> heap_;
    double* data_;
};

// ---- Elimination shared by several matrices ----
//
// A block holds rows of one matrix in their order; its columns are "physical"
// columns kept in slots, in no particular order. Each member is a square
// matrix made of the block's rows and some of its columns in an order of its
// own (the order in which its elimination sees them, exchanges included). As
// long as every member pivots on the same row and the same physical column,
// one update of the block is each member's update: the update of an element
// depends only on its row, its column and the pivot's. Each member keeps its
// own column order and factor, so that exchanges and ties are decided as in
// its own elimination; a member that would pivot elsewhere leaves the block
// and goes on alone from the state it has.

constexpr std::size_t kNone = SIZE_MAX;

struct Block {
    std::size_t stride = 0;
    std::size_t rows = 0;
    std::size_t first = 0;  // the next pivot row; rows before it are done
    std::size_t live = 0;   // slots [0, live) hold the columns not pivoted yet
    std::vector<double> cells;
    std::vector<double> tolerance;  // per row: the singularity bound of its pivots
    std::vector<int> slotColumn;  // slot -> physical column
    std::vector<int> columnSlot;  // physical column -> slot, -1 once pivoted

    double* row(std::size_t r) { return &cells[r * stride]; }
    // The slot of a physical column not pivoted yet.
    int slotOf(int column) const { return columnSlot[static_cast<std::size_t>(column)]; }
};

struct Members {
    std::size_t order = 0;    // rows and columns of every member
    std::size_t columns = 0;  // physical columns of the block
    std::vector<std::size_t> id;
    std::vector<int> column;    // [member * order + position] -> physical column
    std::vector<int> position;  // [member * columns + physical column] -> position, or -1
    std::vector<double> d;

    std::size_t size() const { return id.size(); }
    int* columnsOf(std::size_t k) { return &column[k * order]; }
    int* positionsOf(std::size_t k) { return &position[k * columns]; }

    void add(std::size_t memberId, const int* orderOfColumns) {
        id.push_back(memberId);
        d.push_back(1);
        column.insert(column.end(), orderOfColumns, orderOfColumns + order);
        position.insert(position.end(), columns, -1);
        int* where = positionsOf(size() - 1);
        for (std::size_t p = 0; p < order; ++p) where[orderOfColumns[p]] = static_cast<int>(p);
    }

    void remove(std::size_t k) {
        const std::size_t last = size() - 1;
        if (k != last) {
            id[k] = id[last];
            d[k] = d[last];
            std::copy(columnsOf(last), columnsOf(last) + order, columnsOf(k));
            std::copy(positionsOf(last), positionsOf(last) + columns, positionsOf(k));
        }
        id.pop_back();
        d.pop_back();
        column.resize(last * order);
        position.resize(last * columns);
    }
};

// Buffers reused by every step and branch of one computation.
struct Workspace {
    std::vector<std::size_t> tied, leaving;
    std::vector<double> leaf, alone;
    Block branch;
    Members branchMembers;
};

// Copies the s x s matrix of member k at the given step (the block's live rows
// from `firstRow`, the member's columns from that step on) into out.
void copyMember(Block& b, Members& members, std::size_t k, std::size_t step, std::size_t firstRow,
                std::size_t rows, double* out) {
    const int* cols = members.columnsOf(k) + step;
    const std::size_t width = members.order - step;
    for (std::size_t r = 0; r < rows; ++r) {
        const double* src = b.row(firstRow + r);
        for (std::size_t c = 0; c < width; ++c) *out++ = src[b.slotOf(cols[c])];
    }
}

// The next step of the block for its members: whether it skips, else the
// pivot's slot. Members that would pivot on another column (or whose pivot
// row holds a NaN, where the scan depends on the order) are listed in
// `leaving`.
struct Decision {
    bool skip = false;
    std::size_t slot = kNone;
};

Decision decide(Block& b, Members& members, std::size_t step, std::vector<std::size_t>& tied,
                std::vector<std::size_t>& leaving) {
    leaving.clear();
    tied.clear();
    const double* p = b.row(b.first);
    double largest = -1;
    bool nan = false;
    for (std::size_t s = 0; s < b.live; ++s) {
        const double v = std::fabs(p[s]);
        if (std::isnan(v)) {
            nan = true;
        } else if (v > largest) {
            largest = v;
            tied.assign(1, s);
        } else if (v == largest) {
            tied.push_back(s);
        }
    }
    Decision decision;
    if (nan) {
        for (std::size_t k = 0; k < members.size(); ++k) leaving.push_back(k);
        return decision;
    }
    // Each member's own largest magnitude is at most the block's.
    if (!(largest > b.tolerance[b.first])) {
        decision.skip = true;
        return decision;
    }
    const int at = static_cast<int>(step);
    for (std::size_t k = 0; k < members.size(); ++k) {
        // The member's pivot: of the block's largest, the first in its order.
        const int* where = members.positionsOf(k);
        std::size_t choice = kNone;
        int best = INT_MAX;
        for (std::size_t s : tied) {
            const int pos = where[b.slotColumn[s]];
            if (pos >= at && pos < best) {
                best = pos;
                choice = s;
            }
        }
        if (choice == kNone || (decision.slot != kNone && choice != decision.slot))
            leaving.push_back(k);
        else
            decision.slot = choice;
    }
    return decision;
}

// Carries out a decided step on the block and its remaining members.
void apply(Block& b, Members& members, std::size_t step, const Decision& decision) {
    if (members.size() == 0) return;  // all have left: the block is done
    if (decision.skip) {
        for (double& d : members.d) d = 0;
        ++b.first;
        return;
    }
    const std::size_t s = decision.slot;
    const std::size_t last = b.live - 1;
    const int pivotColumn = b.slotColumn[s];
    double* pivotRow = b.row(b.first);
    const double pivot = pivotRow[s];

    for (std::size_t k = 0; k < members.size(); ++k) {
        int* cols = members.columnsOf(k);
        int* where = members.positionsOf(k);
        const std::size_t pos = static_cast<std::size_t>(where[pivotColumn]);
        double d = members.d[k];
        if (pos != step) {
            std::swap(cols[step], cols[pos]);
            where[cols[step]] = static_cast<int>(step);
            where[cols[pos]] = static_cast<int>(pos);
            d = -d;
        }
        members.d[k] = d * pivot;
    }

    // The pivot's column leaves the slots: the last live column takes its
    // place, so that the update runs over adjacent elements.
    pivotRow[s] = pivotRow[last];
    for (std::size_t r = b.first + 1; r < b.rows; ++r) {
        double* x = b.row(r);
        const double factor = x[s] / pivot;
        x[s] = x[last];
        for (std::size_t c = 0; c < last; ++c) x[c] -= factor * pivotRow[c];
    }
    b.slotColumn[s] = b.slotColumn[last];
    b.columnSlot[static_cast<std::size_t>(b.slotColumn[s])] = static_cast<int>(s);
    b.columnSlot[static_cast<std::size_t>(pivotColumn)] = -1;
    b.live = last;
    ++b.first;
}

// Determinants of the members of block b from the given step on: every live
// row of the block belongs to every member. emit(id, determinant).
template <class Emit>
void sharedDeterminants(Block& b, Members& members, std::size_t step, Workspace& w, Emit emit) {
    const std::size_t m = members.order;
    for (; step + 1 < m && members.size() > 0; ++step) {
        const Decision decision = decide(b, members, step, w.tied, w.leaving);
        for (auto it = w.leaving.rbegin(); it != w.leaving.rend(); ++it) {
            const std::size_t s = m - step;
            w.leaf.resize(s * s);
            copyMember(b, members, *it, step, b.first, s, w.leaf.data());
            emit(members.id[*it], eliminatedDeterminant(w.leaf.data(), s, members.d[*it],
                                                        &b.tolerance[b.first]));
            members.remove(*it);
        }
        apply(b, members, step, decision);
    }
    for (std::size_t k = 0; k < members.size(); ++k)
        emit(members.id[k],
             finish(members.d[k], b.row(b.first)[b.slotOf(members.columnsOf(k)[m - 1])],
                    b.tolerance[b.first]));
}

// r = the live rows of b but its first, with the same columns.
void withoutFirstRow(Block& b, Block& r) {
    r.stride = b.live;
    r.first = 0;
    r.rows = b.rows - b.first - 1;
    r.live = b.live;
    r.cells.resize(r.rows * r.stride);
    r.tolerance.assign(b.tolerance.data() + b.first + 1, b.tolerance.data() + b.tolerance.size());
    for (std::size_t i = 0; i < r.rows; ++i) {
        const double* src = b.row(b.first + 1 + i);
        std::copy(src, src + b.live, r.row(i));
    }
    r.slotColumn.assign(b.slotColumn.data(), b.slotColumn.data() + b.live);
    r.columnSlot = b.columnSlot;
}

// Minors of one column order: the (s + 1) x s matrix c (row after row), whose
// rows are the rows `firstRow`... of the matrix at elimination step `step` and
// whose factor is d and whose rows have the tolerances given, without each of
// its rows but the first (that minor has been done). out(row, determinant).
template <class Out>
void minorsByRow(double* c, std::size_t s, double d, const double* tolerance,
                 std::size_t firstRow, std::vector<double>& scratch, Out out) {
    const std::size_t stride = s;
    scratch.resize(s * s);
    double* view = c;
    std::size_t rows = s + 1, cols = s, local = 0;
    for (;; ++local) {
        if (local > 0) {
            // Without the view's first row: a cols x cols matrix.
            for (std::size_t r = 0; r < cols; ++r)
                std::copy(view + (r + 1) * stride, view + (r + 1) * stride + cols,
                          scratch.data() + r * cols);
            out(firstRow + local,
                eliminatedDeterminant(scratch.data(), cols, d, tolerance + local + 1));
        }
        if (cols == 1) break;
        d = eliminationStep(view, stride, rows, cols, tolerance[local], d);
        view += stride + 1;
        --rows;
        --cols;
    }
    // Without the last row.
    out(firstRow + local + 1, finish(d, view[0], tolerance[local]));
}

}  // namespace

void rowTolerances(const double* a, std::size_t rows, std::size_t cols, std::size_t stride,
                   std::size_t order, double* out) {
    const double unit = static_cast<double>(order) * std::numeric_limits<double>::epsilon();
    for (std::size_t r = 0; r < rows; ++r) {
        const double* row = a + r * stride;
        double largest = 0;
        for (std::size_t c = 0; c < cols; ++c) {
            const double v = std::fabs(row[c]);
            if (v > largest && v <= std::numeric_limits<double>::max()) largest = v;
        }
        out[r] = unit * largest;
    }
}

double eliminate(double* m, std::size_t n, const double* tolerances, double d) {
    for (std::size_t k = 0; k + 1 < n; ++k)
        d = eliminationStep(m + k * n + k, n, n - k, n - k, tolerances ? tolerances[k] : 0.0, d);
    return d;
}

double eliminatedDeterminant(double* m, std::size_t n, const double* tolerances) {
    return eliminatedDeterminant(m, n, 1, tolerances);
}

double determinantInPlace(double* m, std::size_t n) {
    switch (n) {
        case 1:
            return m[0];
        case 2:
            return det2(m, m + 2, 0, 1);
        case 3:
            return det3(m, m + 3, m + 6, 0, 1, 2);
        default:
            break;
    }
    Tolerances tolerances(n);
    rowTolerances(m, n, n, n, n, tolerances.data());
    return eliminatedDeterminant(m, n, 1, tolerances.data());
}

// Below these orders the shared steps save less than their bookkeeping costs
// (instruction counts under callgrind): each matrix is eliminated on its own.
constexpr std::size_t kSharedMinorsFrom = 6;
constexpr std::size_t kSharedColumnsFrom = 11;

void minorDeterminants(const double* a, std::size_t n, double* out) {
    const std::size_t m = n - 1;
    Tolerances tolerances(n);
    rowTolerances(a, n, n, n, n, tolerances.data());
    if (n < kSharedMinorsFrom) {
        // Each minor read in place through its row and column numbers.
        std::size_t rows[kSharedMinorsFrom] = {}, cols[kSharedMinorsFrom] = {};
        double minor[(kSharedMinorsFrom - 2) * (kSharedMinorsFrom - 2)];
        double minorTolerances[kSharedMinorsFrom];
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j) {
                for (std::size_t t = 0, r = 0, c = 0; t < n; ++t) {
                    if (t != i) rows[r++] = t;
                    if (t != j) cols[c++] = t;
                }
                const double* r0 = a + rows[0] * n;
                double det;
                if (m == 1) {
                    det = r0[cols[0]];
                } else if (m == 2) {
                    det = det2(r0, a + rows[1] * n, cols[0], cols[1]);
                } else if (m == 3) {
                    det = det3(r0, a + rows[1] * n, a + rows[2] * n, cols[0], cols[1], cols[2]);
                } else {
                    for (std::size_t r = 0; r < m; ++r) {
                        minorTolerances[r] = tolerances.data()[rows[r]];
                        for (std::size_t c = 0; c < m; ++c)
                            minor[r * m + c] = a[rows[r] * n + cols[c]];
                    }
                    det = eliminatedDeterminant(minor, m, 1, minorTolerances);
                }
                out[i * n + j] = det;
            }
        return;
    }
    // The whole matrix is the block; member j is the matrix without column j.
    // Before each step k the minors without row k split off with the members
    // as they stand; a member that leaves at step k goes on alone for the
    // minors without the rows after k.
    Block b;
    b.stride = b.rows = b.live = n;
    b.cells.assign(a, a + n * n);
    b.tolerance.assign(tolerances.data(), tolerances.data() + n);
    for (std::size_t c = 0; c < n; ++c) {
        b.slotColumn.push_back(static_cast<int>(c));
        b.columnSlot.push_back(static_cast<int>(c));
    }
    Members members;
    members.order = m;
    members.columns = n;
    std::vector<int> cols(m);
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t c = 0, o = 0; c < n; ++c)
            if (c != j) cols[o++] = static_cast<int>(c);
        members.add(j, cols.data());
    }

    Workspace w;
    std::vector<std::size_t> tied, leaving;
    std::size_t k = 0;
    for (; members.size() > 0; ++k) {
        withoutFirstRow(b, w.branch);
        w.branchMembers = members;
        sharedDeterminants(w.branch, w.branchMembers, k, w,
                           [&](std::size_t j, double det) { out[k * n + j] = det; });
        if (k + 1 == m) break;
        const Decision decision = decide(b, members, k, tied, leaving);
        for (auto it = leaving.rbegin(); it != leaving.rend(); ++it) {
            const std::size_t s = m - k;
            const std::size_t j = members.id[*it];
            w.alone.resize((s + 1) * s);
            copyMember(b, members, *it, k, b.first, s + 1, w.alone.data());
            minorsByRow(w.alone.data(), s, members.d[*it], &b.tolerance[b.first], k, w.leaf,
                        [&](std::size_t i, double det) { out[i * n + j] = det; });
            members.remove(*it);
        }
        apply(b, members, k, decision);
    }
    // Without the last row: the block's next row is the members' last.
    for (std::size_t q = 0; q < members.size(); ++q)
        out[(n - 1) * n + members.id[q]] =
            finish(members.d[q], b.row(b.first)[b.slotOf(members.columnsOf(q)[m - 1])],
                   b.tolerance[b.first]);
}

void replacedColumnDeterminants(const double* a, std::size_t n, const double* v, double* out) {
    // Each row's tolerance: its row of a with v's element beside it.
    Tolerances tolerances(n);
    rowTolerances(a, n, n, n, n, tolerances.data());
    Tolerances ofV(n);
    rowTolerances(v, n, 1, 1, n, ofV.data());
    for (std::size_t r = 0; r < n; ++r)
        tolerances.data()[r] = std::max(tolerances.data()[r], ofV.data()[r]);
    if (n < kSharedColumnsFrom) {
        double replaced[(kSharedColumnsFrom - 1) * (kSharedColumnsFrom - 1)];
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t r = 0; r < n; ++r)
                for (std::size_t c = 0; c < n; ++c)
                    replaced[r * n + c] = c == i ? v[r] : a[r * n + c];
            out[i] = n < 4 ? determinantInPlace(replaced, n)
                           : eliminatedDeterminant(replaced, n, 1, tolerances.data());
        }
        return;
    }
    // The block is a with v as a last column; member i has v in place of column i.
    Block b;
    b.stride = b.live = n + 1;
    b.rows = n;
    b.cells.resize(n * (n + 1));
    b.tolerance.assign(tolerances.data(), tolerances.data() + n);
    for (std::size_t r = 0; r < n; ++r) {
        std::copy(a + r * n, a + (r + 1) * n, b.row(r));
        b.row(r)[n] = v[r];
    }
    for (std::size_t c = 0; c <= n; ++c) {
        b.slotColumn.push_back(static_cast<int>(c));
        b.columnSlot.push_back(static_cast<int>(c));
    }
    Members members;
    members.order = n;
    members.columns = n + 1;
    std::vector<int> cols(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t c = 0; c < n; ++c) cols[c] = static_cast<int>(c == i ? n : c);
        members.add(i, cols.data());
    }
    Workspace w;
    sharedDeterminants(b, members, 0, w, [&](std::size_t i, double det) { out[i] = det; });
}

}  // namespace zrt
