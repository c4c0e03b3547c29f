// The matrix store's bounds: the listing of its values.
#include <cstdint>
#include <string>
#include <vector>

#include "base/errors.h"
#include "evaluator/evaluator.h"
#include "memory/matrixstore.h"
#include "support/library_test.h"
#include "ui/matrixprint.h"

using namespace zrt;

class StoreBoundsTest : public LibraryTest {};

namespace {

void storeOnes(const std::string& name, int rows, int cols) {
    storeMatrix(name, std::vector<double>(std::size_t(rows) * std::size_t(cols), 1.0), rows, cols,
                false);
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

}  // namespace

TEST_F(StoreBoundsTest, ListingShowsValuesUpToOneMatrixText) {
    // Values are listed in store order until the first matrix that would go
    // beyond kMaxShownElements; from there on none are.
    const struct {
        std::vector<std::pair<int, int>> sizes;  // rows, cols of [m0], [m1], ...
        std::size_t notListed;
    } cases[] = {
        {{{2, 2}, {1024, 1000}}, 0},
        {{{2, 2}, {1025, 1024}, {1, 1}}, 2},
        {{{1024, 1024}, {1, 1}}, 1},
        {{{1025, 1024}}, 1},
    };
    for (const auto& c : cases) {
        resetLibraryForTests();
        for (std::size_t k = 0; k < c.sizes.size(); ++k)
            storeOnes("[m" + std::to_string(k) + "]", c.sizes[k].first, c.sizes[k].second);
        setEError(ErrorCode::None);
        const std::string list = GetMatrixList(true);
        EXPECT_EQ(count(list, "elements, not listed"), c.notListed);
        EXPECT_EQ(eError(), c.notListed ? ErrorCode::InvalidArgument : ErrorCode::None);
        EXPECT_LT(list.size(), std::size_t{64} << 20);
        EXPECT_EQ(count(GetMatrixList(false), "elements, not listed"), 0u);
    }
    EXPECT_NE(errorLog().find("The values of [m0]"), std::string::npos);
}

TEST_F(StoreBoundsTest, CountsTheElementsOfEveryStoredMatrix) {
    // The count the store's bound is checked against follows every way a
    // matrix comes and goes.
    double v = 0;
    storeOnes("[a]", 3, 4);
    EXPECT_EQ(storedElements(), 12);
    storeOnes("[b]", 2, 2);
    storeOnes("[a]", 3, 4);  // same size: the block is reused
    EXPECT_EQ(storedElements(), 16);
    storeOnes("[a]", 1, 1);  // another size: the block is replaced
    EXPECT_EQ(storedElements(), 5);
    EXPECT_EQ(e_eval("[b]*[b]", &v, 0), 1);  // the result stays as a temporary
    EXPECT_EQ(storedElements(), 9);
    EXPECT_EQ(e_eval("2*[b]", &v, 0), 1);  // and replaces the last one
    EXPECT_EQ(storedElements(), 9);
    de_eval("[b]", 0);  // renamed to [mResult]
    EXPECT_EQ(storedElements(), 9);
    EXPECT_EQ(e_eval("[b]+[a]", &v, 0), 5);  // a failure keeps no temporaries
    EXPECT_EQ(storedElements(), 9);
    zrt::ClearMatrixList(1);
    EXPECT_EQ(storedElements(), 9);
    zrt::ClearMatrixList(0);
    EXPECT_EQ(storedElements(), 0);
}

TEST_F(StoreBoundsTest, TemporariesGoWhereverTheyStandInTheList) {
    // A result kept as a temporary may have stored matrices after it; the
    // next evaluation still removes it, and the list keeps its order.
    const auto names = [] {
        std::string all;
        const std::string list = GetMatrixList(false);
        for (std::size_t at = list.find(" - Name: "); at != std::string::npos;
             at = list.find(" - Name: ", at + 1))
            all += list.substr(at + 9, list.find(" - nr.", at) - at - 9) + " ";
        return all;
    };
    double v = 0;
    storeOnes("[a]", 2, 2);
    ASSERT_EQ(e_eval("[a]*2", &v, 0), 1);  // its result stays, as m_...
    const std::string result = findMatrixByAddress(static_cast<std::intptr_t>(v))->name;
    storeOnes("[b]", 1, 1);
    storeOnes("[c]", 1, 1);
    EXPECT_EQ(names(), "[a] " + result + " [b] [c] ");
    ASSERT_EQ(e_eval("[b]+[c]", &v, 0), 1);
    const std::string next = findMatrixByAddress(static_cast<std::intptr_t>(v))->name;
    EXPECT_EQ(names(), "[a] [b] [c] " + next + " ");
    EXPECT_EQ(e_eval("2", &v, 0), 0);
    zrt::ClearMatrixList(1);
    EXPECT_EQ(names(), "[a] [b] [c] ");
    EXPECT_EQ(storedElements(), 6);
}
