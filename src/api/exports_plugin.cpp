// The Notepad++ plug-in interface and the library's load hooks. Notepad++
// catches nothing a mingw-built library throws: every entry is guarded.
#include "api/abi.h"
#include "plugin/darkmode.h"
#include "plugin/lifecycle.h"

using zrt::abi::guard;
using zrt::abi::guardVoid;

void ZRT_CDECL setInfo(zrt_NppData data) {
    guardVoid("setInfo", [&] { zrt::pluginSetInfo(data); });
}

const zrt_char* ZRT_CDECL getName(void) {
    static const zrt_char kName[] = {'Q', 'u', 'i', 'l', 'l', 'e', 't', 0};
    return guard("getName", static_cast<const zrt_char*>(kName), [] { return zrt::pluginName(); });
}

zrt_FuncItem* ZRT_CDECL getFuncsArray(int32_t* count) {
    return guard("getFuncsArray", static_cast<zrt_FuncItem*>(nullptr),
                 [&] { return zrt::pluginFuncsArray(count); });
}

void ZRT_CDECL beNotified(void* notification) {
    guardVoid("beNotified", [&] { zrt::pluginNotified(notification); });
}

intptr_t ZRT_CDECL messageProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return guard("messageProc", intptr_t{0},
                 [&] { return zrt::pluginMessageProc(message, wParam, lParam); });
}

int32_t ZRT_CDECL isUnicode(void) {
    return 1;
}

int32_t ZRT_API zrtAttachProcess(void) {
    return guard("zrtAttachProcess", 0, [] { return zrt::zrtAttachProcess(); });
}

int32_t ZRT_API zrtAttachThread(void) {
    return guard("zrtAttachThread", 0, [] { return zrt::zrtAttachThread(); });
}

int32_t ZRT_API zrtDetachThread(void) {
    return guard("zrtDetachThread", 0, [] { return zrt::zrtDetachThread(); });
}

int32_t ZRT_API zrtDetachProcess(void) {
    return guard("zrtDetachProcess", 0, [] { return zrt::zrtDetachProcess(); });
}
