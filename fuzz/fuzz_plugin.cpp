// The plug-in's reading of the editor: comment removal, the expression check
// and the window commands, driven through the fake editor host with arbitrary
// document text, selections and caret positions.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "api/lifecycle.h"
#include "fuzz_sandbox.h"
#include "platform/headless/headless.h"
#include "plugin/commands.h"
#include "plugin/lifecycle.h"
#include "script/interpreter.h"
#include "support/fake_npp.h"

namespace {

enum Item { kCurLine = 3, kSelText = 4, kExpr = 5 };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool folders = [] {
        enterSandbox();
        std::filesystem::create_directories("plugins/Quillet");
        return true;
    }();
    (void)folders;
    zrt::resetLibraryForTests();
    FuzzedDataProvider in(data, size);
    const int what = in.ConsumeIntegralInRange<int>(0, 4);
    const std::size_t anchor = in.ConsumeIntegral<std::uint16_t>();
    const std::size_t caret = in.ConsumeIntegral<std::uint16_t>();
    const bool ansi = in.ConsumeBool();
    const auto generation = in.ConsumeBool() ? fake::Generation::Old : fake::Generation::Today;
    const std::string raw = in.ConsumeRemainingBytesAsString();
    // The document's scripts may write files: only plain names in the sandbox.
    const std::string text =
        sandboxedNoSlash(reinterpret_cast<const std::uint8_t*>(raw.data()), raw.size());

    zrt::removeComments(text);
    int button = 0;
    zrt::CheckExpressionS(text, "Eval SelText To Wnd: Expression = ", &button, what % 2 == 0);

    zrt::AttachProcess();
    {
        fake::Npp host(generation);
        host.load();
        host.main.text = text;
        host.main.codePage = ansi ? 1252 : 65001;
        const auto length = static_cast<std::intptr_t>(text.size());
        host.main.select(static_cast<std::intptr_t>(anchor) % (length + 1),
                         static_cast<std::intptr_t>(caret) % (length + 1));
        switch (what) {
            case 0: host.runItem(kCurLine); break;
            case 1: host.runItem(kSelText); break;
            case 2: host.runItem(kExpr); break;
            default:
                host.dwell(host.main.caret);
                zrt::headless::advanceClock(20000);
                host.dwellEnd();
                break;
        }
    }
    zrt::DetachProcess();
    zrt::headless::resetWindows();
    zrt::headless::clearShownMessages();
    zrt::headless::clearShownInputs();
    zrt::headless::clearMessagesWindows();
    zrt::headless::clearShownScreens();
    zrt::headless::clearDebugLines();
    return 0;
}
