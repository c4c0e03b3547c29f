// Loading, the Notepad++ interface and unloading, as Notepad++ drives them.
#include "plugin/lifecycle.h"

#include <cstring>

#include "memory/elemorder.h"
#include "plugin/nppinterface.h"
#include "plugin/state.h"
#include "support/plugin_fixture.h"
#include "log/pluginlog.h"
#include "log/trace.h"

using namespace zrt;

class LifecycleTest : public PluginTest {};

TEST_F(LifecycleTest, MenuItemsAndShortcuts) {
    start();
    ASSERT_EQ(host->itemCount, 11);
    const struct {
        const char* caption;
        bool command;
        int ctrl, alt, shift, key;  // key -1: no shortcut
    } want[] = {
        {"Eval CurFile To File", true, 0, 0, 0, -1},
        {"Eval CurLine To File", true, 0, 0, 0, -1},
        {"", false, 0, 0, 0, -1},
        {"Eval CurLine To Wnd", true, 1, 0, 0, '2'},
        {"Eval SelText To Wnd", true, 1, 0, 0, '3'},
        {"Eval Expression To Wnd", true, 1, 0, 1, 13},
        {"", false, 0, 0, 0, -1},
        {"Show Memory", true, 1, 1, 0, 'M'},
        {"Insert filename", true, 1, 1, 0, 'O'},
        {"", false, 0, 0, 0, -1},
        {"About Quillet", true, 0, 0, 0, -1},
    };
    for (int i = 0; i < 11; ++i) {
        const zrt_FuncItem& item = host->items[i];
        EXPECT_EQ(fake::text16(item._itemName), want[i].caption) << i;
        EXPECT_EQ(item._pFunc != nullptr, want[i].command) << i;
        EXPECT_EQ(item._init2Check, 0) << i;
        if (want[i].key < 0) {
            EXPECT_EQ(item._pShKey, nullptr) << i;
            continue;
        }
        ASSERT_NE(item._pShKey, nullptr) << i;
        EXPECT_EQ(item._pShKey->_isCtrl, want[i].ctrl) << i;
        EXPECT_EQ(item._pShKey->_isAlt, want[i].alt) << i;
        EXPECT_EQ(item._pShKey->_isShift, want[i].shift) << i;
        EXPECT_EQ(item._pShKey->_key, want[i].key) << i;
    }
    // The array is the library's own: the ids Notepad++ wrote stay there.
    int32_t n = 0;
    EXPECT_EQ(getFuncsArray(&n)[4]._cmdID, 22004);
    EXPECT_EQ(n, 11);
}

TEST_F(LifecycleTest, ShortcutTextsOfOtherLengthsGiveNoShortcut) {
    const struct {
        const char* text;
        bool shortcut;
        int key;
    } cases[] = {{"", false, 0},     {"101", false, 0},  {"10100", false, 0},
                 {"101~", true, 13}, {"000^", true, 43}, {"0012", true, '2'}};
    for (const auto& c : cases) {
        zrt_FuncItem item;
        std::memset(&item, 0x5A, sizeof item);
        pinSetMenuItem(
            item, nullptr,
            "A caption far longer than the sixty-four characters a menu item of Notepad++ holds", 5,
            true, c.text);
        EXPECT_EQ(item._pShKey != nullptr, c.shortcut) << c.text;
        if (c.shortcut) {
            EXPECT_EQ(item._pShKey->_key, c.key) << c.text;
        }
        EXPECT_EQ(item._itemName[63], 0);
        EXPECT_EQ(item._cmdID, 5);
        EXPECT_EQ(item._init2Check, 1);
    }
}

TEST_F(LifecycleTest, SubclassOnlyAfterGetNameAndOnlyOnce) {
    AttachProcess();
    host = std::make_unique<fake::Npp>();
    host->main.dwellTime = 2500;
    host->second.dwellTime = 3500;
    zrt_NppData data{host->hwnd(), &host->main, &host->second};
    setInfo(data);
    // Before getName: nothing.
    EXPECT_EQ(messageProc(0, 0, 0), 0);
    EXPECT_EQ(headless::installedProcedure(host->hwnd()), 0);
    EXPECT_EQ(host->main.dwellTime, 2500);

    EXPECT_EQ(U(getName()), "Quillet");
    EXPECT_EQ(isUnicode(), 1);
    messageProc(0, 0, 0);
    const std::intptr_t installed = headless::installedProcedure(host->hwnd());
    EXPECT_NE(installed, 0);
    EXPECT_EQ(host->main.dwellTime, 1000);
    EXPECT_EQ(host->second.dwellTime, 1000);  // tool-tips in both views
    EXPECT_EQ(pluginState().menuState, 2);

    // Later calls change nothing, even a second getName.
    host->main.dwellTime = 700;
    getName();
    messageProc(0, 0, 0);
    EXPECT_EQ(host->main.dwellTime, 700);
    EXPECT_EQ(pluginState().menuState, 2);

    // Unloading puts back what was found.
    DetachProcess();
    EXPECT_EQ(headless::installedProcedure(host->hwnd()), 0);
    EXPECT_EQ(host->main.dwellTime, 2500);
    EXPECT_EQ(host->second.dwellTime, 3500);
    // A second unload does no harm.
    DetachProcess();
    EXPECT_EQ(host->main.dwellTime, 2500);
}

TEST_F(LifecycleTest, LoadHooksOfOtherHosts) {
    zrt::SetDebugF(4);
    zrt::aElemOrderSet(1);
    // The plug-in start-up has not run: the defaults are set.
    EXPECT_EQ(::zrtAttachProcess(), 0);
    EXPECT_EQ(debugMode(), 1);
    EXPECT_EQ(zrt::aElemOrderGet(), -1);
    // After it the defaults stay as the host left them.
    AttachProcess();
    zrt::SetDebugF(4);
    EXPECT_EQ(::zrtAttachProcess(), 0);
    EXPECT_EQ(debugMode(), 4);
    EXPECT_EQ(::zrtAttachThread(), 0);
    EXPECT_EQ(pluginState().threadMarker, -1);
    EXPECT_EQ(::zrtDetachThread(), 0);
    EXPECT_EQ(pluginState().threadMarker, 0);
    EXPECT_EQ(::zrtDetachProcess(), 0);
}

TEST_F(LifecycleTest, InterfaceTakesNullsAndAStrangeHost) {
    EXPECT_NE(getFuncsArray(nullptr), nullptr);
    beNotified(nullptr);
    setInfo(zrt_NppData{nullptr, nullptr, nullptr});
    getName();
    EXPECT_EQ(messageProc(0, 0, 0), 0);  // no window to subclass
    DetachProcess();
}

TEST_F(LifecycleTest, AttachLogsItsSteps) {
    writeFile(iniFile(), "[Quillet]\r\nDebug=2\r\n");
    AttachProcess();
    const std::string log = readFile(dbgFile());
    EXPECT_NE(log.find("Proc: AttachProcess()     : Attach To Process: START\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("Proc: AttachProcess  : " + std::string(70, '-') + "\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("Log File : \""), std::string::npos);
}
