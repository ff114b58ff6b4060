// The four styling exports. Both font exports read the selection's format first and write it
// back with one mask, so that what they do not set keeps the value read.
#include "plugin/format.h"

#include "plugin/ansi_text.h"
#include "plugin/bytes.h"
#include "plugin/host_variable.h"
#include "plugin/plugin_state.h"

#include <commdlg.h>
#include <richedit.h>

#include <cstdint>

// Every format the plug-in sets names face, size, colour, offset and the four effects, and
// leaves the character set alone, so that a script's text keeps its script.
enum : DWORD {
    fontMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_OFFSET | CFM_FACE |
               CFM_COLOR | CFM_SIZE,
    effectBits = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT,
    paletteRelative = 0x02000000,
    fontDialogFlags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS |
                      CF_NOVECTORFONTS | CF_FORCEFONTEXIST,
};
static_assert(fontMask == 0xF000000F, "format mask");
static_assert(fontDialogFlags == 0x10943, "font dialog flags");
static_assert(sizeof(CHARFORMATA) == 60 && sizeof(CHOOSEFONTA) == 60 && sizeof(LOGFONTA) == 60,
              "the records the control and the dialog expect");
static_assert(sizeof(CHARFORMATA::szFaceName) == LF_FACESIZE, "face name fields of one size");

enum : int { twipsPerPoint = 20, twipsPerInch = 1440 };
enum : int { formatDone = 0, formatNoControl = -1, formatNotString = -2 };
static const int faceNameLimit = LF_FACESIZE;

static void readSelectionFormat(CHARFORMATA &format) {
    fillBytes(&format, 0, sizeof format);
    format.cbSize = sizeof format;
    SendMessageA(controlSlot.control, EM_GETCHARFORMAT, 1, reinterpret_cast<LPARAM>(&format));
}

static void applyToSelection(CHARFORMATA &format) {
    SendMessageA(controlSlot.control, EM_SETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format));
}

// The dialog's face name comes back in a field of the same size; its last byte is forced to
// zero so that a dialog that fills the field cannot carry an unterminated name over.
static void copyFaceName(char (&target)[LF_FACESIZE], const char (&source)[LF_FACESIZE]) {
    for (int i = 0; i < LF_FACESIZE; ++i)
        target[i] = source[i];
    target[LF_FACESIZE - 1] = '\0';
}

// _SetREditFont@16: applies face, size, colour and effects to the selection, after cutting the
// face name in the variable itself. 0 done; -1 no control, -2 not a string variable (or one
// without storage): on both refusals nothing is written or sent.
int __stdcall SetREditFont(int faceVariable, int points, int colour, int effects) {
    if (!controlAlive())
        return formatNoControl;
    HostVariable *variable = hostVariableAt(faceVariable);
    if (variable->type != hostTypeString)
        return formatNotString;
    // The face field holds 31 bytes and a zero, and the name is cut at unitLength bytes, taken
    // unscaled, never inside a double-byte character. The cut is written into the script's
    // variable, so it is also kept inside the storage that the sizes in force describe: with a size
    // record the 16-bit field can be stale.
    int32_t cut = variable->unitLength < faceNameLimit ? variable->unitLength : faceNameLimit;
    int32_t capacity = variableCapacity(*variable);
    if (capacity < cut)
        cut = capacity;
    if (cut <= 0)
        return formatNotString;
    char *face = static_cast<char *>(variable->data);
    cutText(face, cut);

    CHARFORMATA format;
    readSelectionFormat(format);
    format.dwMask = fontMask;
    format.dwEffects = static_cast<DWORD>(effects) & effectBits;
    // Unsigned: an absurd size wraps as the control would see it instead of overflowing.
    format.yHeight = static_cast<LONG>(static_cast<uint32_t>(points) * twipsPerPoint);
    format.crTextColor = static_cast<COLORREF>(colour) | paletteRelative;
    format.bCharSet = DEFAULT_CHARSET;
    format.bPitchAndFamily = 0;
    copyString(format.szFaceName, face);
    applyToSelection(format);
    return formatDone;
}

// The dialog opens on the selection's face, size and effects, but always with strike-out off
// and black as the colour.
static void seedDialogFont(const CHARFORMATA &format, LOGFONTA &font) {
    fillBytes(&font, 0, sizeof font);
    font.lfHeight =
        MulDiv(format.yHeight, GetDeviceCaps(controlSlot.hostDC, LOGPIXELSY), -twipsPerInch);
    font.lfWeight = format.dwEffects & CFE_BOLD ? FW_BOLD : FW_NORMAL;
    font.lfItalic = format.dwEffects & CFE_ITALIC ? 1 : 0;
    font.lfUnderline = format.dwEffects & CFE_UNDERLINE ? 1 : 0;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = format.bPitchAndFamily;
    copyFaceName(font.lfFaceName, format.szFaceName);
}

// The script chosen in the dialog is not applied: the selection keeps its character set.
static void takeDialogFont(const CHOOSEFONTA &choice, const LOGFONTA &font, CHARFORMATA &format) {
    format.dwMask = fontMask;
    format.yHeight = choice.iPointSize * 2;
    format.dwEffects = 0;
    if (font.lfWeight >= FW_BOLD)
        format.dwEffects |= CFE_BOLD;
    if (font.lfItalic)
        format.dwEffects |= CFE_ITALIC;
    if (font.lfUnderline)
        format.dwEffects |= CFE_UNDERLINE;
    if (font.lfStrikeOut)
        format.dwEffects |= CFE_STRIKEOUT;
    format.crTextColor = choice.rgbColors;
    format.bPitchAndFamily = font.lfPitchAndFamily;
    copyFaceName(format.szFaceName, font.lfFaceName);
}

// _SetREditFont2@16: lets the user choose the selection's font in the system's dialog. 0 whether
// the dialog was confirmed (the choice applied) or cancelled (nothing changed); -1 no control.
int __stdcall SetREditFont2(int, int, int, int) {
    if (!controlAlive())
        return formatNoControl;
    CHARFORMATA format;
    readSelectionFormat(format);
    LOGFONTA font;
    seedDialogFont(format, font);
    CHOOSEFONTA choice;
    fillBytes(&choice, 0, sizeof choice);
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = controlSlot.hostWindow;
    choice.hDC = controlSlot.hostDC;
    choice.lpLogFont = &font;
    choice.Flags = fontDialogFlags;
    choice.rgbColors = RGB(0, 0, 0);
    if (!ChooseFontA(&choice))
        return formatDone;
    takeDialogFont(choice, font, format);
    applyToSelection(format);
    return formatDone;
}

// _SetBackColor@16: sets the whole control's background from the low 8 bits of red, green and
// blue. 0 done; -1 no control.
int __stdcall SetBackColor(int red, int green, int blue, int) {
    if (!controlAlive())
        return formatNoControl;
    COLORREF colour = RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
    SendMessageA(controlSlot.control, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(colour));
    return formatDone;
}

// _SetREditIMECol@16: sets text and background of one of the four IME composition colours
// (entry by the index's low 2 bits). 0 done; -1 no control.
int __stdcall SetREditIMECol(int textColour, int backColour, int index, int) {
    if (!controlAlive())
        return formatNoControl;
    // Cleared first: a control that cannot report its colours then gets black for the rest.
    COMPCOLOR colours[4];
    fillBytes(colours, 0, sizeof colours);
    SendMessageA(controlSlot.control, EM_GETIMECOLOR, 0, reinterpret_cast<LPARAM>(colours));
    COMPCOLOR &entry = colours[index & 3];
    entry.crText = static_cast<COLORREF>(textColour) & 0xFFFFFF;
    entry.crBackground = static_cast<COLORREF>(backColour) & 0xFFFFFF;
    SendMessageA(controlSlot.control, EM_SETIMECOLOR, 0, reinterpret_cast<LPARAM>(colours));
    return formatDone;
}
