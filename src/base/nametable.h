// The index both name look-ups use (the evaluator's built-in names, the
// variable and function lists): open addressing over a power-of-two table of
// positions, looked up with a view of the name, so that a look-up hashes the
// name once and neither allocates nor divides. The caller keeps the entries;
// the index keeps their positions and asks the caller for a position's name.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zrt {

// FNV-1a over the bytes of a name, its high half folded into the low bits
// that pick the slot.
inline std::uint64_t nameHash(std::string_view name) {
    std::uint64_t h = 1469598103934665603ull;
    for (char c : name) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h ^ (h >> 32);
}

class NameIndex {
public:
    // Position of `name`, or -1; nameAt(position) gives a position's name.
    template <class NameAt>
    long find(std::string_view name, const NameAt& nameAt) const {
        if (slots_.empty()) return -1;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = slotOf(name, mask);; i = (i + 1) & mask) {
            const std::uint32_t slot = slots_[i];
            if (slot == 0) return -1;
            if (nameAt(slot - 1) == name) return static_cast<long>(slot - 1);
        }
    }

    // Records that `position` holds a new name (positions come in order: 0, 1, ...).
    template <class NameAt>
    void add(std::size_t position, const NameAt& nameAt) {
        // At most half full, so that a missing name ends its walk soon.
        if ((position + 1) * 2 > slots_.size()) {
            slots_.assign(std::max<std::size_t>(16, slots_.size() * 2), 0);
            for (std::size_t p = 0; p < position; ++p) place(p, nameAt(p));
        }
        place(position, nameAt(position));
    }

private:
    static std::size_t slotOf(std::string_view name, std::size_t mask) {
        return static_cast<std::size_t>(nameHash(name) & mask);
    }

    void place(std::size_t position, std::string_view name) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = slotOf(name, mask);
        while (slots_[i] != 0) i = (i + 1) & mask;
        slots_[i] = static_cast<std::uint32_t>(position + 1);
    }

    std::vector<std::uint32_t> slots_;  // position + 1; 0 = empty
};

}  // namespace zrt
