#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_host.h"

static std::vector<char> versionBlock() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name(path);
    name = name.substr(0, name.find_last_of('\\') + 1) + "Lumbra.hpi";
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(name.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(name.c_str(), 0, size, block.data()))
        block.clear();
    return block;
}

static std::string stringEntry(std::vector<char> &block, const char *key) {
    std::string path = std::string("\\StringFileInfo\\041104b0\\") + key;
    char *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void **>(&value), &length))
        return "(missing)";
    return value;
}

TEST(VersionBlock, FixedPartNamesAPrivateSpecialDllBuild) {
    std::vector<char> block = versionBlock();
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    EXPECT_EQ(0x00000004u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00050001u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00000004u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00050001u, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VS_FF_PRIVATEBUILD | VS_FF_SPECIALBUILD),
              fixed->dwFileFlags & fixed->dwFileFlagsMask);
    EXPECT_EQ(static_cast<DWORD>(VOS_NT_WINDOWS32), fixed->dwFileOS);
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), fixed->dwFileType);
}

TEST(VersionBlock, OneJapaneseUnicodeStringTable) {
    std::vector<char> block = versionBlock();
    ASSERT_FALSE(block.empty());
    WORD *translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void **>(&translation), &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x0411, translation[0]);
    EXPECT_EQ(1200, translation[1]);

    const struct {
        const char *key;
        const char *value;
    } entries[] = {{"FileVersion", "0, 4, 5, 1"},
                   {"ProductVersion", "0, 4, 5, 1"},
                   {"FileDescription", "Lumbra"},
                   {"InternalName", "Lumbra"},
                   {"OriginalFilename", "Lumbra.hpi"},
                   {"PrivateBuild", "----"},
                   {"SpecialBuild", "----"}};
    for (const auto &entry : entries)
        EXPECT_EQ(entry.value, stringEntry(block, entry.key)) << entry.key;
    for (const char *key : {"ProductName", "CompanyName", "LegalCopyright"})
        EXPECT_NE("(missing)", stringEntry(block, key)) << key;
}

TEST(VersionBlock, JapaneseCommentIsStoredAsUtf16) {
    std::vector<char> block = versionBlock();
    ASSERT_FALSE(block.empty());
    const wchar_t expected[] = L"HSP \x3067\x30ea\x30c3\x30c1\x30a8\x30c7\x30a3\x30c3\x30c8\x3092"
                               L"\x5229\x7528\x3059\x308b Plug-in \x3067\x3059";
    wchar_t *value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104b0\\Comments",
                               reinterpret_cast<void **>(&value), &length));
    EXPECT_EQ(std::wstring(expected), std::wstring(value));
}

// A program of the Japanese code page, as the runtime is, reads the comment as Shift-JIS.
TEST(VersionBlock, JapaneseCommentReadsAsShiftJis) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page (LC_ALL=ja_JP.UTF-8 under Wine)";
    std::vector<char> block = versionBlock();
    ASSERT_FALSE(block.empty());
    EXPECT_EQ("HSP \x82\xc5\x83\x8a\x83\x62\x83\x60\x83\x47\x83\x66\x83\x42\x83\x62\x83\x67"
              "\x82\xf0\x97\x98\x97\x70\x82\xb7\x82\xe9 Plug-in \x82\xc5\x82\xb7",
              stringEntry(block, "Comments"));
}

TEST(Icon, GroupHoldsOne32By32SixteenColourImage) {
    TestHost host;
    ASSERT_NE(nullptr, host.plugin);
    HRSRC group = FindResourceA(host.plugin, MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(14));
    ASSERT_NE(nullptr, group);
    const BYTE *directory =
        static_cast<const BYTE *>(LockResource(LoadResource(host.plugin, group)));
    ASSERT_NE(nullptr, directory);
    ASSERT_EQ(6u + 14u, SizeofResource(host.plugin, group));
    EXPECT_EQ(1, directory[2] | directory[3] << 8);   // an icon group
    EXPECT_EQ(1, directory[4] | directory[5] << 8);   // one image
    EXPECT_EQ(32, directory[6]);                      // width
    EXPECT_EQ(32, directory[7]);                      // height
    EXPECT_EQ(16, directory[8]);                      // colours
    EXPECT_EQ(4, directory[12] | directory[13] << 8); // bits per pixel
    int imageId = directory[18] | directory[19] << 8;
    HRSRC image = FindResourceA(host.plugin, MAKEINTRESOURCEA(imageId), MAKEINTRESOURCEA(3));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(40u + 64u + 512u + 128u, SizeofResource(host.plugin, image));
    HICON icon =
        static_cast<HICON>(LoadImageA(host.plugin, MAKEINTRESOURCEA(101), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(nullptr, icon);
    if (icon)
        DestroyIcon(icon);
}
