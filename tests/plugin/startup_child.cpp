// A host process of its own for what a test program cannot do to itself: be refused at load,
// run without the rich edit library, or count the library's references from a clean start.
// Prints what it saw, one "key=value" line each, for the test that started it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "test_host.h"

static BOOL CALLBACK collectText(HWND child, LPARAM texts) {
    char text[256] = {};
    if (GetWindowTextA(child, text, sizeof text) > 0) {
        std::string *all = reinterpret_cast<std::string *>(texts);
        *all += text;
        *all += '|';
    }
    return TRUE;
}

static void report(const char *key, const std::string &value) {
    std::printf("%s=%s\n", key, value.c_str());
    std::fflush(stdout);
}

static void report(const char *key, long value) {
    std::printf("%s=%ld\n", key, value);
    std::fflush(stdout);
}

// The refusal box blocks inside the plug-in's entry point, so it is answered from a thread
// that runs before the load starts. Returning from main would wait for that thread.
static int attach() {
    // Looked up here: the answering thread must not load anything while the load is under way.
    HICON errorIcon = LoadIconA(nullptr, IDI_HAND);
    DialogAnswer box(IDOK, [errorIcon](HWND dialog) {
        char caption[64] = {};
        GetWindowTextA(dialog, caption, sizeof caption);
        report("caption", caption);
        std::string texts;
        EnumChildWindows(dialog, collectText, reinterpret_cast<LPARAM>(&texts));
        report("texts", texts);
        report("cancel", GetDlgItem(dialog, IDCANCEL) != nullptr);
        report("errorIcon", messageBoxIcon(dialog) == errorIcon);
    });
    HMODULE plugin = LoadLibraryA("Lumbra.hpi");
    report("loaded", plugin != nullptr);
    ExitProcess(0);
}

static bool richEditLoaded() {
    return GetModuleHandleA("RICHED32.DLL") != nullptr;
}

static DWORD WINAPI idle(void *) {
    return 0;
}

// Holds one reference of its own, so that the plug-in's share shows in what is left after
// each release.
static int references() {
    HMODULE own = LoadLibraryA("RICHED32.DLL");
    report("own", own != nullptr);
    {
        TestHost host;
        HANDLE thread = CreateThread(nullptr, 0, idle, nullptr, 0, nullptr);
        if (thread) {
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        }
        HMODULE again = LoadLibraryA("Lumbra.hpi");
        if (again)
            FreeLibrary(again);
        report("first", host.call("__FreeREdit@16"));
        report("second", host.call("__FreeREdit@16"));
        report("afterPlugin", richEditLoaded());
    }
    if (own)
        FreeLibrary(own);
    report("afterOwn", richEditLoaded());
    return 0;
}

// Unloads the plug-in without __FreeREdit@16: the plug-in's reference stays behind.
static int detach() {
    HMODULE own = LoadLibraryA("RICHED32.DLL");
    report("own", own != nullptr);
    { TestHost host; }
    if (own)
        FreeLibrary(own);
    report("afterOwn", richEditLoaded());
    return 0;
}

static int create() {
    TestHost host;
    report("richEdit", richEditLoaded());
    report("create", host.create(1));
    report("objectAlive", IsWindow(host.objects[1]) != FALSE);
    report("entryKept", host.info()->objects[1] == host.objects[1]);
    report("clear", host.call("_REditClear@16"));
    return 0;
}

int main(int argc, char **argv) {
    if (argc == 2 && std::strcmp(argv[1], "attach") == 0)
        return attach();
    if (argc == 2 && std::strcmp(argv[1], "references") == 0)
        return references();
    if (argc == 2 && std::strcmp(argv[1], "detach") == 0)
        return detach();
    if (argc == 2 && std::strcmp(argv[1], "create") == 0)
        return create();
    std::fprintf(stderr, "usage: startup_child attach|references|detach|create\n");
    return 2;
}
