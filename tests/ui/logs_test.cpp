// The plug-in log, the file trace DebugF and the error-message exports.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/errors.h"
#include "support/library_test.h"
#include "log/debugfile.h"
#include "ui/msgwindow.h"
#include "log/pluginlog.h"
#include "log/trace.h"
#include "script/runlog.h"

using namespace zrt;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

class LogsTest : public LibraryTest {
   protected:
    void SetUp() override {
        LibraryTest::SetUp();
        log_ = (std::filesystem::temp_directory_path() /
                ("quillet-logs-" + std::to_string(::getpid()) + ".dbg"))
                   .string();
        std::filesystem::remove(log_);
        setDbgPath(log_);
    }
    void TearDown() override { std::filesystem::remove(log_); }
    std::string log_;
};

TEST_F(LogsTest, LineLayoutAndModes) {
    EXPECT_EQ(pluginLogLine("getEdit", ": x"), "Proc: getEdit()           : x");
    EXPECT_EQ(pluginLogLine("AVeryLongProcedureName", ": x"), "Proc: AVeryLongProcedureNa: x");
    setPbDebug(1);
    pluginLog("getEdit", ": one");
    EXPECT_EQ(headless::debugLines().back(), "Proc: getEdit()           : one");
    setPbDebug(3);
    pluginLogEnd("getEdit");
    EXPECT_EQ(headless::shownMessages().back().text,
              "Proc: getEdit        : " + std::string(70, '-'));
    EXPECT_EQ(headless::shownMessages().back().title, "");
    setPbDebug(2);
    pluginLog("a", ": 1");
    pluginLog("b", ": 2");
    EXPECT_EQ(readAll(log_), "Proc: a()                 : 1\r\nProc: b()                 : 2\r\n");
    setPbDebug(0);
    pluginLog("c", ": 3");
    EXPECT_EQ(readAll(log_).size(), 62u);
    // A log file that cannot be opened loses the line quietly.
    setDbgPath(
        (std::filesystem::temp_directory_path() / "no-such-folder-quillet" / "x.dbg").string());
    setPbDebug(2);
    pluginLog("d", ": 4");
    EXPECT_EQ(headless::shownMessages().size(), 1u);
}

TEST_F(LogsTest, StartPluginLogReplacesTheFile) {
    std::ofstream(log_) << "old lines\r\n";
    setPbDebug(2);
    StartPluginLog();
    const std::string text = readAll(log_);
    EXPECT_EQ(text.find("old lines"), std::string::npos);
    EXPECT_EQ(text.rfind("Quillet.dll", 0), 0u);
    EXPECT_NE(text.find("\r\nBatchRun : Time "), std::string::npos);
    EXPECT_NE(text.find("\r\nLog File : \"" + log_ + "\"\r\n" + std::string(67, '-') + "\r\n"),
              std::string::npos);
}

TEST_F(LogsTest, DebugF) {
    const std::string file = debugFilePath();
    std::filesystem::remove(file);
    EXPECT_EQ(DebugF("skipped", 0, 1), 0);
    EXPECT_FALSE(std::filesystem::exists(file));
    DebugF("one", 1, 0);
    DebugF("two", 0, 0);
    EXPECT_EQ(readAll(file), "one\r\ntwo\r\n");
    DebugF("three", 7, 0);
    EXPECT_EQ(readAll(file), "three\r\n");
    DebugF("debugger", 2, 0);
    EXPECT_EQ(headless::debugLines().back(), "debugger");
    std::filesystem::remove(file);
    // Through the export, with a null text.
    EXPECT_EQ(::DebugF(nullptr, 0, 0), 0);
    EXPECT_EQ(readAll(file), "\r\n");
    std::filesystem::remove(file);
    EXPECT_TRUE(headless::shownMessages().empty());
}

TEST_F(LogsTest, SetErrorMsgsAppendsToTheErrorLog) {
    const int32_t n = ::SetErrorMsgs(P(Z("MyProc")), 12, P(Z("went wrong")));
    EXPECT_EQ(n, static_cast<int32_t>(errorLog().size()));
    EXPECT_NE(errorLog().find("Procedure : 'MyProc (Line: 12)'"), std::string::npos);
    EXPECT_NE(errorLog().find("went wrong"), std::string::npos);
    EXPECT_GT(::SetErrorMsgs(nullptr, -1, nullptr), n);
    EXPECT_EQ(::GetErrorMsgs(nullptr, 0, 1), static_cast<int32_t>(errorLog().size() * 2));
}

TEST_F(LogsTest, DebugAddReturnsTheTraceWhenAsked) {
    zrt::SetDebugF(4);
    EXPECT_EQ(DebugAdd("a", "t", false), "");
    EXPECT_EQ(DebugAdd("b", "t", true), "\r\na\r\nb");
    zrt::SetDebugF(5);
    EXPECT_EQ(DebugAdd("c", "t", true), "\r\na\r\nb");
}

TEST_F(LogsTest, MessagesWindow) {
    headless::clearMessagesWindows();
    ShowMsgWindow("first", false);
    ShowMsgWindow("second", false);
    ShowMsgWindow("to the console", true);
    const auto& w = headless::messagesWindows();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].title, "Quillet Plugin for Notepad++");
    EXPECT_FALSE(w[0].replacedOpenWindow);
    EXPECT_TRUE(w[1].replacedOpenWindow);
    EXPECT_TRUE(w[2].console);
}
