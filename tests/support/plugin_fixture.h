// Fixture of the plug-in tests: a fresh library loaded in an empty folder
// that has "plugins/Quillet" (the host's current directory), and a fake
// Notepad++ that loads it. Suites written with TEST_P and instantiated with
// QUILLET_BOTH_HOSTS run every case against both host generations; TEST_F
// cases get today's host unless they choose.
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

class PluginTest : public LibraryTest, public ::testing::WithParamInterface<fake::Generation> {
   protected:
    void SetUp() override {
        LibraryTest::SetUp();
        if (::testing::UnitTest::GetInstance()->current_test_info()->value_param())
            generation = GetParam();
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
    void start(const std::string& ini = "") {
        if (!ini.empty()) writeFile(iniFile(), ini);
        zrt::AttachProcess();
        host = std::make_unique<fake::Npp>(generation, pluginsCaption);
        host->load();
    }

    // Notepad++ quits and starts again with a fresh library (for tables of
    // host setups within one test).
    void restart(const std::string& ini = "") {
        zrt::DetachProcess();
        host.reset();
        zrt::headless::resetWindows();
        zrt::resetLibraryForTests();
        start(ini);
    }

    // Opens the Plugins menu once, which builds the Options menu.
    void openPlugins() { host->openMenu(host->pluginsIndex()); }

    std::unique_ptr<fake::Npp> host;
    // The host `start` creates.
    fake::Generation generation = fake::Generation::Today;
    std::string pluginsCaption;  // empty: the generation's own

   private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

namespace fake {
inline void PrintTo(Generation generation, std::ostream* out) {
    *out << generationName(generation);
}
}  // namespace fake

// Runs the TEST_P cases of `suite` against today's host and the older one.
#define QUILLET_BOTH_HOSTS(suite)                                                               \
    INSTANTIATE_TEST_SUITE_P(Hosts, suite,                                                      \
                             ::testing::Values(fake::Generation::Today, fake::Generation::Old), \
                             [](const ::testing::TestParamInfo<fake::Generation>& host) {       \
                                 return std::string(fake::generationName(host.param));          \
                             })
