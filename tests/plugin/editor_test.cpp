// Reading and writing the editor's documents.
#include "plugin/editor.h"

#include <algorithm>
#include <cstring>
#include <random>

#include "base/numtext.h"
#include "plugin/nppinterface.h"
#include "plugin/state.h"
#include "script/flags.h"
#include "support/plugin_fixture.h"

using namespace zrt;

class EditorTest : public PluginTest {};
QUILLET_BOTH_HOSTS(EditorTest);

TEST_P(EditorTest, TheActiveViewIsReadAndWritten) {
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

TEST_P(EditorTest, SelectionsReadBackWhole) {
    start();
    std::string doc;
    for (int i = 0; doc.size() < 70000; ++i) doc += static_cast<char>('a' + i % 26);
    host->main.text = doc;
    // Every read fills its buffer up to the terminating zero; the address
    // sanitizer sees a buffer one byte short. Lengths around the small-buffer
    // sizes and a long one, ending inside and at the end of the document.
    const struct {
        std::intptr_t from, length;
    } cases[] = {{5, 0},  {5, 1},    {0, 15},    {3, 16},     {3, 17},
                 {1, 31}, {0, 4096}, {7, 65536}, {69990, 10}, {0, 70000}};
    for (const auto& c : cases) {
        host->main.select(c.from + c.length, c.from);
        EXPECT_EQ(getSelection(),
                  doc.substr(static_cast<std::size_t>(c.from), static_cast<std::size_t>(c.length)))
            << c.length;
        // The tool-tip's distance test counts the text, whatever the host answered.
        EXPECT_EQ(pluginState().selectionLength, c.length + 1);
    }
}

TEST_P(EditorTest, LengthAnswersOfABrokenHostReadNothing) {
    start();
    host->main.text = "2+2\r\n";
    host->main.select(0, 3);
    for (std::intptr_t claimed : {std::intptr_t(-5), (std::intptr_t(1) << 30) + 1, INTPTR_MAX}) {
        host->main.claimedLength = claimed;
        EXPECT_EQ(getSelection(), "") << claimed;
        EXPECT_EQ(pluginState().selectionLength, 1);
        EXPECT_EQ(getCurrentLineText(), "") << claimed;
    }
}

TEST_P(EditorTest, TextRangesAskTheOlderMessageOnlyWhenNeeded) {
    start();
    host->main.text = "x = 1\r\nExpr = 2*3 + 4";
    host->main.caretAt(1, 10);
    EXPECT_EQ(getExpression(), "Expr = 2*3");
    const auto& unknown = host->main.unknown;
    const bool askedFull =
        std::count(unknown.begin(), unknown.end(), npp::SCI_GETTEXTRANGEFULL) > 0;
    const bool askedOld = std::count(unknown.begin(), unknown.end(), npp::SCI_GETTEXTRANGE) > 0;
    EXPECT_EQ(askedFull, GetParam() == fake::Generation::Old);
    EXPECT_FALSE(askedOld);
}

TEST_P(EditorTest, HostsWriteTheZeroWhereScintillaDoes) {
    // The fake hosts must write exactly where Scintilla writes for the
    // sanitizer to catch a short buffer: the text, then one zero, nothing more.
    start();
    fake::View& v = host->main;
    v.text = "first\r\nsecond line";
    v.select(7, 13);
    const bool old = GetParam() == fake::Generation::Old;
    const struct {
        unsigned message;
        const char* text;
    } cases[] = {{2161, "second"}, {2182, "first\r\nsecond line"}, {2027, "second line"}};
    for (const auto& c : cases) {
        const std::intptr_t answer = v.handle(c.message, 0, 0);
        const std::size_t length = std::strlen(c.text);
        EXPECT_EQ(answer, static_cast<std::intptr_t>(length + (old ? 1 : 0))) << c.message;
        std::string buffer(length + 8, '#');
        // The buffer size the message takes: the older one counts the zero.
        v.handle(c.message, length + (old ? 1 : 0), reinterpret_cast<std::intptr_t>(&buffer[0]));
        EXPECT_EQ(buffer, std::string(c.text) + '\0' + std::string(7, '#')) << c.message;
    }
}

TEST_P(EditorTest, LinesAndPositions) {
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

TEST_P(EditorTest, DocumentCodePages) {
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

TEST_P(EditorTest, LongFilePaths) {
    start();
    host->main.path = "C:\\" + std::string(400, 'd') + "\\calc.zrt";
    EXPECT_EQ(getFileName(), host->main.path);
}

TEST_P(EditorTest, InsertResult) {
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

TEST_P(EditorTest, SearchInTarget) {
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

TEST_P(EditorTest, TheSearchForAKeywordStopsFarAboveTheCaret) {
    // Each line further up searches from there to the caret again: far above
    // it the walk gives up instead of searching for minutes.
    start();
    const std::string line = std::string(100, 'a') + "\r\n";
    const struct {
        int lines;  // lines of text between the keyword and the caret
        bool found;
    } cases[] = {{10, true}, {100, true}, {3000, false}};
    for (const auto& c : cases) {
        std::string text = "Expr = 1\r\n";
        for (int k = 0; k < c.lines; ++k) text += line;
        host->main.text = text;
        host->main.caretAt(c.lines, 50);
        bool stopped = true;
        const std::string expression = getExpression(&stopped);
        EXPECT_EQ(expression.rfind("Expr = 1", 0) == 0, c.found) << c.lines;
        EXPECT_EQ(stopped, !c.found) << c.lines;
    }
}

TEST(TrimmedTexts, LineBreaksAndBlanksGoFromBothEndsInAnyMix) {
    // What trimming line breaks and blanks in turns until nothing changes gives.
    const auto inTurns = [](std::string out) {
        for (std::size_t before = out.size() + 1; out.size() != before;) {
            before = out.size();
            out = std::string(trimBlanks(TrimStr(out, "\r\n", false)));
        }
        return out;
    };
    std::mt19937 random(7);
    const char pieces[] = {'\r', '\n', ' ', 'a'};
    for (int trial = 0; trial < 2000; ++trial) {
        std::string text;
        for (int k = static_cast<int>(random() % 12); k > 0; --k) text += pieces[random() % 4];
        EXPECT_EQ(trimLineBreaksAndBlanks(text), inTurns(text)) << trial;
    }
}
