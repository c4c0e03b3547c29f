// About, version and diagnostic exports.
#include <algorithm>
#include <string>

#include "api/abi.h"
#include "base/errors.h"
#include "platform/platform.h"
#include "ui/about.h"
#include "log/debugfile.h"

using zrt::abi::guard;

namespace {

// Writes `text` over a caller buffer whose capacity is the length of the text
// it holds (the caller pre-fills it); nothing when the text does not fit.
bool overwrite(zrt_char* buffer, const std::string& text) {
    const std::u16string t = zrt::toUtf16(text);
    const int capacity = zrt::abi::callerTextLength(buffer);
    if (!buffer || static_cast<int>(t.size()) > capacity) return false;
    zrt::abi::copyOut(buffer, static_cast<int>(t.size()), t);
    return true;
}

}  // namespace

int32_t ZRT_API aAbout(void) {
    return guard("aAbout", 0, [] {
        zrt::aAbout();
        return 0;
    });
}

int32_t ZRT_API DisplayVerInfo(const zrt_char* fileName, zrt_char* fileVersion,
                               zrt_char* productVersion) {
    return guard("DisplayVerInfo", 0, [&] {
        std::string fv, pv;
        if (!zrt::DisplayVerInfo(zrt::abi::in(fileName), fv, pv)) return 0;
        overwrite(fileVersion, fv);
        overwrite(productVersion, pv);
        return 1;
    });
}

const zrt_char* ZRT_API TestStr(const zrt_char* text) {
    static std::u16string slot;
    return guard("TestStr", zrt::abi::emptyText(), [&] {
        const std::string shown = "st.s=." + zrt::abi::in(text) + ".";
        zrt::platform::messageBox(shown, "TestStr 1");
        zrt::platform::messageBox(shown, "TestStr 2");
        return zrt::abi::keep(slot, "123");
    });
}

void ZRT_API TestStrPtr(zrt_char* buffer) {
    zrt::abi::guardVoid("TestStrPtr", [&] {
        zrt::platform::messageBox(zrt::abi::in(buffer), "TestStrPtr 1");
        overwrite(buffer, zrt::kTestStrPtrText);
        zrt::platform::messageBox(zrt::abi::in(buffer), "TestStrPtr 2");
    });
}

const zrt_char* ZRT_API TestStrPtr2(zrt_char* buffer) {
    static std::u16string slot;
    return guard("TestStrPtr2", zrt::abi::emptyText(), [&] {
        zrt::platform::messageBox(zrt::abi::in(buffer), "TestStrPtr 1");
        overwrite(buffer, zrt::kTestStrPtr2Text);
        const std::string now = zrt::abi::in(buffer);
        zrt::platform::messageBox(now, "TestStrPtr 2");
        return zrt::abi::keep(slot, now);
    });
}

int32_t ZRT_API DebugF(const zrt_char* text, zrt_byte mode, zrt_byte skip) {
    return guard("DebugF", 0, [&] { return zrt::DebugF(zrt::abi::in(text), mode, skip); });
}

int32_t ZRT_API SetErrorMsgs(const zrt_char* procedure, int32_t line, const zrt_char* detail) {
    return guard("SetErrorMsgs", 0, [&] {
        const std::string log =
            zrt::LogError(zrt::abi::in(procedure), line, zrt::abi::in(detail), zrt::kLogAppend);
        return static_cast<int32_t>(std::min<std::size_t>(zrt::utf16Length(log), 0x7FFFFFFF));
    });
}
