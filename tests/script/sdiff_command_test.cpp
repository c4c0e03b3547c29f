// The script commands sDiff and sDiffF as a script sees them: their echo and
// result lines, their errors, the file forms and the last sDiff status.
#include <filesystem>
#include <fstream>

#include "base/errors.h"
#include "script/flags.h"
#include "script/interpreter.h"
#include "sdiff/sdiff.h"
#include "support/library_test.h"

using namespace zrt;

namespace {

class SDiffCommandTest : public LibraryTest {
   protected:
    void SetUp() override {
        LibraryTest::SetUp();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("quillet-sdiff-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        batchFlags().CurDir = dir_.string() + "/";
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }
    std::filesystem::path dir_;
};

ScriptResult run(const std::string& script, ScriptOptions options = {}) {
    return sEval(script, options);
}

}  // namespace

// The golden script sdiff.zrt shows the lines of every outcome; here the
// run options and what reaches the command line of the interpreter.
TEST_F(SDiffCommandTest, RunOptionsAndCommandLines) {
    // The name in any case, blanks in the brackets, a comment after the formula.
    EXPECT_EQ(run("SDIFF( t ) = t^2 ' square").output, "Ln 1: f(t) = t^2:\r\nf'(t) => 2*t");
    // Bare results keep the command's own prefix; quiet runs drop the echo of
    // successful lines only.
    ScriptOptions bare;
    bare.bare = true;
    EXPECT_EQ(run("sDiff(x) = sin(x)", bare).output, "Ln 1: f(x) = sin(x):\r\nf'(x) => cos(x)");
    ScriptOptions quiet;
    quiet.quiet = true;
    const ScriptResult r = run("sDiff(x) = sin(x)\r\nsDiff() = x*2", quiet);
    EXPECT_EQ(r.output,
              "f'(x) => cos(x)\r\n\r\nLn 2: f() = x*2:\r\n Result => ===> ERROR n. = 13: Invalid "
              "parameter/argument   (Module: eval)");
    EXPECT_EQ(r.code(), 2001);
}

// A derivative longer than the 1000 characters of the first buffer comes out
// whole.
TEST_F(SDiffCommandTest, LongDerivativesComeOutWhole) {
    std::string formula = "x";
    for (int i = 0; i < 150; ++i) formula += "+sin(" + std::to_string(i) + "*x)";
    const ScriptResult r = run("sDiff(x) = " + formula);
    const std::string prefix = "f'(x) => ";
    const std::size_t at = r.output.find(prefix);
    ASSERT_NE(at, std::string::npos);
    const std::string printed = r.output.substr(at + prefix.size());
    std::string direct;
    ASSERT_GT(zrt::eDiff(formula, "x", direct), 1000);
    EXPECT_EQ(printed, direct);
}

TEST_F(SDiffCommandTest, FileFormsReadAndWrite) {
    write("f.txt", "x^3*sin(x)\r\n");
    ScriptResult r = run("sDiffF(x) = f.txt");
    EXPECT_EQ(r.output, "Ln 1: f(x) = x^3*sin(x):\r\nf'(x) => 3*x^2*sin(x)+cos(x)*x^3");
    EXPECT_FALSE(exists("d.txt"));

    // The output file holds the derivative alone, so that it can be read again.
    r = run("sDiffF(x) = f.txt d.txt\r\nsDiffF(x) = d.txt d2.txt");
    EXPECT_EQ(r.code(), 2000);
    EXPECT_EQ(read("d.txt"), "3*x^2*sin(x)+cos(x)*x^3");
    EXPECT_EQ(read("d2.txt"), "2*x*3*sin(x)+cos(x)*3*x^2+((-sin(x)))*x^3+3*x^2*cos(x)");

    // A file may name the variable as a command line does; the command's own
    // variable comes first. Without one anywhere the line is refused.
    write("t.txt", "sDiff(t) = a*t^3\r\n");
    EXPECT_EQ(run("sDiffF = t.txt").output, "Ln 1: f(t) = a*t^3:\r\nf'(t) => 3*t^2*a");
    write("u.txt", "(u) = u^2");
    EXPECT_EQ(run("sDiffF(a) = t.txt\r\nsDiffF = u.txt").output,
              "Ln 1: f(a) = a*t^3:\r\nf'(a) => t^3\r\n\r\nLn 2: f(u) = u^2:\r\nf'(u) => 2*u");
    EXPECT_EQ(run("sDiffF = f.txt").output,
              "Ln 1: f() = x^3*sin(x):\r\n Result => ===> ERROR n. = 13: Invalid "
              "parameter/argument   (Module: eval)");

    // No output for a formula without a derivative; a missing input is an error.
    write("bad.txt", "x^-1");
    r = run("sDiffF(x) = bad.txt out.txt\r\nsDiffF(x) = none.txt out.txt");
    EXPECT_EQ(r.code(), 2002);
    EXPECT_FALSE(exists("out.txt"));
    EXPECT_NE(r.output.find("Ln 2: f(x) = none.txt out.txt:\r\n Result => ===> ERROR n. = 13"),
              std::string::npos);
}

// The status of the last sDiff: its code, and -1 again from the next line on.
TEST_F(SDiffCommandTest, LastStatusFollowsEveryLine) {
    const struct {
        const char* script;
        int status;
    } cases[] = {
        {"sDiff(x) = x^2", -1},
        {"sDiff(x) = (x", 6},
        {"sDiff(x) = x/0", 8},
        {"sDiff(x) =  ", 7},
        {"sDiff = x", 13},
        {"sDiffF(x) = no_such_file.txt", 13},
        {"sDiff(x) = (x\r\nExpr = 1", -1},
        {"sDiff(x) = (x\r\n' a comment", -1},
        {"sDiff(x) = (x\r\n", -1},  // the empty line after it is a line too
        {"Expr = 1/0", -1},
    };
    for (const auto& c : cases) {
        setLastSDiffStatus(99);
        run(c.script);
        EXPECT_EQ(lastSDiffStatus(), c.status) << c.script;
    }
}
