// Checks the two programs of an unpacked release from the folder they were unpacked into:
// eolfix.exe's version block in both languages, and that Lumbra.hpi loads there, offers every
// export by its exact name and puts its rich edit control in place of an object, as a script's
// runtime would see it. Prints one line per fault; exit code 0 when there is none.
//   package_check <unpacked folder> <version, for example 0.4.5.1>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "plugin/host_records.h"

static int faults = 0;

static void expect(bool ok, const std::string &what) {
    if (!ok) {
        std::printf("FAULT: %s\n", what.c_str());
        ++faults;
    }
}

static std::string versionString(std::vector<char> &block, const char *table, const char *key) {
    std::string path = std::string("\\StringFileInfo\\") + table + "\\" + key;
    char *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void **>(&value), &length))
        return "(missing)";
    return value;
}

static void checkEolfix(const std::string &folder, const std::string &version) {
    std::string program = folder + "\\eolfix.exe";
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    std::vector<char> block(size);
    expect(size && GetFileVersionInfoA(program.c_str(), 0, size, block.data()),
           "eolfix.exe has a version block");
    if (!size)
        return;
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(version.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    expect(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length) &&
               fixed->dwFileVersionMS == (a << 16 | b) && fixed->dwFileVersionLS == (c << 16 | d) &&
               fixed->dwProductVersionMS == (a << 16 | b) &&
               fixed->dwProductVersionLS == (c << 16 | d) && fixed->dwFileType == VFT_APP,
           "eolfix.exe's fixed version part is " + version + ", a program");
    WORD *translations = nullptr;
    expect(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                          reinterpret_cast<void **>(&translations), &length) &&
               length == 8 && translations[0] == 0x0411 && translations[2] == 0x0409,
           "eolfix.exe lists a Japanese and an English table");
    for (const char *table : {"041104b0", "040904b0"}) {
        const struct {
            const char *key, *value;
        } entries[] = {{"FileVersion", version.c_str()},
                       {"ProductVersion", version.c_str()},
                       {"OriginalFilename", "eolfix.exe"},
                       {"InternalName", "eolfix"}};
        for (const auto &entry : entries)
            expect(versionString(block, table, entry.key) == entry.value,
                   std::string(table) + "\\" + entry.key + " of eolfix.exe is " + entry.value);
        for (const char *key : {"FileDescription", "ProductName"}) {
            std::string value = versionString(block, table, key);
            expect(value != "(missing)" && !value.empty(),
                   std::string(table) + "\\" + key + " of eolfix.exe is there");
        }
    }
}

static void checkPlugin(const std::string &folder) {
    HMODULE plugin = LoadLibraryA((folder + "\\Lumbra.hpi").c_str());
    expect(plugin != nullptr, "Lumbra.hpi loads from the unpacked folder");
    if (!plugin)
        return;
    static const char *const names[] = {
        "_CreateREdit@16",   "__FreeREdit@16",   "_REditFree@16",      "_REditClear@16",
        "_SetREditMode@16",  "_REditSetText@16", "_REditGetText@16",   "_GetREditLength@16",
        "_GetREditLines@16", "_REditRead@16",    "_REditWrite@16",     "_SetREditFont@16",
        "_SetREditFont2@16", "_SetBackColor@16", "_SetREditIMECol@16", "_MyCopyRight_"};
    for (const char *name : names)
        expect(GetProcAddress(plugin, name) != nullptr, std::string("Lumbra.hpi exports ") + name);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PackageCheckHost";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    HostWindowInfo record = {};
    record.dc = GetDC(window);
    record.window = window;
    record.objects[0] = CreateWindowExA(0, "BUTTON", "object", WS_CHILD | WS_VISIBLE, 10, 10, 200,
                                        100, window, nullptr, wc.hInstance, nullptr);
    typedef int(__stdcall * Export)(int, int, int, int);
    auto call = [plugin](const char *name, int a) {
        Export f =
            reinterpret_cast<Export>(reinterpret_cast<void (*)()>(GetProcAddress(plugin, name)));
        return f ? f(a, 0, 0, 0) : 0x7fffffff;
    };
    int status = call("_CreateREdit@16", static_cast<int>(reinterpret_cast<intptr_t>(&record)));
    expect(status == 0, "_CreateREdit@16 returns 0, got " + std::to_string(status));
    char className[32] = {};
    GetClassNameA(record.objects[0], className, sizeof className);
    expect(lstrcmpiA(className, "RICHEDIT") == 0,
           std::string("object 0 is now a RICHEDIT control, got ") + className);
    expect(call("__FreeREdit@16", 0) == 0, "__FreeREdit@16 returns 0");
    ReleaseDC(window, record.dc);
    DestroyWindow(window);
    FreeLibrary(plugin);
}

int main(int argc, char **argv) {
    if (argc != 3) {
        std::printf("usage: package_check <unpacked folder> <version>\n");
        return 2;
    }
    checkEolfix(argv[1], argv[2]);
    checkPlugin(argv[1]);
    std::printf("%s\n", faults ? "package check failed" : "package check passed");
    return faults ? 1 : 0;
}
