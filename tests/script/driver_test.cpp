#include "script/driver.h"

#include <filesystem>
#include <fstream>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "memory/varstore.h"
#include "script/batch_state.h"
#include "script/batchrun.h"
#include "script/flags.h"
#include "support/folder_test.h"

using namespace zrt;

namespace {

class DriverTest : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        batchFlags().CurDir = dir_.string() + "/";
        headless::clearShownScreens();
    }
};

}  // namespace

TEST_F(DriverTest, SelectionRunsAndLandsInTheResultText) {
    EXPECT_EQ(zrtEvalMain(" /noh /sclp /sel:'Expr = 1+1' /"), kExitCompleted);
    EXPECT_EQ(zrtResStr(), "Ln 1: EXPR = 1+1:                     \r\n Result => Number = 2\r\n");
    EXPECT_EQ(platform::clipboardText(), zrtResStr());
    EXPECT_EQ(zrtEvalMain(" /sel:'Expr = 6/3\nExpr = 2' /"), kExitCompleted);
    EXPECT_NE(zrtResStr().find("Ln 2: EXPR = 2"), std::string::npos);  // "\n" alone ends a line too
}

TEST_F(DriverTest, HelpAndScreensRunNothing) {
    EXPECT_EQ(zrtEvalMain("/h"), kExitCompleted);
    ASSERT_EQ(headless::shownScreens().size(), 1u);
    EXPECT_EQ(headless::shownScreens()[0].substr(0, 40), "Syntax: Quillet [parameters], Quillet /h");
    EXPECT_EQ(zrtResStr(), "");
    zrtEvalMain("/sm");
    EXPECT_EQ(headless::shownScreens().back(),
              "Show Memory:\r\n\r\nVariables:\r\n \r\n\r\nFunctions:\r\n \r\n\r\nMatrix List: Count:0\r\n\r\n");
    // A screen is shown once: the next run evaluates.
    EXPECT_EQ(zrtEvalMain("/sel:'Expr = 3' /"), kExitCompleted);
    EXPECT_NE(zrtResStr().find("Number = 3"), std::string::npos);
}

// A "/del" of a run that ends early (a screen, a missing script) deletes
// nothing later: the next run appends to the output the user kept.
TEST_F(DriverTest, DeletionAskedByARunThatEndedEarlyStaysWithIt) {
    write("s.zrt", "Expr = 1\r\n");
    for (const std::string& first :
         std::vector<std::string>{"/del /h", "/del /sm", "/del /i " + path("missing.zrt")}) {
        write("Result.zrt", "kept\r\n");
        zrtEvalMain(first);
        EXPECT_EQ(zrtEvalMain("/i " + path("s.zrt") + " /a " + path("Result.zrt")), kExitCompleted);
        EXPECT_EQ(read("Result.zrt").rfind("kept\r\n", 0), 0u) << first;
    }
}

TEST_F(DriverTest, InputSourcesAndTheirFailures) {
    EXPECT_EQ(zrtEvalMain("/noh"), kExitNoInput);
    EXPECT_EQ(zrtEvalMain("/i " + path("missing.zrt")), kExitNotRead);
    EXPECT_EQ(headless::shownMessages().back().text.substr(0, 30), "Error 4: can't read the file\r\n");
    EXPECT_EQ(zrtResStr(), "");
    platform::setClipboardText("Expr = 7\r\n");
    EXPECT_EQ(zrtEvalMain("/gclp /noh"), kExitCompleted);
    EXPECT_NE(zrtResStr().find("Number = 7"), std::string::npos);
}

TEST_F(DriverTest, FileRunsWriteHeaderAndEndLine) {
    write("s.zrt", "Expr = 2*21\r\nfoo = 1\r\n");
    EXPECT_EQ(zrtEvalMain("/i " + path("s.zrt") + " /o"), kExitCompleted);
    const std::string out = read("Result.zrt");
    EXPECT_EQ(out.substr(0, 41), "'Incorporates library Zerith.dll - rel. 0");
    EXPECT_NE(out.find("\r\n'Executed Commands: 2, Errors found: 1\r\n'" + std::string(84, '*') + "\r\n"),
              std::string::npos);
    const std::size_t end = out.rfind("'--- End Of BatchRun : Time ");
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(out.size() - end, 84u + 2u);
    EXPECT_EQ(out.substr(out.size() - 4), "--\r\n");
    EXPECT_TRUE(batchRun().outputWritten);

    // Without an output file named, the output goes to Result.zrt beside the input.
    resetLibraryForTests();
    batchFlags().CurDir = dir_.string() + "/";
    std::filesystem::remove(dir_ / "Result.zrt");
    EXPECT_EQ(zrtEvalMain("/noh /i " + path("s.zrt")), kExitCompleted);
    EXPECT_TRUE(batchRun().outputWritten);
    EXPECT_EQ(read("Result.zrt").substr(0, 6), "Ln 1: ");
    EXPECT_EQ(zrtResStr().substr(0, 6), "Ln 1: ");

    // A host that takes such output itself (the command line tool) gets no file.
    resetLibraryForTests();
    batchFlags().CurDir = dir_.string() + "/";
    std::filesystem::remove(dir_ / "Result.zrt");
    batchRun().hostTakesUnnamedOutput = true;
    EXPECT_EQ(zrtEvalMain("/noh /i " + path("s.zrt")), kExitCompleted);
    EXPECT_FALSE(batchRun().outputWritten);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "Result.zrt"));
    EXPECT_EQ(zrtEvalMain("/noh /i " + path("s.zrt") + " /o"), kExitCompleted);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "Result.zrt"));
}

TEST_F(DriverTest, LoggingOnlyWhenAsked) {
    EXPECT_EQ(zrtEvalMain("/sel:'Expr = 1' /"), kExitCompleted);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "zrtCmds.log"));
    EXPECT_EQ(zrtEvalMain("/log /sel:'Expr = 1' /"), kExitCompleted);
    const std::string log = read("zrtCmds.log");
    EXPECT_NE(log.find("Expression    : \"Expr = 1\""), std::string::npos);
    // The output's length is counted in characters, not in UTF-8 bytes.
    SetVarFunct("grüße", "4", ListKind::Vars);
    EXPECT_EQ(zrtEvalMain("/noh /log /sel:'Show(grüße)' /"), kExitCompleted);
    EXPECT_EQ(zrtResStr(), "Ln 1: Show(grüße) => Number grüße = 4\r\n");
    EXPECT_NE(read("zrtCmds.log").find("Eval Codes    : Ret = 39, ExitCode = -1"), std::string::npos);
    EXPECT_NE(log.find("Evaluation End: Exit code: -1\r\n" + std::string(53, '-') + "\r\n"),
              std::string::npos);
}

TEST_F(DriverTest, BadInputEndsWithTheSystemsMessage) {
    write("bin.zrt", std::string("MZ\0\0\x90", 5));
    EXPECT_EQ(zrtEvalMain("/i " + path("bin.zrt")), kExitNotRead);
    // "/o" after "/sel" takes the selection back: no input is left.
    EXPECT_EQ(zrtEvalMain("/sel:'Expr = 1' /o " + path("x.zrt")), kExitNoInput);
    write("s.zrt", "Expr = 1\r\n");
    EXPECT_EQ(zrtEvalMain("/i " + path("s.zrt") + " /o " + path("no\\such\\dir\\out.zrt")), kExitNotWritten);
    EXPECT_EQ(headless::shownMessages().back().text.substr(0, 31), "Error 9: can't write the file\r\n");
    resetLibraryForTests();
    batchFlags().CurDir = dir_.string() + "/";
    EXPECT_EQ(zrtEvalMain(std::string(1 << 20, 'x')), kExitNoInput);
    std::string big;
    for (int i = 0; i < 200000; ++i) big += "Expr = 1+1 ' some padding to make the script larger...\r\n";
    write("big.zrt", big);  // about 11 MB
    EXPECT_EQ(zrtEvalMain("/noh /i " + path("big.zrt")), kExitCompleted);
    EXPECT_EQ(zrtResStr().size() > 1000u, true);
}
