#include "log/trace.h"

#include "base/errors.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/library_test.h"

using namespace zrt;

class TraceTest : public LibraryTest {};

TEST_F(TraceTest, ModeBitsAreTestedInOrder) {
    const struct {
        int mode;
        bool text;
        bool box;
    } cases[] = {{0, false, false}, {1, false, false}, {5, false, false},
                 {2, false, true},  {6, false, true},  {4, true, false}};
    for (const auto& c : cases) {
        clearDebugLog();
        headless::clearShownMessages();
        EXPECT_EQ(zrt::SetDebugF(c.mode) >= 0, true);
        DebugAdd("line", "title");
        EXPECT_EQ(debugLog() == "\r\nline", c.text) << c.mode;
        EXPECT_EQ(headless::shownMessages().size() == 1, c.box) << c.mode;
        EXPECT_EQ(tracing(), c.text || c.box) << c.mode;
    }
    EXPECT_EQ(zrt::SetDebugF(1), 4);
}

TEST_F(TraceTest, GetDebugLogReturnsBytesAndOffersTheClipboard) {
    zrt::SetDebugF(4);
    DebugAdd("abc", "");
    EXPECT_EQ(::GetDebugLog(nullptr, 0, 1), 10);  // "\r\nabc": 5 characters
    EXPECT_TRUE(headless::shownMessages().empty());
    zrt_char buf[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(::GetDebugLog(buf, 3, 0), 10);
    EXPECT_EQ(buf[2], 0);
    EXPECT_EQ(buf[3], 'x');
    headless::queueAnswer(platform::kIdYes);
    zrt_char big[16];
    ::GetDebugLog(big, 16, 1);
    ASSERT_EQ(headless::shownMessages().size(), 1u);
    EXPECT_EQ(headless::shownMessages()[0].title, "Zerith.dll");
    EXPECT_EQ(headless::shownMessages()[0].text, "DEBUG LOG:\r\n(Yes => copy to Clipboard)\r\n\r\nabc");
    EXPECT_EQ(platform::clipboardText(), "\r\nabc");
}

TEST_F(TraceTest, EmptyErrorListShowsNone) {
    headless::queueAnswer(platform::kIdNo);
    zrt_char buf[8];
    EXPECT_EQ(::GetErrorMsgs(buf, 8, 1), 0);
    EXPECT_EQ(headless::shownMessages().back().text,
              "ERROR MESSAGES:\r\n(Yes => copy to Clipboard)\r\n\r\nNone");
}

TEST_F(TraceTest, MessageSwitch) {
    showEvalError("hidden");
    EXPECT_TRUE(headless::shownMessages().empty());
    zrt::SetDebugF(4);
    EXPECT_EQ(zrt::ShowMsgs(2), 0);
    EXPECT_EQ(debugMode(), 1);
    zrt::ShowMsgs(1);
    showEvalError("shown");
    ASSERT_EQ(headless::shownMessages().size(), 1u);
    EXPECT_EQ(headless::shownMessages()[0].title, "ZeRarove: Error");
    EXPECT_EQ(zrt::SetErrorMsgsF(3), 0);
    EXPECT_EQ(zrt::SetErrorMsgsF(0), 3);
}
