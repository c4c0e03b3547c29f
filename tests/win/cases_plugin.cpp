// The Notepad++ interface, the load hooks, and the about and diagnostic
// exports, called as a host program calls them.
#include <string>

#include "probe.h"

#ifdef _WIN32
#include <windows.h>
#endif

using probe::expect;
using probe::expectEq;
using probe::out;
using probe::U;
using probe::Z;

PROBE_CASES(plugin) {
    out("isUnicode", std::to_string(ZRT_FN(isUnicode)()));
    out("getName", U(ZRT_FN(getName)()));
    int32_t count = 0;
    zrt_FuncItem* items = ZRT_FN(getFuncsArray)(&count);
    out("getFuncsArray.count", std::to_string(count));
    for (int i = 0; items && i < count; ++i) {
        std::string keys = "none";
        if (const zrt_ShortcutKey* k = items[i]._pShKey)
            keys = std::to_string(k->_isCtrl) + std::to_string(k->_isAlt) +
                   std::to_string(k->_isShift) + "+" + std::to_string(k->_key);
        out("item" + std::to_string(i + 1),
            U(items[i]._itemName) + " | " + (items[i]._pFunc ? "command" : "separator") + " | " +
                keys + " | id " + std::to_string(items[i]._cmdID));
    }
    // Without setInfo and getName the plug-in has no window to work on.
    out("messageProc", std::to_string(ZRT_FN(messageProc)(0x0005, 0, 0)));
    ZRT_FN(beNotified)(nullptr);
    out("zrtAttachProcess", std::to_string(ZRT_FN(zrtAttachProcess)()));
    out("zrtAttachThread", std::to_string(ZRT_FN(zrtAttachThread)()));
    out("zrtDetachThread", std::to_string(ZRT_FN(zrtDetachThread)()));
    out("zrtDetachProcess", std::to_string(ZRT_FN(zrtDetachProcess)()));
}

PROBE_CASES(about) {
    out("TestStr", U(ZRT_FN(TestStr)(Z("probe").c_str())));
    for (const char* before : {"short", "0123456789ABCDEF"}) {
        probe::ZString a = Z(before), b = Z(before);
        ZRT_FN(TestStrPtr)(&a[0]);
        const std::string returned = U(ZRT_FN(TestStrPtr2)(&b[0]));
        out(std::string("TestStrPtr.") + before,
            U(a.c_str()) + " / " + U(b.c_str()) + " / " + returned);
    }
    out("DebugF.skip", std::to_string(ZRT_FN(DebugF)(Z("not written").c_str(), 0, 1)));
    auto setErrorMsgs = ZRT_FN(SetErrorMsgs);
    const int32_t before = setErrorMsgs(Z("ProbeProc").c_str(), 7, Z("probe entry").c_str());
    const int32_t after = setErrorMsgs(Z("ProbeProc").c_str(), 7, Z("probe entry").c_str());
    out("SetErrorMsgs.growth", std::to_string(after - before));
#ifdef _WIN32
    // The version block of Quillet.dll, through the export and the system.
    zrt_char fileVersion[24], productVersion[24];
    for (int i = 0; i < 23; ++i) fileVersion[i] = productVersion[i] = L' ';
    fileVersion[23] = productVersion[23] = 0;
    expect(ZRT_FN(DisplayVerInfo)(Z("").c_str(), fileVersion, productVersion) == 1,
           "DisplayVerInfo of the library");
    expectEq("file version", U(fileVersion), "0.0.4.8");
    expectEq("product version", U(productVersion), "0.0.4.8");
    wchar_t path[MAX_PATH] = {0};
    GetModuleFileNameW(GetModuleHandleW(L"Quillet.dll"), path, MAX_PATH);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    std::string block(size, '\0');
    expect(size && GetFileVersionInfoW(path, 0, size, &block[0]), "version block readable");
    const struct {
        const wchar_t* key;
        const char* value;
    } strings[] = {{L"ProductName", "Quillet"},
                   {L"OriginalFilename", "Quillet"},
                   {L"FileDescription",
                    "Math Plugin for Notepad++ (Unicode) based on zerith.dll math library"},
                   {L"CompanyName", "- - -"},
                   {L"PrivateBuild", "49"},
                   {L"SpecialBuild", "49"},
                   {L"Build date", "28/09/2009"}};
    for (const auto& s : strings) {
        wchar_t* value = nullptr;
        UINT len = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + s.key;
        const bool found = size && VerQueryValueW(&block[0], query.c_str(),
                                                  reinterpret_cast<void**>(&value), &len);
        expectEq(std::string("version string ") + U(reinterpret_cast<const zrt_char*>(s.key)),
                 found && value ? U(reinterpret_cast<const zrt_char*>(value)) : std::string(),
                 s.value);
    }
    // A file without a version block leaves the buffers alone.
    expect(ZRT_FN(DisplayVerInfo)(Z("C:\\no\\such\\file.dll").c_str(), fileVersion,
                                  productVersion) == 0,
           "DisplayVerInfo of a missing file");
    expectEq("buffer untouched", U(fileVersion), "0.0.4.8");
#endif
}
