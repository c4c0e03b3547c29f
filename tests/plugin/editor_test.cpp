// Reading and writing the editor's documents.
#include "plugin/editor.h"

#include "plugin/state.h"
#include "script/flags.h"
#include "support/plugin_fixture.h"

using namespace zrt;

class EditorTest : public PluginTest {};

TEST_F(EditorTest, TheActiveViewIsReadAndWritten) {
    start();
    host->main.text = "main text";
    host->main.select(0, 4);
    host->second.text = "second text";
    host->second.select(7, 11);
    EXPECT_EQ(getSelection(), "main");
    host->currentView = 1;
    EXPECT_EQ(getSelection(), "text");
    EXPECT_EQ(pluginState().selectionLength, 5);
    EXPECT_EQ(getFileName(), "C:\\work\\new 2");
    InsertResult("5", true);
    EXPECT_EQ(host->second.text, "second text\r\n5\r\n");
    EXPECT_EQ(host->main.text, "main text");
}

TEST_F(EditorTest, SelectionsOfEveryScintilla) {
    start();
    host->main.text = "a\r\nb";
    for (bool oldScintilla : {false, true}) {
        host->main.oldSelTextLength = oldScintilla;
        host->main.select(2, 2);
        EXPECT_EQ(getSelection(), "") << oldScintilla;
        EXPECT_EQ(pluginState().selectionLength, 1);
        host->main.select(4, 0);
        EXPECT_EQ(getSelection(), "a\r\nb") << oldScintilla;
    }
}

TEST_F(EditorTest, LinesAndPositions) {
    start();
    host->main.text = "first\r\n\r\nthird line";
    host->main.select(11, 13);
    int column = -1;
    EXPECT_EQ(getCurLineNr(false, &column), 3);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(getCurLineNr(true), 3);
    int mark = 0;
    EXPECT_EQ(getInsertPos(&mark), 19);
    EXPECT_EQ(mark, 1);
    host->main.caretAt(1);
    EXPECT_EQ(getInsertPos(&mark), 7);
    EXPECT_EQ(mark, -1);
    host->main.caretAt(0, 3);
    EXPECT_EQ(getCurrentLineText(), "first\r\n");
    host->main.caretAt(2);
    EXPECT_EQ(getCurrentLineText(), "third line");
}

TEST_F(EditorTest, DocumentCodePages) {
    start();
    // UTF-8 (today's documents) crosses unchanged; an ANSI document in its code page.
    host->main.text = "x = \xE2\x82\xAC \xC3\xA9";
    host->main.select(0, static_cast<std::intptr_t>(host->main.text.size()));
    EXPECT_EQ(getSelection(), "x = \xE2\x82\xAC \xC3\xA9");
    host->main.codePage = 0;
    host->main.text = "x = \x80 \xE9";
    host->main.select(0, 7);
    EXPECT_EQ(getSelection(), "x = \xE2\x82\xAC \xC3\xA9");
    host->main.text = "";
    InsertResult("\xC3\xA9\xE2\x82\xAC\xE4\xB8\x80", true);
    EXPECT_EQ(host->main.text, "\xE9\x80?\r\n");
}

TEST_F(EditorTest, LongFilePaths) {
    start();
    host->main.path = "C:\\" + std::string(400, 'd') + "\\calc.zrt";
    EXPECT_EQ(getFileName(), host->main.path);
}

TEST_F(EditorTest, InsertResult) {
    start();
    const struct {
        const char* doc;
        int line;
        const char* result;
        bool newLine, hide, quiet;
        int eol;
        const char* after;
    } cases[] = {
        {"2+3\r\nnext", 0, "5", true, false, false, 0, "2+3\r\n5\r\n\r\nnext"},
        {"2+3\r\nnext", 0, "\r\n 5 \r\n\r\n", true, false, false, 0, "2+3\r\n5\r\n\r\nnext"},
        {"2+3\r\nnext", 0, "5", true, true, true, 0, "2+3 = 5\r\n\r\nnext"},
        {"2+3\r\nnext", 0, "a=5", true, true, true, 0, "2+3a=5\r\n\r\nnext"},
        {"2+3\r\nnext", 0, "5", true, true, false, 0, "2+35\r\n\r\nnext"},
        {"\r\nnext", 0, "5", true, false, false, 0, "5\r\n\r\nnext"},
        {"\r\nnext", 0, "C:\\f.txt", false, false, false, 0, "C:\\f.txt\r\n\r\nnext"},
        {"2+3", 0, "C:\\f.txt", false, false, false, 0, "2+3\r\nC:\\f.txt"},
        {"2+3\nnext", 0, "a\r\nb", true, false, false, 2, "2+3\na\nb\n\nnext"},
    };
    for (const auto& c : cases) {
        host->main.text = c.doc;
        host->main.eolMode = c.eol;
        host->main.caretAt(c.line);
        pluginState().hideExprLineF = c.hide;
        batchFlags().noLnExpF = c.quiet;
        EXPECT_EQ(InsertResult(c.result, c.newLine), 0);
        EXPECT_EQ(host->main.text, c.after) << c.result;
    }
    EXPECT_TRUE(headless::shownMessages().empty());
    for (const char* nothing : {"", "\r\n", " \r\n  \r\n"}) {
        headless::clearShownMessages();
        host->main.text = "2+3";
        InsertResult(nothing, true);
        EXPECT_EQ(host->main.text, "2+3");
        ASSERT_EQ(headless::shownMessages().size(), 1u);
        EXPECT_EQ(headless::shownMessages()[0].text, "No output!");
        EXPECT_EQ(headless::shownMessages()[0].title, "Evaluator");
    }
}

TEST_F(EditorTest, SearchInTarget) {
    start();
    host->main.text = "Expr = 2 'comment Var";
    const struct {
        std::intptr_t start, end;
        const char* text;
        std::intptr_t found;
    } cases[] = {{0, 21, "'", 9},
                 {0, 21, "var", 18},
                 {0, 17, "var", -1},
                 {0, 21, "exp", -1},
                 {1, 21, "Expr", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(searchInTarget(&host->main, c.start, c.end, 2, c.text), c.found) << c.text;
}
