#include "plugin/plugin_state.h"

#include "plugin/exports.h"

PluginState pluginState;
ControlSlot controlSlot;

const char richEditClass[] = "RICHEDIT";

bool isRichEdit(HWND window) {
    if (!window || !IsWindow(window))
        return false;
    // One byte longer than the name, so that a longer class name cannot pass as it.
    char name[sizeof richEditClass + 1] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, richEditClass) == 0;
}

bool controlAlive() {
    if (!controlSlot.control)
        return false;
    if (!isRichEdit(controlSlot.control)) {
        controlSlot.control = nullptr;
        return false;
    }
    return true;
}

size_t fillBytes(void *target, int value, size_t count) {
    unsigned char *byte = static_cast<unsigned char *>(target);
    for (size_t i = 0; i < count; ++i)
        byte[i] = static_cast<unsigned char>(value);
    return count;
}

char *copyString(char *target, const char *source) {
    char *to = target;
    while ((*to++ = *source++) != '\0')
        ;
    return target;
}

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

// _MyCopyRight_: shows the plug-in's notice with no owner window and answers what the box
// answers (1 when closed with OK); works with or without a control.
int MyCopyRight() {
    // "Lumbra.hpi: a plug-in for using a rich edit control from HSP."
    static const char notice[] =
        "Lumbra.hpi ver 0.4.5.1\r\n"
        "HSP \x82\xc5\x83\x8a\x83\x62\x83\x60\x83\x47\x83\x66\x83\x42\x83\x62\x83\x67\x82\xf0"
        "\x97\x98\x97\x70\x82\xb7\x82\xe9 Plug-in \x82\xc5\x82\xb7";
    return MessageBoxA(nullptr, notice, "Torvin.hpi", MB_OK | MB_ICONINFORMATION);
}
