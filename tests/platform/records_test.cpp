// What the headless platform shows stays readable for tests, and bounded for
// long runs: a process that shows boxes for days must not grow without end.
#include <string>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/library_test.h"

using namespace zrt;

class RecordsTest : public LibraryTest {
   protected:
    void SetUp() override {
        LibraryTest::SetUp();
        headless::clearShownMessages();
        headless::clearDebugLines();
    }
};

TEST_F(RecordsTest, OnlyTheNewestRecordsAreKept) {
    // By text: three boxes of 10 MB keep only the newest.
    for (char c : std::string("abc")) platform::messageBox(std::string(10u << 20, c), "Zerith.dll");
    ASSERT_EQ(headless::shownMessages().size(), 1u);
    EXPECT_EQ(headless::shownMessages()[0].text.front(), 'c');
    // A single record larger than the bound is still kept whole.
    platform::messageBox(std::string(20u << 20, 'd'), "Zerith.dll");
    ASSERT_EQ(headless::shownMessages().size(), 1u);
    EXPECT_EQ(headless::shownMessages()[0].text.size(), 20u << 20);
    // By count: small records keep the newest 10000, in order.
    for (int i = 0; i < 10005; ++i) platform::debugOutput(std::to_string(i));
    ASSERT_EQ(headless::debugLines().size(), 10000u);
    EXPECT_EQ(headless::debugLines().front(), "5");
    EXPECT_EQ(headless::debugLines().back(), "10004");
}
