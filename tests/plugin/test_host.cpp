#include "test_host.h"

#include <cstddef>
#include <cstring>

enum : uint8_t { guardByte = 0xA5 };
enum : size_t { recordSize = offsetof(HostWindowInfo, objects) + 4 * hostObjectCount + 64 };

static const char *hostClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LumbraTestHost";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        registered = true;
    }
    return "LumbraTestHost";
}

TestHost::TestHost() : record(recordSize, guardByte) {
    plugin = LoadLibraryA("Lumbra.hpi");
    window = CreateWindowExA(0, hostClass(), "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 640,
                             480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    dc = GetDC(window);
    for (int i = 0; i < testObjectCount; ++i) {
        RECT r = {20 + 150 * i, 30 + 20 * i, 20 + 150 * i + 120 + 10 * i, 30 + 20 * i + 90};
        objectRects[i] = r;
        objects[i] = CreateWindowExA(0, "BUTTON", "object", WS_CHILD | WS_VISIBLE, r.left, r.top,
                                     r.right - r.left, r.bottom - r.top, window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)),
                                     GetModuleHandleA(nullptr), nullptr);
    }
    HostWindowInfo *w = info();
    w->dc = dc;
    w->window = window;
    for (int i = 0; i < hostObjectCount; ++i)
        w->objects[i] = i < testObjectCount ? objects[i] : nullptr;
    pump();
}

TestHost::~TestHost() {
    if (dc)
        ReleaseDC(window, dc);
    if (window)
        DestroyWindow(window);
    if (plugin)
        FreeLibrary(plugin);
    pump();
}

// The generic function type lets the caller cast to the export's real type without a warning.
static void (*exported(HMODULE module, const char *name))() {
    return reinterpret_cast<void (*)()>(GetProcAddress(module, name));
}

int TestHost::call(const char *exportName, int a, int b, int c, int d) {
    typedef int(__stdcall * Export)(int, int, int, int);
    Export f = reinterpret_cast<Export>(exported(plugin, exportName));
    if (!f)
        return 0x7fffffff;
    int result = f(a, b, c, d);
    pump();
    return result;
}

int TestHost::call(const char *exportName, const void *a, int b, int c, int d) {
    return call(exportName, static_cast<int>(reinterpret_cast<intptr_t>(a)), b, c, d);
}

int TestHost::copyright() {
    typedef int (*Export)();
    Export f = reinterpret_cast<Export>(exported(plugin, "_MyCopyRight_"));
    return f ? f() : 0x7fffffff;
}

bool TestHost::recordGuardsIntact() const {
    for (size_t i = 0; i < record.size(); ++i) {
        bool field =
            (i >= offsetof(HostWindowInfo, dc) && i < offsetof(HostWindowInfo, dc) + 4) ||
            (i >= offsetof(HostWindowInfo, window) && i < offsetof(HostWindowInfo, window) + 4) ||
            (i >= offsetof(HostWindowInfo, objects) &&
             i < offsetof(HostWindowInfo, objects) + 4 * hostObjectCount);
        if (!field && record[i] != guardByte)
            return false;
    }
    return true;
}

void TestHost::pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

static BOOL CALLBACK findDialog(HWND hwnd, LPARAM found) {
    char name[16];
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() && GetClassNameA(hwnd, name, sizeof name) &&
        std::strcmp(name, "#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND *>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

DialogAnswer::DialogAnswer(int id, std::function<void(HWND)> prepare)
    : id(id), prepare(std::move(prepare)) {
    thread = CreateThread(nullptr, 0, run, this, 0, nullptr);
}

DWORD WINAPI DialogAnswer::run(void *self) {
    DialogAnswer *a = static_cast<DialogAnswer *>(self);
    for (int tries = 0; tries < 1000 && !a->dialog; ++tries) {
        EnumWindows(findDialog, reinterpret_cast<LPARAM>(&a->dialog));
        if (!a->dialog)
            Sleep(10);
    }
    if (!a->dialog)
        return 0;
    Sleep(50); // let the dialog finish its own initialisation
    if (a->prepare)
        a->prepare(a->dialog);
    SendMessageA(a->dialog, WM_COMMAND, MAKEWPARAM(a->id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(a->dialog, a->id)));
    a->answered = true;
    return 0;
}

bool DialogAnswer::join() {
    if (thread) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    }
    return answered;
}

DialogAnswer::~DialogAnswer() {
    join();
}
