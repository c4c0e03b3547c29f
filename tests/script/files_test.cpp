#include "script/files.h"

#include <filesystem>
#include <fstream>

#include "platform/headless/headless.h"
#include "script/batchrun.h"
#include "script/flags.h"
#include "support/folder_test.h"

using namespace zrt;

namespace {

class FilesTest : public FolderTest {};

}  // namespace

TEST_F(FilesTest, EncodingsByByteOrderMark) {
    const std::string utf16le("\xFF\xFE" "E\0x\0p\0r\0 \0=\0 \0" "1\0\r\0\n\0\xE9\0", 24);
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"\xEF\xBB\xBF" "Expr = 1\r\n\xC3\xA9", "Expr = 1\r\n\xC3\xA9\r\n"},
        {utf16le, "Expr = 1\r\n\xC3\xA9\r\n"},
        {"Expr = 1\n\xE9", "Expr = 1\r\n\xC3\xA9\r\n"},          // 8-bit text
        {"Expr = 1\n\xC3\xA9", "Expr = 1\r\n\xC3\xA9\r\n"},      // UTF-8 without a mark
        {"a\rb\r\n\r\nc", "a\r\nb\r\n\r\nc\r\n"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string text, refusal;
        ASSERT_TRUE(decodeTextFile(c.bytes, text, refusal)) << c.bytes;
        EXPECT_EQ(text, c.text) << c.bytes;
    }
}

TEST_F(FilesTest, RefusedMarksAndBinaryFiles) {
    const char* unable = "\r\nUnable to convert the file. Try to save it in ASCII, UTF8 or Unicode format.";
    const struct {
        std::string bytes;
        std::string refusal;
    } cases[] = {
        {std::string("\xFE\xFF\0a", 4), std::string("UTF-16 (big endian) BOM detected.") + unable},
        {std::string("\xFF\xFE\0\0a\0\0\0", 8), std::string("UTF-32 (little endian) BOM detected.") + unable},
        {std::string("\0\0\xFE\xFF", 4), std::string("UTF-32 (big endian) BOM detected.") + unable},
        {std::string("MZ\x90\0\x03", 5), ""},
    };
    for (const auto& c : cases) {
        std::string text, refusal;
        EXPECT_FALSE(decodeTextFile(c.bytes, text, refusal));
        EXPECT_EQ(refusal, c.refusal);
    }
    write("s.zrt", std::string("\xFF\xFE\0\0", 4));
    batchRun().scriptText = "old";
    ParseCmdLine("/i " + path("s.zrt"));
    EXPECT_EQ(LoadSaveFile(FileMode::ReadInput), kExitNotRead);
    EXPECT_EQ(batchRun().scriptText, "");
    EXPECT_EQ(headless::shownMessages().back().title, "Quillet");
    EXPECT_EQ(headless::shownMessages().back().text.substr(0, 36), "UTF-32 (little endian) BOM detected.");
}

TEST_F(FilesTest, ReadFailuresKeepTheScriptText) {
    batchRun().scriptText = "kept";
    ParseCmdLine("/i " + path("missing.zrt"));
    EXPECT_EQ(LoadSaveFile(FileMode::ReadInput), kExitNotRead);
    EXPECT_EQ(batchRun().scriptText, "kept");
    EXPECT_EQ(headless::shownMessages().back().text, "Error 4: can't read the file\r\n" + path("missing.zrt"));
    write("bin.zrt", std::string("\x7F" "ELF\0\0\0", 7));
    ParseCmdLine("/i " + path("bin.zrt"));
    EXPECT_EQ(LoadSaveFile(FileMode::ReadInput), kExitNotRead);
    EXPECT_EQ(headless::shownMessages().back().text, "Error 4: can't read the file\r\n" + path("bin.zrt"));
}

TEST_F(FilesTest, OutputWritesUtf8AndAppendNeedsTheFile) {
    batchRun().scriptText = "\xC3\xA9 = 1\r\n";
    ParseCmdLine("/a " + path("out.zrt"));
    EXPECT_EQ(LoadSaveFile(FileMode::WriteOutput), kExitNotWritten);
    EXPECT_EQ(headless::shownMessages().back().text, "Error 5: can't open the file\r\n" + path("out.zrt"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out.zrt"));
    ParseCmdLine("/o " + path("out.zrt"));
    EXPECT_EQ(LoadSaveFile(FileMode::WriteOutput), kExitCompleted);
    ParseCmdLine("/a " + path("out.zrt"));
    EXPECT_EQ(LoadSaveFile(FileMode::WriteOutput), kExitCompleted);
    EXPECT_EQ(read("out.zrt"), "\xC3\xA9 = 1\r\n\xC3\xA9 = 1\r\n");
    ParseCmdLine("/o " + path("no/such/folder/out.zrt"));
    EXPECT_EQ(LoadSaveFile(FileMode::WriteOutput), kExitNotWritten);
    EXPECT_EQ(headless::shownMessages().back().text.substr(0, 31), "Error 9: can't write the file\r\n");
    EXPECT_EQ(read("out.zrt"), "\xC3\xA9 = 1\r\n\xC3\xA9 = 1\r\n");
}

TEST_F(FilesTest, DialogsAndTheFileRoutine) {
    EXPECT_EQ(LoadSaveFile(FileMode::ReadDialog), kExitCancelled);
    EXPECT_EQ(headless::shownMessages().back().text, "Error 1: Operation cancelled by user.");
    write("in.txt", "Expr = 2");
    headless::queueFileAnswer(path("in.txt"));
    batchRun().exitCode = kExitCompleted;
    EXPECT_EQ(LoadSaveFile(FileMode::ReadDialog), kExitCompleted);
    EXPECT_EQ(batchRun().scriptText, "Expr = 2\r\n");
    headless::queueFileAnswer(path("saved.txt"));
    EXPECT_EQ(LoadSaveFile(FileMode::WriteDialog), kExitCompleted);
    EXPECT_EQ(read("saved.txt"), "Expr = 2\r\n");

    bool ok = false;
    EXPECT_EQ(fileRoutine(path("in.txt"), "FILEINP", "", &ok), "Expr = 2\r\n");
    EXPECT_TRUE(ok);
    fileRoutine(path("o.txt"), "fileout", "result", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(read("o.txt"), "result");
    fileRoutine(path("nope.txt"), "fileinp", "", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(headless::shownMessages().back().text, "Error 3: Couldn't open the file!\r\n" + path("nope.txt"));
    fileRoutine(path("x/y/z.txt"), "fileout", "r", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(headless::shownMessages().back().text, "Error 1: can't write the file.\r\n" + path("x/y/z.txt"));
}

TEST_F(FilesTest, FilesBeyondTheSizeOfATextAreNotRead) {
    // Sparse files: their size costs no disk and, refused, no memory.
    for (std::uintmax_t size : {std::uintmax_t(kMaxTextFile) + 1, std::uintmax_t{1} << 40}) {
        write("big.zrt", "");
        std::filesystem::resize_file(dir_ / "big.zrt", size);
        std::string bytes, refusal;
        EXPECT_FALSE(readFileBytes(path("big.zrt"), bytes, &refusal));
        EXPECT_EQ(refusal.find("The file has " + std::to_string(size) + " bytes"), 0u) << refusal;
        EXPECT_TRUE(bytes.empty());
        ParseCmdLine("/i " + path("big.zrt"));
        EXPECT_EQ(LoadSaveFile(FileMode::ReadInput), kExitNotRead);
        EXPECT_EQ(headless::shownMessages().back().text, refusal);
        bool ok = true;
        fileRoutine(path("big.zrt"), "fileinp", "", &ok);
        EXPECT_FALSE(ok);
        EXPECT_EQ(headless::shownMessages().back().text, refusal);
    }
}
