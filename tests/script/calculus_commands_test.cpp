// The calculus commands as a run sees them: file forms with their output
// files, the polynomial variable across runs, and the switches restored.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "api/lifecycle.h"
#include "platform/headless/headless.h"
#include "script/commands_calculus.h"
#include "script/interpreter.h"
#include "support/library_test.h"
#include "log/trace.h"

using namespace zrt;

namespace {

class CalculusCommandsTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        dir_ = std::filesystem::temp_directory_path() /
               ("quillet-calculus-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::filesystem::path dir_;
};

}  // namespace

TEST_F(CalculusCommandsTest, FileFormsWriteTheirResults) {
    write("i.txt", "(0;3;6;simpson;x) = x^2 ' comment\r\nsecond line\r\n");
    write("p.txt", "x^3-x\r\n");
    write("bad.txt", "x^2\r\n");
    const ScriptResult r = sEval("IntegrateF = " + path("i.txt") + " " + path("i.out") +
                                     "\r\nDerivateF = " + path("p.txt") + " " + path("p.out") +
                                     "\r\nIntegrateF = " + path("bad.txt"),
                                 {});
    EXPECT_EQ(r.code(), 3001) << r.output;
    EXPECT_NE(r.output.find("Ln 1: iFunction = x^2: =>(" + path("i.txt") + " " + path("i.out") +
                            ")\r\n Integral iFunction(0,3) => Number = 9\r\n"),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("Ln 2: Polyn = x^3-x:\r\n Derivate of Polyn => 3*x^2 - 1\r\n"),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("Ln 3: iFunction = "), std::string::npos);
    EXPECT_NE(r.output.find("ERROR n. = 13"), std::string::npos);
    EXPECT_EQ(read("i.out"), "Number = 9");
    EXPECT_EQ(read("p.out"), "3*x^2 - 1");
}

TEST_F(CalculusCommandsTest, PolynomialVariableOutlivesARun) {
    EXPECT_EQ(polynomialVariable(), "x");
    sEval("VarPolyn = Z", {});
    EXPECT_EQ(polynomialVariable(), "z");
    const ScriptResult r = sEval("Derivate = z^2+x^2\r\nSolvePolyn = z^2-16", {});
    EXPECT_EQ(r.output,
              "Ln 1: Polyn = z^2+x^2:\r\n Derivate of Polyn => 2*z + \r\n\r\n"
              "Ln 2: Polyn = z^2-16:\r\n Solution Polyn => Number = 4");
    resetLibraryForTests();
    EXPECT_EQ(polynomialVariable(), "x");
}

TEST_F(CalculusCommandsTest, TraceAndMessagesAreOffDuringAnIntegral) {
    zrt::SetDebugF(4);
    zrt::ShowMsgs(1);
    clearDebugLog();
    const ScriptResult r =
        sEval("Integrate(0;1;3;simpson;x) = x\r\nIntegrate(0;1;2;simpson;x) = 1/(x-0.5)", {});
    EXPECT_EQ(r.errors, 2);
    EXPECT_TRUE(headless::shownMessages().empty());
    EXPECT_EQ(debugLog(), "");
    EXPECT_EQ(debugMode(), 4);
    EXPECT_EQ(messageSwitch(), 1);
    ScriptOptions bare;
    bare.bare = true;
    EXPECT_EQ(sEval("Integrate(0;2;2;trap;x) = x", bare).output,
              "Ln 1: iFunction = x:                     \r\n Integral iFunction(0,2) =>  2");
}
