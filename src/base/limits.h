// The largest matrix the library makes (2^24 elements, 128 MB of doubles, a
// 4096 x 4096 matrix): a size typed by mistake fails with a clear message
// instead of exhausting memory.
#pragma once

#include <cstdint>

namespace zrt {

constexpr std::int64_t kMaxMatrixElements = std::int64_t{1} << 24;

}  // namespace zrt
