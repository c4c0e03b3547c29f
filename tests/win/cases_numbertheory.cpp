// Number theory through the exports.
#include <climits>
#include <string>

#include "probe.h"

using probe::expect;
using probe::num;
using probe::out;

PROBE_CASES(numbertheory) {
    auto isPrime = ZRT_FN(IsPrime);
    auto lIsPrime = ZRT_FN(lIsPrime);
    auto gcf = ZRT_FN(GCF);
    auto lcm = ZRT_FN(LCM);
    auto fact = ZRT_FN(fact);

    struct Prime {
        int a, prime, divisor;
    } primes[] = {{2, -1, -1}, {3, -1, -1}, {37, -1, -1},      {41, -1, -1},   {529, 0, 23},
                  {9, 0, 3},   {15, 0, 3},  {13, -1, -1},      {4, 0, 2},      {1, 0, 0},
                  {0, 0, 0},   {-7, 0, 0},  {INT_MAX, -1, -1}, {INT_MIN, 0, 0}};
    std::string line;
    for (const Prime& p : primes) {
        const int got = isPrime(p.a), div = lIsPrime(p.a);
        line += std::to_string(p.a) + ":" + std::to_string(got) + "/" + std::to_string(div) + " ";
        expect(got == p.prime && div == p.divisor, "IsPrime/lIsPrime " + std::to_string(p.a));
    }
    out("IsPrime lIsPrime", line);

    struct Pair {
        int a, b, gcf, lcm;
    } pairs[] = {{12, -18, 6, 36},    {7, 7, 7, 7}, {4, 6, 2, 12},
                 {0, 5, 5, 0},        {0, 0, 0, 0}, {50331651, 83886085, 16777217, 251658255},
                 {65536, 65537, 1, 0}};
    line.clear();
    for (const Pair& p : pairs) {
        const int g = gcf(p.a, p.b), l = lcm(p.a, p.b);
        line += std::to_string(g) + "/" + std::to_string(l) + " ";
        expect(g == p.gcf && l == p.lcm,
               "GCF/LCM " + std::to_string(p.a) + ", " + std::to_string(p.b));
    }
    out("GCF LCM", line);
    out("e_error after LCM overflow", std::to_string(ZRT_FN(GetE_Error)()));
    expect(gcf(INT_MIN, 0) == 0, "GCF beyond the integer range");

    line.clear();
    for (int n : {-1, 0, 1, 5, 20, 100, 170, 171, INT_MAX}) line += num(fact(n)) + " ";
    out("fact", line);
    probe::expectNum("fact 5", fact(5), 120);
    probe::expectNum("fact_inv", ZRT_FN(fact_inv)(), 0.0);
}
