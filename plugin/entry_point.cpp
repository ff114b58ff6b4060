// The entry point, which the link names as the image's own (no C runtime start-up runs).
#include "plugin/entry_point.h"

#include "plugin/bytes.h"
#include "plugin/plugin_state.h"

// Only the Windows 95/98 family and NT are known to host the control the way we drive it.
static bool platformSupported() {
    OSVERSIONINFOA version;
    fillBytes(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ||
           version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Only the first notification does any work; nothing is undone at detach, because the runtime
// unloads us only after __FreeREdit@16 has released the control and its library.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    if (pluginState.started)
        return TRUE;
    pluginState.instance = instance;
    if (!platformSupported()) {
        MessageBoxA(nullptr, "I cannot run under your Windows OS.", "dll", MB_ICONERROR);
        ExitProcess(1);
    }
    pluginState.richEditLibrary = LoadLibraryA("RICHED32.DLL");
    pluginState.started = true;
    return TRUE;
}
