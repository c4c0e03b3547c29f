// The library entry of Quillet.dll.
#include <windows.h>

#include "api/lifecycle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            zrt::processAttach();
            break;
        case DLL_PROCESS_DETACH:
            zrt::processDetach();
            break;
        default:
            break;
    }
    return TRUE;
}
