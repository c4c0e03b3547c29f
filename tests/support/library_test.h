// Base fixture: every test starts from a freshly initialised library.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "api/lifecycle.h"
#include "base/text16.h"
#include "platform/headless/headless.h"
#include "support/error_codes.h"
#include "zerith.h"

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        zrt::resetLibraryForTests();
        zrt::headless::resetRecords();
    }
};

// UTF-16 argument for an export.
inline std::u16string Z(const std::string& utf8) { return zrt::toUtf16(utf8); }
inline const zrt_char* P(const std::u16string& text) {
    return reinterpret_cast<const zrt_char*>(text.c_str());
}
// UTF-8 view of an export's result.
inline std::string U(const zrt_char* text) {
    return zrt::fromUtf16(reinterpret_cast<const char16_t*>(text));
}
