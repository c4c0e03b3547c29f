// Fixture for tests that work with files: a fresh library and a folder of the
// test's own below the temporary folder, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "support/library_test.h"

class FolderTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("quillet-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        // A batch run moves into its script's folder: leave it before removing it.
        std::error_code ec;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
        std::filesystem::remove_all(dir_, ec);
    }

    // Parameter lines split at "/": names travel with "\" as on Windows.
    std::string path(const std::string& name) const {
        std::string p = (dir_ / name).string();
        for (char& c : p)
            if (c == '/') c = '\\';
        return p;
    }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path dir_;
};
