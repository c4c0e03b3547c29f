// The about text, the version block and the string-passing test exports.
#include "ui/about.h"

#include "support/library_test.h"

using namespace zrt;

class AboutTest : public LibraryTest {};

TEST_F(AboutTest, AboutTextAsComment) {
    EXPECT_EQ(PluginInfoText(true, true), "");
    const std::string text = PluginInfoText(true);
    std::size_t start = 0, lines = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2, ++lines)
        EXPECT_EQ(text[start], '\'') << lines;
    EXPECT_EQ(start, text.size());
    EXPECT_GT(lines, 10u);
    // The version the DLL's version block holds.
    EXPECT_NE(text.find("'Version: 0.0.4.8 - Built: 49. (Unicode version)\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 78), "'" + std::string(75, '-') + "\r\n");
}

TEST_F(AboutTest, AboutDisplayShowsTheTextInTheMessagesWindow) {
    headless::clearMessagesWindows();
    EXPECT_EQ(aboutDisplay(), 0);
    ASSERT_EQ(headless::messagesWindows().size(), 1u);
    EXPECT_EQ(headless::messagesWindows()[0].text, PluginInfoText(false) + "\r\n");
}

TEST_F(AboutTest, FilesWithoutVersionBlock) {
    zrt_char fileVersion[12] = {'k', 'e', 'e', 'p', 0};
    zrt_char productVersion[12] = {0};
    EXPECT_EQ(DisplayVerInfo(P(Z("/no/such/file")), fileVersion, productVersion), 0);
    ASSERT_EQ(headless::shownMessages().size(), 1u);
    EXPECT_EQ(headless::shownMessages()[0].text, "2");
    EXPECT_EQ(headless::shownMessages()[0].title, "");
    EXPECT_EQ(U(fileVersion), "keep");
    EXPECT_EQ(DisplayVerInfo(nullptr, nullptr, nullptr), 0);
}

TEST_F(AboutTest, TestStrings) {
    EXPECT_EQ(U(TestStr(P(Z("abc")))), "123");
    ASSERT_EQ(headless::shownMessages().size(), 2u);
    EXPECT_EQ(headless::shownMessages()[0].text, "st.s=.abc.");
    EXPECT_EQ(headless::shownMessages()[1].title, "TestStr 2");

    // The buffer gets the text only when the caller's text is long enough.
    const struct {
        const char* before;
        const char* after;
        const char* after2;
    } cases[] = {{"short", "short", "short"},
                 {"0123456789A", "aaaaaaaaaaa", "0123456789A"},
                 {"0123456789ABCDEF", "aaaaaaaaaaa", "aaaaaaaaaaaaaa"}};
    for (const auto& c : cases) {
        std::u16string buffer = Z(c.before);
        TestStrPtr(reinterpret_cast<zrt_char*>(&buffer[0]));
        EXPECT_EQ(U(P(buffer)), c.after) << c.before;
        buffer = Z(c.before);
        EXPECT_EQ(U(TestStrPtr2(reinterpret_cast<zrt_char*>(&buffer[0]))), c.after2) << c.before;
        EXPECT_EQ(U(P(buffer)), c.after2) << c.before;
    }
    TestStrPtr(nullptr);
    EXPECT_EQ(U(TestStrPtr2(nullptr)), "");
    EXPECT_EQ(U(TestStr(nullptr)), "123");
}

TEST_F(AboutTest, LibraryAboutBox) {
    EXPECT_EQ(::aAbout(), 0);
    const auto& box = headless::shownMessages().back();
    EXPECT_EQ(box.title, "About Zerith.dll - ");
    EXPECT_EQ(box.text.rfind("Library: Zerith.dll\r\nVersion: ", 0), 0u);
    EXPECT_NE(box.text.find("\r\nScope: a DLL library for numerical calculations (methods)"),
              std::string::npos);
}
