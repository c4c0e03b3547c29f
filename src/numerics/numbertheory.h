// Small integer functions: primality, greatest common factor, least common
// multiple, factorial. Arguments and results are 32-bit integers (the
// factorial a double); every intermediate is computed in 64 bits.
#pragma once

#include <cstdint>

namespace zrt {

// -1 when a is prime, else 0 (numbers below 2 are not prime).
int IsPrime(std::int32_t a);

// The long answer of the primality test: -1 when a is prime, else its smallest
// divisor above 1 (2 for even numbers above 2); 0 for numbers below 2, which are
// not prime and have no such divisor.
int lIsPrime(std::int32_t a);

// Greatest common factor of |a| and |b|; one argument 0 gives the other's
// absolute value, GCF(0, 0) is 0. A result of 2^31 (only from -2^31 with 0 or
// itself) does not fit: e_error 5, logged, result 0.
int GCF(std::int32_t a, std::int32_t b);

// Least common multiple, non-negative; 0 when an argument is 0. A result beyond
// 2^31 - 1 does not fit: e_error 5, logged, result 0.
int LCM(std::int32_t a, std::int32_t b);

// n! in double precision (1 for n < 2, infinity beyond 170).
double fact(std::int32_t n);

}  // namespace zrt
