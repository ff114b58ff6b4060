#include <gtest/gtest.h>

#include <string>

#include "test_host.h"

TEST(Exports, TableHoldsEveryNameTheRuntimeLooksUp) {
    TestHost host;
    ASSERT_NE(nullptr, host.plugin);
    const char *names[] = {
        "_CreateREdit@16",   "__FreeREdit@16",   "_REditFree@16",      "_REditClear@16",
        "_SetREditMode@16",  "_REditSetText@16", "_REditGetText@16",   "_GetREditLength@16",
        "_GetREditLines@16", "_REditRead@16",    "_REditWrite@16",     "_SetREditFont@16",
        "_SetREditFont2@16", "_SetBackColor@16", "_SetREditIMECol@16", "_MyCopyRight_"};
    for (const char *name : names)
        EXPECT_NE(nullptr, reinterpret_cast<void *>(GetProcAddress(host.plugin, name))) << name;
}

TEST(Copyright, ShowsTheNoticeAndAnswersWhatTheBoxAnswers) {
    TestHost host;
    std::string caption, text;
    bool cancel = true;
    HICON icon = nullptr;
    DialogAnswer ok(IDOK, [&](HWND box) {
        char buffer[512] = {};
        GetWindowTextA(box, buffer, sizeof buffer);
        caption = buffer;
        // 0xFFFF: the identifier of a message box's text
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
        text = buffer;
        cancel = GetDlgItem(box, IDCANCEL) != nullptr;
        icon = messageBoxIcon(box);
    });
    EXPECT_EQ(IDOK, host.copyright());
    EXPECT_TRUE(ok.join());
    EXPECT_EQ("Torvin.hpi", caption);
    EXPECT_NE(std::string::npos, text.find("Lumbra.hpi")) << text;
    // the Japanese line's "rich edit", in Shift-JIS
    EXPECT_NE(std::string::npos,
              text.find("\x83\x8a\x83\x62\x83\x60\x83\x47\x83\x66\x83\x42\x83\x62\x83\x67"))
        << text;
    EXPECT_FALSE(cancel);
    EXPECT_EQ(LoadIconA(nullptr, IDI_ASTERISK), icon);
}

// Wine reports the platform of the named Windows version to a program listed under its name.
TEST(Attach, RefusesAnyPlatformButThe95FamilyAndNt) {
    const struct {
        const char *version;
        DWORD platform;
    } cases[] = {{"win31", VER_PLATFORM_WIN32s},
                 {"win98", VER_PLATFORM_WIN32_WINDOWS},
                 {"win10", VER_PLATFORM_WIN32_NT}};
    for (const auto &c : cases) {
        std::string name = std::string("startup_child_") + c.version + ".exe";
        ASSERT_TRUE(setProgramSetting(name, "", "Version", c.version)) << c.version;
        ChildRun run = runChild(name, "attach");
        if (c.platform == VER_PLATFORM_WIN32s) {
            EXPECT_EQ(1u, run.exitCode) << c.version;
            EXPECT_TRUE(run.has("caption=dll")) << run.output;
            EXPECT_NE(std::string::npos, run.output.find("I cannot run under your Windows OS."))
                << run.output;
            EXPECT_TRUE(run.has("cancel=0")) << run.output;
            EXPECT_TRUE(run.has("errorIcon=1")) << run.output;
            EXPECT_FALSE(run.has("loaded=1")) << run.output;
        } else {
            EXPECT_EQ(0u, run.exitCode) << c.version;
            EXPECT_TRUE(run.has("loaded=1")) << c.version << "\n" << run.output;
            EXPECT_FALSE(run.has("caption=dll")) << c.version << "\n" << run.output;
        }
    }
}

// The helper's own reference keeps the library in place exactly as long as the plug-in
// holds one reference, taken once for all notifications and given back once.
TEST(Attach, TakesOneReferenceToTheRichEditLibraryAndGivesItBackOnce) {
    ChildRun run = runChild("startup_child.exe", "references");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.has("own=1")) << run.output;
    EXPECT_TRUE(run.has("first=0")) << run.output;
    EXPECT_TRUE(run.has("second=0")) << run.output;
    EXPECT_TRUE(run.has("afterPlugin=1")) << run.output;
    EXPECT_TRUE(run.has("afterOwn=0")) << run.output;
}

TEST(Attach, ProcessDetachReleasesNothing) {
    ChildRun run = runChild("startup_child.exe", "detach");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.has("own=1")) << run.output;
    EXPECT_TRUE(run.has("afterOwn=1")) << run.output;
}
