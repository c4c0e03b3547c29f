// Exports whose work or result a count or size argument multiplies refuse
// values beyond their bound with the family's code, before reading anything.
#include <string>
#include <vector>

#include "support/library_test.h"

class SizeBoundsTest : public LibraryTest {};

TEST_F(SizeBoundsTest, MatrixTextsOfTooManyElementsOrSeparators) {
    // The elements are never read when the size is refused: one value is enough.
    const std::vector<double> one(4, 1.0);
    const std::string sep64(64, ';'), sep65(65, ';');
    const struct {
        int rows, cols;
        const std::string* separator;
        int code;  // -1: printed
    } cases[] = {
        {2, 2, &sep64, -1},
        {1025, 1024, nullptr, 5},
        {1024, 1024, &sep65, 8},  // 65 characters a million times
    };
    for (const auto& c : cases) {
        const std::u16string sep = Z(c.separator ? *c.separator : "");
        SetE_Error(-1);
        const std::string text =
            U(aPrint(P(Z("String")), nullptr, nullptr, P(sep), c.rows, c.cols, one.data(), 0, 0));
        EXPECT_EQ(text.empty(), c.code != -1) << c.rows << " x " << c.cols;
        EXPECT_EQ(GetE_Error(), c.code) << c.rows << " x " << c.cols;
        zrt_char buffer[8] = {'x', 'x', 'x', 0};
        EXPECT_EQ(aPrintEx(one.data(), c.rows, c.cols, P(Z("String")), nullptr, nullptr, P(sep),
                           buffer),
                  c.code == -1 ? 10 : c.code);  // 10: the text does not fit the buffer
    }
    // A million elements with a 64-character separator still print.
    std::vector<double> many(std::size_t{1} << 20, 0.0);
    const std::string text =
        U(aPrint(P(Z("String")), nullptr, nullptr, P(Z(sep64)), 1, 1 << 20, many.data(), 1, 0));
    EXPECT_GT(text.size(), std::size_t{64} << 20);
}
