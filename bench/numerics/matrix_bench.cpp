// Determinant, inverse and linear system of the matrix library against Eigen's
// LU in the same run. Up to order 10 the library inverts by the adjugate (n^2
// determinants of order n - 1, sharing their common elimination steps) and
// solves by Cramer's rule (n + 1 determinants, likewise); from order 11 both
// go by Eigen's LU with the library's singularity test. Compare the times
// per order with Eigen's determinant(), inverse() and partialPivLu().solve().
// Products: up to order 10 the library sums in order, above it Eigen's
// kernels do the work; compare with Eigen's own product.
#include <benchmark/benchmark.h>

#include <Eigen/Dense>
#include <random>
#include <vector>

#include "numerics/matrix.h"

namespace {

// A diagonally dominant (well-conditioned) n x n matrix, row after row.
std::vector<double> testMatrix(int n) {
    std::mt19937 rng(static_cast<unsigned>(n));
    std::uniform_real_distribution<double> d(-1, 1);
    std::vector<double> a(static_cast<std::size_t>(n) * n);
    for (double& v : a) v = d(rng);
    for (int i = 0; i < n; ++i) a[i * n + i] += n;
    return a;
}

std::vector<double> rightHandSide(int n) {
    std::vector<double> v(n);
    for (int i = 0; i < n; ++i) v[i] = i % 7 - 3.0;
    return v;
}

Eigen::MatrixXd eigenMatrix(const std::vector<double>& a, int n) {
    return Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>(
        a.data(), n, n);
}

void BM_aDet(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto a = testMatrix(n);
    double det = 0;
    for (auto _ : state) {
        zrt::aDet(a.data(), n, &det);
        benchmark::DoNotOptimize(det);
    }
}

void BM_EigenDet(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Eigen::MatrixXd m = eigenMatrix(testMatrix(n), n);
    for (auto _ : state) benchmark::DoNotOptimize(m.determinant());
}

void BM_aInv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto a = testMatrix(n);
    std::vector<double> work(a.size());
    for (auto _ : state) {
        work = a;
        zrt::aInv(work.data(), n);
        benchmark::DoNotOptimize(work.data());
    }
}

void BM_EigenInv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Eigen::MatrixXd m = eigenMatrix(testMatrix(n), n);
    Eigen::MatrixXd inv;
    for (auto _ : state) {
        inv = m.inverse();
        benchmark::DoNotOptimize(inv.data());
    }
}

void BM_aSist(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto a = testMatrix(n);
    const auto v = rightHandSide(n);
    std::vector<double> w(n);
    for (auto _ : state) {
        zrt::aSist(a.data(), n, v.data(), w.data());
        benchmark::DoNotOptimize(w.data());
    }
}

void BM_EigenSolve(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Eigen::MatrixXd m = eigenMatrix(testMatrix(n), n);
    const auto rhs = rightHandSide(n);
    const Eigen::VectorXd v = Eigen::Map<const Eigen::VectorXd>(rhs.data(), n);
    Eigen::VectorXd x;
    for (auto _ : state) {
        x = m.partialPivLu().solve(v);
        benchmark::DoNotOptimize(x.data());
    }
}

void BM_aMultSq(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto a = testMatrix(n);
    std::vector<double> c(a.size());
    for (auto _ : state) {
        zrt::aMultSq(a.data(), n, a.data(), c.data());
        benchmark::DoNotOptimize(c.data());
    }
}

void BM_EigenProduct(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Eigen::MatrixXd m = eigenMatrix(testMatrix(n), n);
    Eigen::MatrixXd c(n, n);
    for (auto _ : state) {
        c.noalias() = m * m;
        benchmark::DoNotOptimize(c.data());
    }
}

}  // namespace

// Names: comparison/implementation/order; the report pairs them by that.
BENCHMARK(BM_aDet)->Name("BM_Det/Quillet")->Arg(4)->Arg(10)->Arg(50)->Arg(100);
BENCHMARK(BM_EigenDet)->Name("BM_Det/Eigen")->Arg(4)->Arg(10)->Arg(50)->Arg(100);
BENCHMARK(BM_aInv)->Name("BM_Inv/Quillet")->Arg(4)->Arg(10)->Arg(11)->Arg(50)->Arg(100)->Arg(500);
BENCHMARK(BM_EigenInv)->Name("BM_Inv/Eigen")->Arg(4)->Arg(10)->Arg(11)->Arg(50)->Arg(100)->Arg(500);
BENCHMARK(BM_aSist)->Name("BM_Solve/Quillet")->Arg(4)->Arg(10)->Arg(11)->Arg(50)->Arg(100)->Arg(500);
BENCHMARK(BM_EigenSolve)->Name("BM_Solve/Eigen")->Arg(4)->Arg(10)->Arg(11)->Arg(50)->Arg(100)->Arg(500);
BENCHMARK(BM_aMultSq)
    ->Name("BM_Mult/Quillet")
    ->Arg(4)
    ->Arg(10)
    ->Arg(11)
    ->Arg(50)
    ->Arg(100)
    ->Arg(500);
BENCHMARK(BM_EigenProduct)
    ->Name("BM_Mult/Eigen")
    ->Arg(4)
    ->Arg(10)
    ->Arg(11)
    ->Arg(50)
    ->Arg(100)
    ->Arg(500);
BENCHMARK_MAIN();
