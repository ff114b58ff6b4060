#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "host_fixture.h"
#include "host_variables.h"

// A face that this machine's font dialog lists.
static const char testFace[] = "DejaVu Sans";

enum : DWORD { fontMask = 0xF000000F, allEffects = 0xF };

TEST(FormatWithoutControl, EveryExportAnswersMinusOne) {
    TestHost host;
    TestVariable face = TestVariable::string(16);
    face.setText(testFace);
    TestVariable number = TestVariable::integer();
    EXPECT_EQ(-1, host.call("_SetREditFont@16", face.get(), 12, 0, 1));
    EXPECT_EQ(-1, host.call("_SetREditFont@16", number.get(), 12, 0, 1));
    EXPECT_EQ(-1, host.call("_SetREditFont2@16"));
    EXPECT_EQ(-1, host.call("_SetBackColor@16", 255, 0, 0));
    EXPECT_EQ(-1, host.call("_SetREditIMECol@16", 0xFF, 0xFF00, 1));
    EXPECT_EQ(testFace, face.text());
    EXPECT_TRUE(face.untouchedOutside());
    EXPECT_TRUE(number.untouchedOutside());
}

class FormatTest : public ControlTest {
  protected:
    void SetUp() override {
        ControlTest::SetUp();
        if (HasFatalFailure())
            return;
        show("sample text");
        SendMessageA(control, EM_SETSEL, 0, -1);
    }
    int setFont(TestVariable &face, int points, int colour, int effects) {
        return host.call("_SetREditFont@16", face.get(), points, colour, effects);
    }
    int setFont(const char *name, int points, int colour, int effects) {
        TestVariable face = TestVariable::string(16);
        face.setText(name);
        return setFont(face, points, colour, effects);
    }
    CHARFORMATA selection() {
        CHARFORMATA format;
        std::memset(&format, 0, sizeof format);
        format.cbSize = sizeof format;
        SendMessageA(control, EM_GETCHARFORMAT, 1, reinterpret_cast<LPARAM>(&format));
        return format;
    }
    void setOffset(LONG offset) {
        CHARFORMATA format;
        std::memset(&format, 0, sizeof format);
        format.cbSize = sizeof format;
        format.dwMask = CFM_OFFSET;
        format.yOffset = offset;
        SendMessageA(control, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }
};

// The record sent is the one read from the selection with exactly the documented fields
// replaced, byte for byte; the face name's bytes after its terminator keep what was read.
TEST_F(FormatTest, SetFontSendsTheSelectionsFormatWithArgumentsApplied) {
    struct Case {
        int points;
        int colour;
        int effects;
        LONG height;
        COLORREF sentColour;
        DWORD sentEffects;
    } cases[] = {
        {12, 0x0000FF, 5, 240, 0x020000FF, CFE_BOLD | CFE_UNDERLINE},
        {10, 0x123456, 16, 200, 0x02123456, 0},
        {9, 0x00FF00, 0xFF, 180, 0x0200FF00, allEffects},
        {0, 0x7F000000, 2, 0, 0x7F000000 | 0x02000000, CFE_ITALIC},
        {-3, 0, 8, -60, 0x02000000, CFE_STRIKEOUT},
    };
    setOffset(40);
    for (const Case &c : cases) {
        MessageSpy spy(control);
        EXPECT_EQ(0, setFont(testFace, c.points, c.colour, c.effects)) << c.points;
        const SpiedMessage *read = spy.last(EM_GETCHARFORMAT);
        const SpiedMessage *sent = spy.last(EM_SETCHARFORMAT);
        ASSERT_NE(nullptr, read);
        ASSERT_NE(nullptr, sent);
        EXPECT_EQ(1u, read->wParam);
        EXPECT_EQ(static_cast<WPARAM>(SCF_SELECTION), sent->wParam);
        CHARFORMATA expected = read->format();
        expected.cbSize = sizeof expected;
        expected.dwMask = fontMask;
        expected.dwEffects = c.sentEffects;
        expected.yHeight = c.height;
        expected.crTextColor = c.sentColour;
        expected.bCharSet = DEFAULT_CHARSET;
        expected.bPitchAndFamily = 0;
        std::memcpy(expected.szFaceName, testFace, sizeof testFace);
        EXPECT_EQ(0, std::memcmp(&expected, &sent->format(), sizeof expected)) << c.points;
        EXPECT_EQ(40, sent->format().yOffset);
    }
    CHARFORMATA applied = selection();
    EXPECT_STREQ(testFace, applied.szFaceName);
    EXPECT_EQ(static_cast<DWORD>(CFE_STRIKEOUT), applied.dwEffects & allEffects);
}

// unitLength counts 4-byte units but bounds the face unscaled: the cut falls at
// min(unitLength, 32) - 1, in the script's variable too, and never beyond its storage.
TEST_F(FormatTest, FaceNameIsCutByTheUnitLength) {
    const std::string longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    struct Case {
        const char *name;
        TestVariable (*make)();
        size_t kept;
    } cases[] = {
        {"16 units", [] { return TestVariable::string(16); }, 15},
        {"64 units", [] { return TestVariable::string(64); }, 31},
        {"32 units", [] { return TestVariable::string(32); }, 31},
        {"4 units", [] { return TestVariable::string(4); }, 3},
        {"1 unit", [] { return TestVariable::string(1); }, 0},
        {"size record of 16 units, field 20", [] { return TestVariable::recordString(16, 1, 20); },
         19},
        {"size record of 2 units, stale field 30",
         [] { return TestVariable::recordString(2, 1, 30); }, 7},
    };
    for (const Case &c : cases) {
        TestVariable face = c.make();
        face.setText(longName);
        MessageSpy spy(control);
        EXPECT_EQ(0, setFont(face, 12, 0, 0)) << c.name;
        const SpiedMessage *sent = spy.last(EM_SETCHARFORMAT);
        ASSERT_NE(nullptr, sent) << c.name;
        EXPECT_EQ(longName.substr(0, c.kept), sent->format().szFaceName) << c.name;
        EXPECT_EQ(longName.substr(0, c.kept), face.text()) << c.name;
        EXPECT_TRUE(face.untouchedOutside()) << c.name;
    }
    // Sixteen あ: the cut at 15 bytes would leave a lone lead byte, so the character goes.
    TestVariable face = TestVariable::string(16);
    std::string japanese;
    for (int i = 0; i < 16; ++i)
        japanese += "\x82\xa0";
    face.setText(japanese);
    MessageSpy spy(control);
    EXPECT_EQ(0, setFont(face, 12, 0, 0));
    ASSERT_NE(nullptr, spy.last(EM_SETCHARFORMAT));
    EXPECT_EQ(japanese.substr(0, 14), spy.last(EM_SETCHARFORMAT)->format().szFaceName);
    EXPECT_EQ(japanese.substr(0, 14), face.text());
}

TEST_F(FormatTest, SetFontRefusesVariablesItCannotUse) {
    TestVariable number = TestVariable::integer();
    TestVariable empty = TestVariable::string(0);
    TestVariable emptyRecord = TestVariable::recordString(0, 1, 16);
    MessageSpy spy(control);
    EXPECT_EQ(-2, setFont(number, 12, 0, 1));
    EXPECT_EQ(-2, setFont(empty, 12, 0, 1));
    EXPECT_EQ(-2, setFont(emptyRecord, 12, 0, 1));
    EXPECT_TRUE(emptyRecord.untouchedOutside());
    EXPECT_TRUE(spy.all(EM_GETCHARFORMAT).empty());
    EXPECT_TRUE(spy.all(EM_SETCHARFORMAT).empty());
    EXPECT_TRUE(number.untouchedOutside());
    EXPECT_TRUE(empty.untouchedOutside());
}

TEST_F(FormatTest, BackColourUsesTheLowEightBitsOfEachPart) {
    struct Case {
        int red, green, blue;
        COLORREF sent;
    } cases[] = {
        {255, 0, 0, 0x0000FF},  {256, 0, 0, 0x000000},
        {0, 255, 0, 0x00FF00},  {0x1234, 0x5678, 0x9ABC, 0xBC7834},
        {-1, -1, -1, 0xFFFFFF},
    };
    for (const Case &c : cases) {
        MessageSpy spy(control);
        EXPECT_EQ(0, host.call("_SetBackColor@16", c.red, c.green, c.blue, 0x7777));
        const SpiedMessage *sent = spy.last(EM_SETBKGNDCOLOR);
        ASSERT_NE(nullptr, sent);
        EXPECT_EQ(0u, sent->wParam);
        EXPECT_EQ(static_cast<LPARAM>(c.sent), sent->lParam) << c.red;
        // The control answers a new background colour with the one it replaces.
        EXPECT_EQ(static_cast<LRESULT>(c.sent), SendMessageA(control, EM_SETBKGNDCOLOR, 0, 0))
            << c.red;
    }
}

// Only the addressed entry changes, and only its two colours; the index wraps at four.
TEST_F(FormatTest, ImeColourChangesOneEntryOfFour) {
    struct Case {
        int index;
        int entry;
    } cases[] = {{0, 0}, {2, 2}, {5, 1}, {-1, 3}, {0x7FFFFFFE, 2}};
    for (const Case &c : cases) {
        MessageSpy spy(control);
        spy.answerImeColours = true;
        for (int i = 0; i < 4; ++i)
            spy.imeColours[i] = {static_cast<COLORREF>(0x111111 * (i + 1)),
                                 static_cast<COLORREF>(0x010101 * (i + 1)),
                                 static_cast<DWORD>(i + 8)};
        EXPECT_EQ(0, host.call("_SetREditIMECol@16", 0xAB123456, 0xCD654321, c.index, 5));
        const SpiedMessage *read = spy.last(EM_GETIMECOLOR);
        const SpiedMessage *sent = spy.last(EM_SETIMECOLOR);
        ASSERT_NE(nullptr, read);
        ASSERT_NE(nullptr, sent);
        EXPECT_EQ(0u, read->wParam);
        EXPECT_EQ(0u, sent->wParam);
        for (int i = 0; i < 4; ++i) {
            const COMPCOLOR &got = sent->colours()[i];
            COMPCOLOR want = spy.imeColours[i];
            if (i == c.entry) {
                want.crText = 0x123456;
                want.crBackground = 0x654321;
            }
            EXPECT_EQ(want.crText, got.crText) << c.index << " entry " << i;
            EXPECT_EQ(want.crBackground, got.crBackground) << c.index << " entry " << i;
            EXPECT_EQ(want.dwEffects, got.dwEffects) << c.index << " entry " << i;
        }
    }
}

// What the font dialog showed when it opened, read from its controls.
struct DialogState {
    std::string face;
    int points = 0;
    LRESULT style = -1; // item data of the selected style: weight, italic in the high word
    bool strikeOut = true;
    bool underline = false;
    LRESULT colour = -1;
};

static DialogState readDialog(HWND dialog) {
    DialogState state;
    char text[LF_FACESIZE] = {};
    GetDlgItemTextA(dialog, cmb1, text, sizeof text);
    state.face = text;
    GetDlgItemTextA(dialog, cmb3, text, sizeof text);
    state.points = std::atoi(text);
    LRESULT style = SendDlgItemMessageA(dialog, cmb2, CB_GETCURSEL, 0, 0);
    state.style = SendDlgItemMessageA(dialog, cmb2, CB_GETITEMDATA, style, 0);
    state.strikeOut = IsDlgButtonChecked(dialog, chx1) == BST_CHECKED;
    state.underline = IsDlgButtonChecked(dialog, chx2) == BST_CHECKED;
    LRESULT colour = SendDlgItemMessageA(dialog, cmb4, CB_GETCURSEL, 0, 0);
    state.colour = SendDlgItemMessageA(dialog, cmb4, CB_GETITEMDATA, colour, 0);
    return state;
}

// Selects the combo box item whose item data or text matches, as a user's click would.
static void chooseItem(HWND dialog, int id, LRESULT data) {
    HWND combo = GetDlgItem(dialog, id);
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(combo, CB_GETITEMDATA, i, 0) == data) {
            SendMessageA(combo, CB_SETCURSEL, i, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(combo));
            return;
        }
    }
    ADD_FAILURE() << "no item " << data << " in combo box " << id;
}

static void tick(HWND dialog, int id, bool on) {
    HWND box = GetDlgItem(dialog, id);
    SendMessageA(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(box));
}

enum : LRESULT { styleRegular = FW_NORMAL, styleBold = FW_BOLD, italicBit = 0x10000 };

class FontDialogTest : public FormatTest {
  protected:
    // Opens the dialog through the export, lets change() set its controls, presses button.
    void runDialog(int button, std::function<void(HWND)> change = nullptr) {
        MessageSpy spy(control);
        DialogAnswer answer(button, [&](HWND dialog) {
            opened = readDialog(dialog);
            if (change)
                change(dialog);
        });
        EXPECT_EQ(0, host.call("_SetREditFont2@16"));
        ASSERT_TRUE(answer.join());
        const SpiedMessage *read = spy.last(EM_GETCHARFORMAT);
        ASSERT_NE(nullptr, read);
        EXPECT_EQ(1u, read->wParam);
        before = read->format();
        const SpiedMessage *set = spy.last(EM_SETCHARFORMAT);
        applied = set != nullptr;
        if (set)
            sent = set->format();
    }

    DialogState opened;
    CHARFORMATA before = {};
    CHARFORMATA sent = {};
    bool applied = false;
};

TEST_F(FontDialogTest, CancelChangesNothing) {
    ASSERT_EQ(0, setFont(testFace, 12, 0xFF, CFE_BOLD));
    runDialog(IDCANCEL, [](HWND dialog) { tick(dialog, chx2, true); });
    EXPECT_FALSE(applied);
    CHARFORMATA now = selection();
    EXPECT_EQ(static_cast<DWORD>(CFE_BOLD), now.dwEffects & allEffects);
    EXPECT_EQ(240, now.yHeight);
}

// A bold, underlined, struck-out 12-point selection on a 96 dpi device opens as 12 points,
// bold, underlined, with strike-out off and black; confirming it as it is drops the strike-out
// and the colour, and keeps offset and character set as read.
TEST_F(FontDialogTest, OpensOnTheSelectionWithoutStrikeOutInBlack) {
    ASSERT_EQ(96, GetDeviceCaps(host.dc, LOGPIXELSY));
    setOffset(40);
    ASSERT_EQ(0, setFont(testFace, 12, 0xFF, CFE_BOLD | CFE_UNDERLINE | CFE_STRIKEOUT));
    runDialog(IDOK);
    EXPECT_EQ(testFace, opened.face);
    EXPECT_EQ(12, opened.points);
    EXPECT_EQ(styleBold, opened.style);
    EXPECT_TRUE(opened.underline);
    EXPECT_FALSE(opened.strikeOut);
    EXPECT_EQ(0, opened.colour);

    ASSERT_TRUE(applied);
    EXPECT_EQ(sizeof(CHARFORMATA), sent.cbSize);
    EXPECT_EQ(fontMask, sent.dwMask);
    EXPECT_EQ(240, sent.yHeight);
    EXPECT_EQ(static_cast<DWORD>(CFE_BOLD | CFE_UNDERLINE), sent.dwEffects);
    EXPECT_EQ(0u, sent.crTextColor);
    EXPECT_STREQ(testFace, sent.szFaceName);
    EXPECT_EQ(before.yOffset, sent.yOffset);
    EXPECT_EQ(40, sent.yOffset);
    EXPECT_EQ(before.bCharSet, sent.bCharSet);
    EXPECT_EQ(static_cast<DWORD>(CFE_UNDERLINE | CFE_BOLD), selection().dwEffects & allEffects);
}

TEST_F(FontDialogTest, EachChoiceOfTheDialogIsApplied) {
    struct Case {
        const char *name;
        std::function<void(HWND)> change;
        LONG height;
        DWORD effects;
    } cases[] = {
        {"size 10", [](HWND d) { chooseItem(d, cmb3, 10); }, 200, 0},
        {"bold", [](HWND d) { chooseItem(d, cmb2, styleBold); }, 240, CFE_BOLD},
        {"italic", [](HWND d) { chooseItem(d, cmb2, styleRegular | italicBit); }, 240, CFE_ITALIC},
        {"underline", [](HWND d) { tick(d, chx2, true); }, 240, CFE_UNDERLINE},
        {"strike-out", [](HWND d) { tick(d, chx1, true); }, 240, CFE_STRIKEOUT},
        {"all, 20 points",
         [](HWND d) {
             chooseItem(d, cmb3, 20);
             chooseItem(d, cmb2, styleBold | italicBit);
             tick(d, chx1, true);
             tick(d, chx2, true);
         },
         400, allEffects},
    };
    for (const Case &c : cases) {
        ASSERT_EQ(0, setFont(testFace, 12, 0, 0));
        runDialog(IDOK, c.change);
        ASSERT_TRUE(applied) << c.name;
        EXPECT_EQ(c.height, sent.yHeight) << c.name;
        EXPECT_EQ(c.effects, sent.dwEffects) << c.name;
    }
}
