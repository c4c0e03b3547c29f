// Fixture of the plug-in tests: a fresh library loaded in an empty folder
// that has "plugins/Quillet" (the host's current directory), and a fake
// Notepad++ that loads it.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/headless/headless.h"
#include "plugin/lifecycle.h"
#include "support/fake_npp.h"
#include "support/library_test.h"

class PluginTest : public LibraryTest {
   protected:
    void SetUp() override {
        LibraryTest::SetUp();
        zrt::headless::resetWindows();
        zrt::headless::clearShownInputs();
        zrt::headless::clearMessagesWindows();
        zrt::headless::clearShownScreens();
        zrt::headless::setUnwritableFolder("");
        previous_ = std::filesystem::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("quillet-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "plugins" / "Quillet");
        std::filesystem::current_path(dir_);
    }

    void TearDown() override {
        zrt::DetachProcess();
        host.reset();
        zrt::headless::resetWindows();
        zrt::headless::setUnwritableFolder("");
        std::filesystem::current_path(previous_);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::filesystem::path iniFile() const { return dir_ / "plugins" / "Quillet" / "Quillet.INI"; }
    std::filesystem::path dbgFile() const { return dir_ / "plugins" / "Quillet" / "Quillet.dbg"; }
    const std::filesystem::path& dir() const { return dir_; }

    static void writeFile(const std::filesystem::path& p, const std::string& text) {
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
    }
    static std::string readFile(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Notepad++ starts: the library loads (settings from `ini` when given),
    // then the host calls the plug-in interface.
    void start(const std::string& ini = "", bool tellsPluginsMenuHandle = true) {
        if (!ini.empty()) writeFile(iniFile(), ini);
        zrt::AttachProcess();
        host = std::make_unique<fake::Npp>(tellsPluginsMenuHandle);
        host->load();
    }

    // Opens the Plugins menu once, which builds the Options menu.
    void openPlugins() { host->openMenu(host->pluginsIndex()); }

    std::unique_ptr<fake::Npp> host;

   private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};
