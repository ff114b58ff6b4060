// Stands in for a script: opens a window with one object control, has Lumbra.hpi put its rich
// edit control in that object's place, loads sample.rtf into it and sets a background colour,
// as a script would through the plug-in's exports. Run with a number n to close after n seconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "plugin/host_records.h"

typedef int(__stdcall *Export)(int, int, int, int);

static HMODULE plugin = nullptr;
static HostWindowInfo record = {};

static int call(const char *name, int a = 0, int b = 0, int c = 0, int d = 0) {
    Export f = reinterpret_cast<Export>(reinterpret_cast<void (*)()>(GetProcAddress(plugin, name)));
    return f ? f(a, b, c, d) : 0x7fffffff;
}

static int address(const void *p) {
    return static_cast<int>(reinterpret_cast<intptr_t>(p));
}

static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_TIMER) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

// Fails with a box that says which step went wrong, so that a screenshot never passes for a
// working demo when it is not one.
static int fail(const char *what, int status) {
    char text[128];
    std::snprintf(text, sizeof text, "%s failed: %d", what, status);
    MessageBoxA(nullptr, text, "Lumbra demo", MB_ICONERROR);
    return 1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    // Lumbra.hpi and sample.rtf lie beside the program.
    char folder[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return fail("GetModuleFileNameA", 0);
    *(std::strrchr(folder, '\\') + 1) = '\0';
    char path[MAX_PATH + 16];
    std::snprintf(path, sizeof path, "%sLumbra.hpi", folder);
    plugin = LoadLibraryA(path);
    if (!plugin)
        return fail("LoadLibraryA(Lumbra.hpi)", static_cast<int>(GetLastError()));

    WNDCLASSA wc = {};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "LumbraDemo";
    RegisterClassA(&wc);
    // No caption buttons: the picture taken of this window shows the control, not the frame.
    HWND window = CreateWindowExA(0, "LumbraDemo", "Lumbra.hpi demo",
                                  WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME, 0, 0, 760, 420,
                                  nullptr, nullptr, instance, nullptr);
    HWND object = CreateWindowExA(0, "BUTTON", "object 0", WS_CHILD | WS_VISIBLE, 12, 12, 720, 350,
                                  window, reinterpret_cast<HMENU>(100), instance, nullptr);
    record.dc = GetDC(window);
    record.window = window;
    record.objects[0] = object;
    ShowWindow(window, show);

    int status = call("_CreateREdit@16", address(&record), 0);
    if (status != 0)
        return fail("CreateREdit", status);
    std::snprintf(path, sizeof path, "%ssample.rtf", folder);
    status = call("_REditRead@16", 0, address(path), 1);
    if (status != 0)
        return fail("REditRead", status);
    call("_SetBackColor@16", 255, 250, 228);
    call("_SetREditMode@16", 1);

    int seconds = std::atoi(commandLine);
    if (seconds > 0)
        SetTimer(window, 1, static_cast<UINT>(seconds) * 1000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    call("__FreeREdit@16");
    FreeLibrary(plugin);
    return 0;
}
