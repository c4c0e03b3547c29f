// The settings file: what loading reads, and where changes are written.
#include "plugin/settings.h"

#include "plugin/state.h"
#include "script/flags.h"
#include "support/plugin_fixture.h"
#include "log/pluginlog.h"

using namespace zrt;

class SettingsTest : public PluginTest {};

TEST_F(SettingsTest, ReadAtLoad) {
    const struct {
        const char* ini;
        int pbDebug, toolTip, decimals;
        bool hide, noConfirm, evalOnEqual = false, selectionInStatus = false;
    } cases[] = {
        {"", 0, 0, 4, false, false},
        {"[Quillet]\r\nDebug=1\r\nEval To ToolTip=1\r\nDecimals=7\r\nDon't show Summary=1\r\nDon't "
         "confirm Expr=1\r\nEval On Equal=1\r\nSelection In Status Bar=1\r\n",
         1, 1, 7, true, true, true, true},
        {"[quillet]\ndebug = 3\ndecimals=0\nselection in status bar=2\n", 3, 0, 0, false, false,
         false, true},
        {"[Quillet]\r\nDecimals=\r\nEval To ToolTip=yes\r\nDebug=-1\r\nEval On Equal=on\r\n", 0, 0,
         4, false, false},
        {"[Quillet]\r\nDecimals=abc\r\nDebug=99\r\nEval On Equal=1\r\n", 1, 0, 0, false, false,
         true},
        {"[Quillet]\r\nDecimals=123456789012\r\n", 0, 0, 100, false, false},
        {"[Other]\r\nDecimals=9\r\nEval On Equal=1\r\n", 0, 0, 4, false, false},
    };
    for (const auto& c : cases) {
        resetLibraryForTests();
        std::filesystem::remove(iniFile());
        if (*c.ini) writeFile(iniFile(), c.ini);
        AttachProcess();
        const PluginState& s = pluginState();
        EXPECT_EQ(pbDebug(), c.pbDebug) << c.ini;
        EXPECT_EQ(s.toolTipF, c.toolTip) << c.ini;
        EXPECT_EQ(batchFlags().decimals, c.decimals) << c.ini;
        EXPECT_EQ(s.hideExprLineF, c.hide) << c.ini;
        EXPECT_EQ(s.bareResultsF, c.hide) << c.ini;
        EXPECT_EQ(s.nlnParam, c.hide ? " /nln " : " ") << c.ini;
        EXPECT_EQ(s.ntParam, c.hide ? " /nt " : " ") << c.ini;
        EXPECT_EQ(s.noConfirmF, c.noConfirm) << c.ini;
        EXPECT_EQ(s.evalOnEqualF, c.evalOnEqual) << c.ini;
        EXPECT_EQ(s.selectionInStatusF, c.selectionInStatus) << c.ini;
    }
}

TEST_F(SettingsTest, WritesOneKeyAndKeepsTheRest) {
    start("[Quillet]\r\n; a comment\r\nDecimals=6\r\n\r\n[Other]\r\nx=1\r\n");
    EXPECT_TRUE(writeSetting(kKeyToolTip, 1));
    EXPECT_TRUE(writeSetting(kKeyDecimals, 3));
    const std::string ini = readFile(iniFile());
    EXPECT_EQ(
        ini,
        "[Quillet]\r\n; a comment\r\nDecimals=3\r\nEval To ToolTip=1\r\n\r\n[Other]\r\nx=1\r\n");
}

TEST_F(SettingsTest, UnwritableProgramFolderMovesSettingsToTheHostsConfigFolder) {
    writeFile(iniFile(), "[Quillet]\r\nDecimals=6\r\n");
    headless::setUnwritableFolder((dir() / "plugins").string());
    AttachProcess();
    EXPECT_EQ(batchFlags().decimals, 6);

    // The user's folder already has settings: they count once the host is known.
    writeFile(dir() / "config" / "Quillet" / "Quillet.INI", "[Quillet]\r\nDecimals=2\r\n");
    host = std::make_unique<fake::Npp>();
    host->configDir = (dir() / "config").string();
    host->load();
    EXPECT_EQ(batchFlags().decimals, 2);
    EXPECT_EQ(pluginState().iniPath, (dir() / "config" / "Quillet" / "Quillet.INI").string());
    EXPECT_EQ(dbgPath(), (dir() / "config" / "Quillet" / "Quillet.dbg").string());

    EXPECT_TRUE(writeSetting(kKeyToolTip, 1));
    EXPECT_EQ(readFile(iniFile()), "[Quillet]\r\nDecimals=6\r\n");
    EXPECT_NE(readFile(dir() / "config" / "Quillet" / "Quillet.INI").find("Eval To ToolTip=1"),
              std::string::npos);
}

TEST_F(SettingsTest, WritableProgramFolderKeepsItsSettingsFile) {
    start("[Quillet]\r\nDecimals=5\r\n");
    EXPECT_EQ(pluginState().iniPath, iniFile().string());
    EXPECT_FALSE(std::filesystem::exists(dir() / "config"));
}

TEST_F(SettingsTest, SettingNumbers) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"", 0},
                 {"12", 12},
                 {" 3x", 3},
                 {"-4", -4},
                 {"+5", 5},
                 {"x1", 0},
                 {"99999999999", 2147483647}};
    for (const auto& c : cases) EXPECT_EQ(settingNumber(c.text), c.value) << c.text;
}
