// The library entry of Quillet.dll.
#include <windows.h>

#include "api/lifecycle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            zrt::processAttach();
            break;
        case DLL_PROCESS_DETACH:
            // A reserved pointer means the process is ending: its other threads
            // are gone and its windows go with it, so the library touches no
            // window, menu or host then (doing so crashed hosts at exit). Only
            // an unload by FreeLibrary puts the host back as it was.
            if (reserved == nullptr) zrt::processDetach();
            break;
        default:
            break;
    }
    return TRUE;
}
