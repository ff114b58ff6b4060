#include "test_host.h"

#include <algorithm>
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
    running = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread = CreateThread(nullptr, 0, run, this, 0, nullptr);
    if (thread && running)
        WaitForSingleObject(running, INFINITE);
}

DWORD WINAPI DialogAnswer::run(void *self) {
    DialogAnswer *a = static_cast<DialogAnswer *>(self);
    for (int tries = 0; tries < 1000 && !a->dialog; ++tries) {
        EnumWindows(findDialog, reinterpret_cast<LPARAM>(&a->dialog));
        // Only after the first search: it sets up this thread's window state, which may load
        // libraries and so must not meet a load in progress on the other thread.
        if (tries == 0)
            SetEvent(a->running);
        if (!a->dialog)
            Sleep(10);
    }
    SetEvent(a->running);
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
    if (running)
        CloseHandle(running);
}

HWND windowWithHandleOf(HWND gone, HWND parent, const char *windowClass, const char *text) {
    const UINT_PTR wanted = reinterpret_cast<UINT_PTR>(gone);
    const UINT_PTR generation = wanted >> 16;
    const UINT_PTR before = (generation <= 1 ? 0xFFFE : generation - 1) << 16 | (wanted & 0xFFFF);
    for (int i = 0; i < 0x20000; ++i) {
        HMENU menu = CreateMenu();
        DestroyMenu(menu);
        if (reinterpret_cast<UINT_PTR>(menu) == before)
            break;
    }
    HWND button = CreateWindowExA(0, windowClass, text, WS_CHILD, 0, 0, 10, 10, parent, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (button == gone)
        return button;
    DestroyWindow(button);
    return nullptr;
}

static BOOL CALLBACK findIcon(HWND child, LPARAM found) {
    char name[16];
    if (GetClassNameA(child, name, sizeof name) && lstrcmpiA(name, "Static") == 0 &&
        (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HICON *>(found) =
            reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

HICON messageBoxIcon(HWND box) {
    HICON icon = nullptr;
    EnumChildWindows(box, findIcon, reinterpret_cast<LPARAM>(&icon));
    return icon;
}

namespace {

// Closes a kernel handle on every way out.
struct Handle {
    HANDLE value;
    explicit Handle(HANDLE value) : value(value) {}
    ~Handle() {
        if (value && value != INVALID_HANDLE_VALUE)
            CloseHandle(value);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
};

std::string besideTestProgram(const std::string &name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

} // namespace

ChildRun runChild(const std::string &programName, const char *mode) {
    ChildRun run;
    std::string program = besideTestProgram(programName);
    if (programName != "startup_child.exe" &&
        !CopyFileA(besideTestProgram("startup_child.exe").c_str(), program.c_str(), FALSE))
        return run;
    std::string outputName = besideTestProgram(programName + ".out");
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    {
        Handle output(CreateFileA(outputName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                  CREATE_ALWAYS, 0, nullptr));
        if (output.value == INVALID_HANDLE_VALUE)
            return run;
        STARTUPINFOA start = {};
        start.cb = sizeof start;
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdOutput = output.value;
        start.hStdError = output.value;
        PROCESS_INFORMATION process = {};
        std::string commandLine = "\"" + program + "\" " + mode;
        BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &start, &process);
        if (!started)
            return run;
        Handle processHandle(process.hProcess);
        Handle threadHandle(process.hThread);
        if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 0xDEAD);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        GetExitCodeProcess(process.hProcess, &run.exitCode);
    }
    Handle input(CreateFileA(outputName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr));
    char buffer[4096];
    DWORD got = 0;
    while (input.value != INVALID_HANDLE_VALUE &&
           ReadFile(input.value, buffer, sizeof buffer, &got, nullptr) && got > 0)
        run.output.append(buffer, got);
    run.output.erase(std::remove(run.output.begin(), run.output.end(), '\r'), run.output.end());
    return run;
}

bool setProgramSetting(const std::string &programName, const char *subKey, const char *name,
                       const char *value) {
    std::string key = "Software\\Wine\\AppDefaults\\" + programName;
    if (*subKey)
        key += std::string("\\") + subKey;
    HKEY opened = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &opened, nullptr) != ERROR_SUCCESS)
        return false;
    LONG set = RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value),
                              static_cast<DWORD>(std::strlen(value) + 1));
    RegCloseKey(opened);
    return set == ERROR_SUCCESS;
}
