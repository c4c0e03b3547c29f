// Exports of the number theory functions.
#include "api/abi.h"
#include "numerics/numbertheory.h"

using zrt::abi::guard;

int32_t ZRT_API IsPrime(int32_t a) {
    return zrt::IsPrime(a);
}

int32_t ZRT_API lIsPrime(int32_t a) {
    return zrt::lIsPrime(a);
}

int32_t ZRT_API GCF(int32_t a, int32_t b) {
    return guard("GCF", 0, [&] { return zrt::GCF(a, b); });
}

int32_t ZRT_API LCM(int32_t a, int32_t b) {
    return guard("LCM", 0, [&] { return zrt::LCM(a, b); });
}

double ZRT_API fact(int32_t n) {
    return zrt::fact(n);
}

double ZRT_API fact_inv(void) {
    return 0.0;
}
