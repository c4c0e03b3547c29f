// Script highlighting: the user-defined language built from the system's own
// tables, and its installation from the Options menu.
#include "plugin/udl.h"

#include "evaluator/lexer.h"
#include "plugin/menus.h"
#include "script/evaluation.h"
#include "script/interpreter.h"
#include "support/plugin_fixture.h"

using namespace zrt;

namespace {

std::string keywordList(const std::string& udl, const std::string& name) {
    const std::string open = "<Keywords name=\"" + name + "\">";
    const std::size_t b = udl.find(open);
    if (b == std::string::npos) return "<missing>";
    const std::size_t e = udl.find("</Keywords>", b);
    return udl.substr(b + open.size(), e - b - open.size());
}

std::vector<std::string> words(const std::string& list) {
    std::vector<std::string> out;
    std::size_t b = 0;
    while ((b = list.find_first_not_of(' ', b)) != std::string::npos) {
        const std::size_t e = list.find(' ', b);
        out.push_back(list.substr(b, e == std::string::npos ? e : e - b));
        b = e;
    }
    return out;
}

}  // namespace

class UdlTest : public PluginTest {};

// Every word the file colours is one the system knows, checked by running it:
// a command is no "Undefined Command", a function no "Undefined Function", a
// constant evaluates, a list or operator word is no name the lexer would look up.
TEST_F(UdlTest, EveryKeywordIsKnownToTheSystem) {
    const std::string udl = udlText();
    const std::vector<std::string> commands = words(keywordList(udl, "Keywords1"));
    EXPECT_EQ(commands.size(), scriptCommandWords().size());
    ASSERT_GE(commands.size(), 26u);
    for (const std::string& c : commands) {
        const ScriptResult r = sEval(c + " = 1", ScriptOptions{});
        EXPECT_EQ(r.output.find("= 25:"), std::string::npos) << c << ": " << r.output;
    }
    for (const std::string& f : words(keywordList(udl, "Keywords2"))) {
        EXPECT_NE(evaluateFormula(f + "(0.5)").error, ErrorCode::UndefinedFunction) << f;
    }
    for (const std::string& k : words(keywordList(udl, "Keywords3"))) {
        EXPECT_EQ(evaluateFormula(k).error, ErrorCode::None) << k;
    }
    for (const char* group : {"Keywords4", "Keywords5"}) {
        const std::vector<std::string> list = words(keywordList(udl, group));
        EXPECT_FALSE(list.empty()) << group;
        for (const std::string& w : list) {
            lexerStart(w);
            e_nxt();
            EXPECT_NE(currentToken().kind, Tok::Id) << w;
            EXPECT_NE(currentToken().kind, Tok::Num) << w;
        }
    }
    // The pieces of a script the language colours besides words.
    const struct {
        const char* list;
        const char* text;
    } pieces[] = {
        {"Comments", "00' 01 02((EOL)) 03\\\\ 04//"},
        {"Numbers, prefix1", "&amp;"},
        {"Numbers, prefix2", "!"},
    };
    for (const auto& p : pieces) EXPECT_EQ(keywordList(udl, p.list), p.text) << p.list;
    EXPECT_NE(keywordList(udl, "Delimiters").find("03'' 04 05((EOL))"), std::string::npos);
    EXPECT_NE(udl.find("<UserLang name=\"Quillet\" ext=\"zrt\" udlVersion=\"2.1\">"),
              std::string::npos);
}

TEST_F(UdlTest, InstallIntoTheUsersLanguageFolder) {
    const struct {
        const char* name;
        fake::Generation generation;
        const char* settings;     // NPPM_GETNPPSETTINGSDIRPATH
        const char* config;       // NPPM_GETPLUGINSCONFIGDIR
        const char* existing;     // a file already there, or null
        int answer;               // to the question whether to replace it
        const char* expectedDir;  // where the file lands; null: nowhere
        const char* message;      // part of the last message
    } cases[] = {
        {"settings folder", fake::Generation::Today, "npp", "npp/plugins/Config", nullptr, 0, "npp",
         "after a restart"},
        {"older host: config folder's grandparent", fake::Generation::Old, "",
         "old/plugins/Config/", nullptr, 0, "old", "after a restart"},
        {"replace: yes", fake::Generation::Today, "npp", "", "mine", platform::kIdYes, "npp",
         "after a restart"},
        {"replace: no", fake::Generation::Today, "npp", "", "mine", platform::kIdNo, nullptr,
         "exists already"},
        {"no folder known", fake::Generation::Old, "", "", nullptr, 0, nullptr, "not installed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        generation = c.generation;
        restart();
        const auto at = [this](const char* folder) {
            return *folder ? (dir() / folder).string() : std::string();
        };
        host->settingsDir = at(c.settings);
        host->configDir = at(c.config);
        const auto target =
            dir() / (c.expectedDir ? c.expectedDir : "npp") / "userDefineLangs" / "Quillet.udl.xml";
        std::filesystem::remove_all(dir() / "npp");
        std::filesystem::remove_all(dir() / "old");
        if (c.existing) writeFile(target, c.existing);
        if (c.answer) headless::queueAnswer(c.answer);
        openPlugins();
        headless::clearShownMessages();
        host->command(host->optionId("Install script highlighting"));
        const auto& shown = headless::shownMessages();
        ASSERT_FALSE(shown.empty());
        EXPECT_NE(shown.back().text.find(c.message), std::string::npos) << shown.back().text;
        if (c.expectedDir) {
            EXPECT_EQ(readFile(target), udlText());
        } else if (c.existing) {
            EXPECT_EQ(readFile(target), c.existing);
        } else {
            EXPECT_FALSE(std::filesystem::exists(target));
        }
    }
}
