// A flag set for the life of a scope ("a plot is being computed", "the
// tool tip is evaluating"): it falls again however the scope ends, an
// exception included, so no path can leave it standing.
#pragma once

namespace zrt {

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
};

}  // namespace zrt
