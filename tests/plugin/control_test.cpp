#include <gtest/gtest.h>

#include <richedit.h>

#include <climits>
#include <cstring>
#include <string>

#include "test_host.h"

// What the plug-in asked for when it created its window: the scroll bars of the style, for one,
// are shown by the control only when its text needs them.
struct Creation {
    bool seen = false;
    CREATESTRUCTA values = {};
    std::string text;
};
static Creation creation;

static LRESULT CALLBACK watchCreation(int code, WPARAM window, LPARAM details) {
    if (code == HCBT_CREATEWND) {
        CREATESTRUCTA *values = reinterpret_cast<CBT_CREATEWNDA *>(details)->lpcs;
        if (!IS_INTRESOURCE(values->lpszClass) && std::strcmp(values->lpszClass, "RICHEDIT") == 0) {
            creation.seen = true;
            creation.values = *values;
            creation.text = values->lpszName ? values->lpszName : "(null)";
        }
    }
    return CallNextHookEx(nullptr, code, window, details);
}

static HWND createdControl(TestHost &host, int i) {
    return host.info()->objects[i];
}

static std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

static std::string textOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST(CreateREdit, ObjectNumbersOutsideTheTableGiveThreeEvenWithAControl) {
    TestHost host;
    for (int i : {-1, 64, 1000, INT_MIN, INT_MAX})
        EXPECT_EQ(3, host.create(i)) << i;
    ASSERT_EQ(0, host.create(0));
    for (int i : {-1, 64})
        EXPECT_EQ(3, host.create(i)) << i;
}

TEST(CreateREdit, LastObjectNumberIsAcceptedAndAnEmptyEntryGivesMinusOne) {
    TestHost host;
    EXPECT_EQ(-1, host.create(63));
    host.info()->objects[63] = host.objects[2];
    EXPECT_EQ(0, host.create(63));
    EXPECT_FALSE(IsWindow(host.objects[2]));
}

TEST(CreateREdit, ADestroyedObjectGivesMinusOneAndLeavesTheRecord) {
    TestHost host;
    DestroyWindow(host.objects[1]);
    EXPECT_EQ(-1, host.create(1));
    EXPECT_EQ(host.objects[1], host.info()->objects[1]);
    EXPECT_EQ(-1, host.call("_REditClear@16"));
    EXPECT_EQ(0, host.create(0));
}

TEST(CreateREdit, ReplacesTheObjectByAReadOnlyRichEditControl) {
    TestHost host;
    creation = Creation();
    HHOOK hook = SetWindowsHookExA(WH_CBT, watchCreation, nullptr, GetCurrentThreadId());
    ASSERT_EQ(0, host.create(1));
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(creation.seen);
    EXPECT_EQ(0x50B09944, creation.values.style);
    EXPECT_EQ(WS_EX_CLIENTEDGE, creation.values.dwExStyle);
    EXPECT_EQ("", creation.text);
    EXPECT_EQ(nullptr, creation.values.lpCreateParams);
    HWND control = createdControl(host, 1);
    ASSERT_NE(host.objects[1], control);
    ASSERT_TRUE(IsWindow(control));
    EXPECT_FALSE(IsWindow(host.objects[1]));
    EXPECT_EQ("RICHEDIT", className(control));
    EXPECT_EQ(host.window, GetParent(control));
    EXPECT_EQ(0xFF00, GetDlgCtrlID(control));
    EXPECT_EQ(0x50809944, GetWindowLongA(control, GWL_STYLE) & ~(WS_VSCROLL | WS_HSCROLL));
    EXPECT_EQ(host.plugin, reinterpret_cast<HMODULE>(GetWindowLongPtrA(control, GWLP_HINSTANCE)));
    EXPECT_EQ(control, GetFocus());
    EXPECT_EQ(0x40000000, SendMessageA(control, EM_GETLIMITTEXT, 0, 0));
    LRESULT options = SendMessageA(control, EM_GETOPTIONS, 0, 0);
    EXPECT_TRUE(options & ECO_AUTOWORDSELECTION);
    EXPECT_TRUE(options & ECO_READONLY);
    EXPECT_EQ("", textOf(control));

    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    SendMessageA(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_STREQ("System", format.szFaceName);
    EXPECT_TRUE(format.dwEffects & CFE_AUTOCOLOR);
    EXPECT_FALSE(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE));

    for (int i : {0, 2, 3})
        EXPECT_EQ(host.objects[i], host.info()->objects[i]) << i;
    EXPECT_TRUE(host.recordGuardsIntact());
}

// The control lands where the object was, moved by the runtime's fixed 3-pixel frame and the
// caption height from screen into client coordinates.
TEST(CreateREdit, PlacesTheControlByTheHostWindowsFrameRule) {
    for (int i = 0; i < testObjectCount; ++i) {
        TestHost host;
        RECT object, hostWindow;
        GetWindowRect(host.objects[i], &object);
        GetWindowRect(host.window, &hostWindow);
        int caption = GetSystemMetrics(SM_CYCAPTION);
        ASSERT_EQ(0, host.create(i));
        RECT placed;
        GetWindowRect(createdControl(host, i), &placed);
        MapWindowPoints(nullptr, host.window, reinterpret_cast<POINT *>(&placed), 2);
        EXPECT_EQ(object.left - hostWindow.left - 3, placed.left) << i;
        EXPECT_EQ(object.top - hostWindow.top - caption - 3, placed.top) << i;
        EXPECT_EQ(object.right - object.left, placed.right - placed.left) << i;
        EXPECT_EQ(object.bottom - object.top, placed.bottom - placed.top) << i;
    }
}

TEST(CreateREdit, SecondCreationIsRefusedAndLeavesTheRecord) {
    TestHost host;
    ASSERT_EQ(0, host.create(0));
    EXPECT_EQ(-255, host.create(1));
    EXPECT_EQ(host.objects[1], host.info()->objects[1]);
    EXPECT_TRUE(IsWindow(host.objects[1]));
    EXPECT_TRUE(host.recordGuardsIntact());
}

TEST(StaleSlot, FreeForgetsAControlTheHostDestroyed) {
    TestHost host;
    ASSERT_EQ(0, host.create(0));
    HWND first = createdControl(host, 0);
    EXPECT_EQ(-2, host.call("_REditFree@16"));
    EXPECT_TRUE(IsWindow(first));
    EXPECT_EQ(0, host.call("_REditClear@16"));

    DestroyWindow(first);
    EXPECT_EQ(-255, host.create(1));
    EXPECT_EQ(0, host.call("_REditFree@16"));
    EXPECT_EQ(0, host.call("_REditFree@16"));
    ASSERT_EQ(0, host.create(1));
    EXPECT_TRUE(IsWindow(createdControl(host, 1)));
}

// After the host destroyed the control, the system may give its handle to another window: that
// window is no control, and neither the guard nor the release may touch it; a rich edit window
// that the host made itself is not ours either.
TEST(StaleSlot, AHandleGivenToAnotherWindowCountsAsGone) {
    for (const char *windowClass : {"BUTTON", "RICHEDIT"}) {
        TestHost host;
        // The host's own hold on the class's library: the plug-in gives its hold back below.
        HMODULE richEdit = LoadLibraryA("RICHED32.DLL");
        ASSERT_EQ(0, host.create(0));
        HWND gone = createdControl(host, 0);
        DestroyWindow(gone);
        HWND button = windowWithHandleOf(gone, host.window, windowClass);
        if (!button) {
            FreeLibrary(richEdit);
            GTEST_SKIP() << "this system did not give the handle out again";
        }
        EXPECT_EQ(0, host.call("__FreeREdit@16"));
        EXPECT_TRUE(IsWindow(button)) << windowClass;
        EXPECT_EQ(-1, host.call("_REditClear@16")) << windowClass;
        EXPECT_EQ("button", textOf(button)) << windowClass;
        EXPECT_EQ(0, host.call("_REditFree@16")) << windowClass;
        DestroyWindow(button);
        FreeLibrary(richEdit);
    }
}

// Each guarded export empties a stale slot once and then answers through the null test.
TEST(StaleSlot, GuardedExportsReportNoControlAndEmptyTheSlot) {
    for (const char *name : {"_REditClear@16", "_SetREditMode@16"}) {
        TestHost host;
        EXPECT_EQ(-1, host.call(name, 1)) << name;
        ASSERT_EQ(0, host.create(0));
        DestroyWindow(createdControl(host, 0));
        EXPECT_EQ(-255, host.create(1)) << name;
        EXPECT_EQ(-1, host.call(name, 1)) << name;
        EXPECT_EQ(-1, host.call(name, 1)) << name;
        EXPECT_EQ(0, host.create(1)) << name;
    }
}

static bool typed(HWND control, const char *text) {
    SendMessageA(control, WM_SETTEXT, 0, 0);
    for (const char *c = text; *c; ++c)
        SendMessageA(control, WM_CHAR, static_cast<unsigned char>(*c), 1);
    return textOf(control) == text;
}

TEST(SetREditMode, ZeroMakesReadOnlyAndAnyOtherModeEditable) {
    struct Step {
        int mode;
        bool editable;
    };
    const Step steps[] = {{1, true},  {1, true},  {0, false},     {0, false},
                          {-1, true}, {0, false}, {0x7FFF, true}, {INT_MIN, true}};
    TestHost host;
    ASSERT_EQ(0, host.create(0));
    HWND control = createdControl(host, 0);
    EXPECT_FALSE(typed(control, "ab"));
    for (const Step &step : steps) {
        EXPECT_EQ(0, host.call("_SetREditMode@16", step.mode)) << step.mode;
        LRESULT options = SendMessageA(control, EM_GETOPTIONS, 0, 0);
        EXPECT_EQ(!step.editable, (options & ECO_READONLY) != 0) << step.mode;
        EXPECT_EQ(!step.editable, (GetWindowLongA(control, GWL_STYLE) & ES_READONLY) != 0)
            << step.mode;
        EXPECT_EQ(step.editable, typed(control, "ab")) << step.mode;
    }
}

TEST(REditClear, EmptiesTheControlAndClearsTheModifiedFlag) {
    TestHost host;
    ASSERT_EQ(0, host.create(0));
    HWND control = createdControl(host, 0);
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("line one\r\nline two"));
    SendMessageA(control, EM_SETMODIFY, TRUE, 0);
    EXPECT_EQ(0, host.call("_REditClear@16"));
    EXPECT_EQ(0, GetWindowTextLengthA(control));
    EXPECT_EQ(0, SendMessageA(control, EM_GETMODIFY, 0, 0));
}

TEST(FreeREdit, DestroysTheControlAndLaterCallsReportNoControl) {
    TestHost host;
    ASSERT_EQ(0, host.create(0));
    HWND control = createdControl(host, 0);
    EXPECT_EQ(0, host.call("__FreeREdit@16"));
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(control, host.info()->objects[0]);
    EXPECT_EQ(-255, host.create(1));
    EXPECT_EQ(-1, host.call("_REditClear@16"));
    EXPECT_EQ(-1, host.call("_SetREditMode@16", 1));
    EXPECT_EQ(0, host.call("__FreeREdit@16"));
}

// Without the rich edit library no control can exist, so the object must stay where it is.
TEST(FreeREdit, CreationAfterwardsFailsAndLeavesTheObject) {
    TestHost host;
    EXPECT_EQ(0, host.call("__FreeREdit@16"));
    EXPECT_EQ(-3, host.create(1));
    EXPECT_TRUE(IsWindow(host.objects[1]));
    EXPECT_EQ(host.objects[1], host.info()->objects[1]);
    EXPECT_EQ(0, host.call("_REditFree@16"));
    EXPECT_EQ(-1, host.call("_REditClear@16"));
    EXPECT_TRUE(host.recordGuardsIntact());
}

TEST(FreeREdit, NoticeStillWorksAfterwards) {
    TestHost host;
    EXPECT_EQ(0, host.call("__FreeREdit@16"));
    DialogAnswer ok(IDOK);
    EXPECT_EQ(IDOK, host.copyright());
    EXPECT_TRUE(ok.join());
}

// A host process whose rich edit library cannot be loaded: the object must survive.
TEST(CreateREdit, WithoutTheRichEditLibraryLeavesTheObjectAndGivesMinusThree) {
    const char *name = "startup_child_norichedit.exe";
    ASSERT_TRUE(setProgramSetting(name, "DllOverrides", "riched32", ""));
    ChildRun run = runChild(name, "create");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.has("richEdit=0")) << run.output;
    EXPECT_TRUE(run.has("create=-3")) << run.output;
    EXPECT_TRUE(run.has("objectAlive=1")) << run.output;
    EXPECT_TRUE(run.has("entryKept=1")) << run.output;
    EXPECT_TRUE(run.has("clear=-1")) << run.output;
}

// The window itself may fail to appear too; the object is destroyed only once it has.
TEST(CreateREdit, AFailedWindowCreationLeavesTheObject) {
    TestHost host;
    HWND window = host.info()->window;
    host.info()->window = reinterpret_cast<HWND>(static_cast<intptr_t>(0x7FFF0));
    EXPECT_EQ(-3, host.create(1));
    EXPECT_TRUE(IsWindow(host.objects[1]));
    EXPECT_EQ(host.objects[1], host.info()->objects[1]);
    host.info()->window = window;
    EXPECT_EQ(0, host.create(1));
}
