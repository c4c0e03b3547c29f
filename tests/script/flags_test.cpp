#include "script/flags.h"

#include "support/library_test.h"

using namespace zrt;

class FlagsTest : public LibraryTest {};

namespace {
bool startsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }
bool endsWith(const std::string& s, const std::string& p) {
    return s.size() >= p.size() && s.compare(s.size() - p.size(), p.size(), p) == 0;
}
}  // namespace

TEST_F(FlagsTest, EditorLinesSetTheirFlags) {
    ParseCmdLine(" /noh /sclp /log  /nln  /nt  /sel:'Expr = 6/3' /");
    const BatchFlags& f = batchFlags();
    EXPECT_TRUE(f.NoHF && f.SaveToClpBF && f.logF && f.noLnExpF && f.bareF && f.getFromSelTextF);
    EXPECT_EQ(f.quietParam, " /nln ");
    EXPECT_EQ(f.selText, "'Expr = 6/3'");
    EXPECT_EQ(f.logFileN, "");
    ParseCmdLine(" /sel:'1' /");
    EXPECT_FALSE(batchFlags().bareF);  // cleared by every parse
    EXPECT_TRUE(batchFlags().noLnExpF);  // kept from the earlier run
}

TEST_F(FlagsTest, SelectionKeepsEverySlash) {
    const struct {
        const char* line;
        const char* sel;
    } cases[] = {
        {" /sel:'Expr = x/log(2)/sclp' /", "'Expr = x/log(2)/sclp'"},
        {" /sel:'a/b' /noh /", "'a/b'"},
        {" /sel:1/2/3 /noh", "1/2/3 "},  // no quotes: pieces that are no parameters join back
        {" /sel:'Var = a ; 1\r\nExpr = a/2' /", "'Var = a ; 1\r\nExpr = a/2'"},
        {" /sel:'it''s' /", "'it''s'"},
    };
    for (const auto& c : cases) {
        ParseCmdLine(c.line);
        EXPECT_EQ(batchFlags().selText, c.sel) << c.line;
    }
    ParseCmdLine(" /sel:'a/b' /noh /");
    EXPECT_TRUE(batchFlags().NoHF);
}

TEST_F(FlagsTest, FilesAndDefaultOutput) {
    ParseCmdLine("/i C:\\calc\\script.zrt /a");
    const BatchFlags& f = batchFlags();
    EXPECT_EQ(f.InpFN, "C:\\calc\\script.zrt");
    EXPECT_EQ(f.OutpFN, "C:\\calc\\Result.zrt");
    EXPECT_TRUE(f.AppendF && f.NoHF && f.outputF && f.inputF);
    ParseCmdLine("/sel:'Expr = 1' /");
    ParseCmdLine("/i C:\\calc\\script.zrt");
    EXPECT_TRUE(f.inputF && !f.getFromSelTextF);  // a file named later wins over an earlier selection
    ParseCmdLine("/o D:\\out.zrt");
    EXPECT_EQ(f.OutpFN, "D:\\out.zrt");  // a new file the user named is kept
    EXPECT_FALSE(f.AppendF || f.NoHF);
}

TEST_F(FlagsTest, LinesCorrectionDecimalsAndOddKeys) {
    ParseCmdLine("/lns:1;12;23 /lc:-2 /dec:3 /spl:C:\\pics\\ /log:run.log");
    const BatchFlags& f = batchFlags();
    EXPECT_EQ(f.LnsStr, ";1;12;23;");
    EXPECT_TRUE(f.lnsF && f.AppendF && f.NoHF);
    EXPECT_EQ(f.lineCorrection, -2);
    EXPECT_EQ(f.decimals, 3);
    EXPECT_FALSE(f.delF);  // "/dec" never means "/del"
    EXPECT_EQ(f.splPath, "C:\\pics\\");
    EXPECT_EQ(f.logFileN, "run.log");
    ParseCmdLine("/rr /quit /w /pb /del");
    EXPECT_FALSE(f.rrF || f.quitF);
    EXPECT_TRUE(f.windowF && f.progressF && f.delF);
    ParseCmdLine("/gclp");
    EXPECT_TRUE(f.getFromClpF);
    ParseCmdLine("/dec:x");
    EXPECT_EQ(f.decimals, 3);
}

TEST_F(FlagsTest, ParameterWordsDecideByTheirFirstTwoLetters) {
    const struct {
        const char* piece;
        const char* key;  // null: no parameter
        ParamKind kind;
    } cases[] = {
        {"nohead ", "no", ParamKind::Word},     {"NOH ", "no", ParamKind::Word},
        {"i ", "i ", ParamKind::FileName},      {"i file.zrt ", "i ", ParamKind::FileName},
        {"i:file.zrt ", nullptr, ParamKind::Word}, {"ifoo ", nullptr, ParamKind::Word},
        {"a ", "a ", ParamKind::FileName},      {"log:", "lo", ParamKind::FileAfterColon},
        {"spl ", "sp", ParamKind::FileAfterColon}, {"sel:'x'", "se", ParamKind::Selection},
        {"dec:3 ", "de", ParamKind::Word},      {"gclp ", "gc", ParamKind::Word},
        {"quit ", "qu", ParamKind::Word},       {"help ", nullptr, ParamKind::Word},
        {"2 ", nullptr, ParamKind::Word},       {"", nullptr, ParamKind::Word},
    };
    for (const auto& c : cases) {
        const Parameter* key = parameterKey(c.piece);
        if (!c.key) {
            EXPECT_EQ(key, nullptr) << c.piece;
            continue;
        }
        ASSERT_NE(key, nullptr) << c.piece;
        EXPECT_STREQ(key->key, c.key) << c.piece;
        EXPECT_EQ(key->kind, c.kind) << c.piece;
    }
}

// Each row of the parameter table: the word the help screen shows leads back
// to the row itself, and a row on the help screen has help text.
TEST_F(FlagsTest, ParameterTableRows) {
    int rows = 0;
    for (const Parameter* p = parameterTable(); p->key; ++p, ++rows) {
        ASSERT_EQ(std::string(p->key).size(), 2u);
        ASSERT_EQ(p->usage[0], '/') << p->usage;
        EXPECT_EQ(parameterKey(std::string(p->usage + 1) + " "), p) << p->usage;
        EXPECT_EQ(p->helpBlock != 0, p->help[0] != '\0') << p->usage;
        if (p->helpBlock) {
            EXPECT_NE(helpText().find("\r\n " + std::string(p->usage) + " "), std::string::npos);
        }
    }
    EXPECT_EQ(rows, 27);
}

// What a parameter asks of one run is gone in the next parse; settings stay.
TEST_F(FlagsTest, OneRunRequestsEndWithTheirRun) {
    const BatchFlags& f = batchFlags();
    const struct {
        const char* line;
        bool (*set)(const BatchFlags&);
    } cases[] = {
        {"/i C:\\a.zrt /a /lns:3 /lc:0 /noh", [](const BatchFlags& g) { return g.lnsF; }},
        {"/lns:1;2", [](const BatchFlags& g) { return !g.LnsStr.empty(); }},
        {"/lc:5", [](const BatchFlags& g) { return g.lineCorrectionF || g.lineCorrection != 0; }},
        {"/del", [](const BatchFlags& g) { return g.delF; }},
        {"/i C:\\a.zrt /o /log /pbar", [](const BatchFlags& g) { return g.progressF; }},
        {"/nt", [](const BatchFlags& g) { return g.bareF; }},
        {"/h /sm /lg /sf /cm /ab", [](const BatchFlags& g) {
             return g.helpF || g.showMemF || g.showLogF || g.showFlagsF || g.showCmdsF || g.aboutF;
         }},
    };
    for (const auto& c : cases) {
        ParseCmdLine(c.line);
        EXPECT_TRUE(c.set(f)) << c.line;
        ParseCmdLine(" /noh /sclp /log /sel:'Expr = 1' /");
        EXPECT_FALSE(c.set(f)) << "after " << c.line;
    }
    ParseCmdLine("/dec:2 /log /sclp");
    ParseCmdLine("/noh");
    EXPECT_TRUE(f.decimals == 2 && f.logF && f.SaveToClpBF);  // settings outlive the run
}

TEST_F(FlagsTest, ResetClearsTheRunFlags) {
    ParseCmdLine("/i a.zrt /o /nln /lc:4 /spl:x");
    ParseCmdLine("/rset");
    const BatchFlags& f = batchFlags();
    EXPECT_TRUE(f.rsetF);
    EXPECT_TRUE(f.InpFN.empty() && f.OutpFN.empty() && !f.inputF && !f.outputF);
    EXPECT_TRUE(!f.noLnExpF && f.quietParam.empty() && f.splPath.empty());
    EXPECT_EQ(f.lineCorrection, 0);
}

TEST_F(FlagsTest, HelpAndDumpTexts) {
    const std::string help = helpText();
    EXPECT_TRUE(startsWith(help, "Syntax: Quillet [parameters], Quillet /h\r\n\r\nparameters:\r\n /i "));
    EXPECT_NE(help.find("\r\n /spl[:path\\] Save PLots screenshots (jpg) in path with sequantial\r\n"),
              std::string::npos);
    EXPECT_TRUE(endsWith(help, "\r\n es. 123002 means 123 Commands Executed and 2 Errors encountered"));
    ParseCmdLine("/i x.zrt");
    const std::string dump = flagsDump();
    EXPECT_TRUE(startsWith(dump, "Flags and Variables:\r\nInpFN = x.zrt\r\nlnsF = 0\r\n"));
    EXPECT_NE(dump.find("\r\ngetFromSelTextF = 0\r\n\r\nOutpFN = Result.zrt\r\n"), std::string::npos);
    EXPECT_NE(dump.find("\r\ndecimals= 4\r\n\r\nCurDir = \r\n\r\nsplF = 0"), std::string::npos);
    EXPECT_TRUE(endsWith(dump, "\r\ndelF = 0\r\nPress any keys..."));
}

TEST_F(FlagsTest, HugeLinesParse) {
    const std::string big = " /sel:'Expr = " + std::string(1 << 20, '1') + "' /";
    ParseCmdLine(big);
    EXPECT_EQ(batchFlags().selText.size(), (1u << 20) + 9);
    ParseCmdLine(std::string(1 << 20, '/'));
    ParseCmdLine("");
}
