// A stand-in for the script runtime: a real top-level window with real child controls as its
// objects, the runtime's window record laid out by offset inside guard bytes, and the built
// plug-in loaded and called by its exported names as the runtime calls it.
#ifndef TESTS_PLUGIN_TEST_HOST_H
#define TESTS_PLUGIN_TEST_HOST_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "plugin/host_records.h"

enum : int { testObjectCount = 4 };

class TestHost {
  public:
    // Loads a fresh copy of Lumbra.hpi (its globals start from zero) and opens the window.
    TestHost();
    // Closes the window and unloads the plug-in.
    ~TestHost();
    TestHost(const TestHost &) = delete;
    TestHost &operator=(const TestHost &) = delete;

    // Calls an export of four 32-bit arguments by its exact name, as the runtime does.
    int call(const char *exportName, int a = 0, int b = 0, int c = 0, int d = 0);
    int call(const char *exportName, const void *a, int b = 0, int c = 0, int d = 0);
    // The one export without arguments.
    int copyright();

    // Creates the rich edit control in place of object number i.
    int create(int i = 0) { return call("_CreateREdit@16", info(), i); }

    HostWindowInfo *info() { return reinterpret_cast<HostWindowInfo *>(record.data()); }
    // True when no byte of the window record outside dc, window and objects has changed.
    bool recordGuardsIntact() const;
    // Handles the window's pending messages.
    void pump();

    HMODULE plugin = nullptr;
    HWND window = nullptr;
    HDC dc = nullptr;
    HWND objects[testObjectCount] = {};
    RECT objectRects[testObjectCount] = {}; // client coordinates the objects were placed at

  private:
    std::vector<uint8_t> record;
};

// Answers a modal box of this process from a second thread: waits for the dialog window
// (class "#32770"), lets prepare() set its controls, then presses the button with id.
class DialogAnswer {
  public:
    // Returns once the thread runs, so that a box shown while the loader is busy (from the
    // plug-in's entry point) can still be answered: a thread that has not started yet would
    // wait for the loader itself.
    DialogAnswer(int id, std::function<void(HWND)> prepare = nullptr);
    // Waits for the thread; true when a dialog was found and answered.
    bool join();
    ~DialogAnswer();
    HWND dialog = nullptr;

  private:
    static DWORD WINAPI run(void *self);
    int id;
    std::function<void(HWND)> prepare;
    HANDLE thread = nullptr;
    HANDLE running = nullptr;
    bool answered = false;
};

// A new window of windowClass (by default a button) captioned text, child of parent and made
// with this program's instance, with the handle of the destroyed window gone, or null when the
// system does not give that handle out again. Handles are spent with cheap menus first: the
// system numbers each reuse of a handle entry, from 1 to FFFEh.
HWND windowWithHandleOf(HWND gone, HWND parent, const char *windowClass = "BUTTON",
                        const char *text = "button");

// The icon that a message box shows (its one icon-style static control), or null.
HICON messageBoxIcon(HWND box);

struct ChildRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
    bool has(const std::string &line) const {
        return ("\n" + output).find("\n" + line + "\n") != std::string::npos;
    }
};

// Runs startup_child.exe from beside the test program, copied under programName when that
// differs, in mode. Gives up on the child after 30 seconds.
ChildRun runChild(const std::string &programName, const char *mode);

// Sets one of Wine's settings for the program of that name alone, under
// HKCU\Software\Wine\AppDefaults\<programName>\<subKey>: "Version" (for example "win31"), or
// "DllOverrides" with a library's name and "" to make that library unloadable.
bool setProgramSetting(const std::string &programName, const char *subKey, const char *name,
                       const char *value);

#endif
