// The control's life: made in place of a host object, switched, cleared, forgotten, and torn
// down with its library at the end.
#include "plugin/control.h"

#include <richedit.h>

#include "plugin/bytes.h"
#include "plugin/host_records.h"
#include "plugin/plugin_state.h"

enum : int {
    controlDone = 0,
    createdOutOfRange = 3,
    controlExists = -255,
    objectMissing = -1,
    creationImpossible = -3,
    noControl = -1,
    controlStillAlive = -2,
};

// Read-only at first: the script decides when typing is allowed (_SetREditMode@16).
const DWORD richEditStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL |
                            ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_READONLY |
                            ES_WANTRETURN | ES_SAVESEL;
static_assert(richEditStyle == 0x50B09944, "the style scripts have always got");
static_assert(sizeof(CHARFORMATA) == 60, "the character format record of the RICHEDIT class");
enum : int { controlId = 0xFF00, hostFrameWidth = 3 };
enum : LPARAM { textLimit = 0x40000000 };

RECT controlPlacement(const RECT &object, const RECT &hostWindow, int captionHeight) {
    RECT placed;
    placed.left = object.left - hostWindow.left - hostFrameWidth;
    placed.top = object.top - hostWindow.top - captionHeight - hostFrameWidth;
    placed.right = placed.left + (object.right - object.left);
    placed.bottom = placed.top + (object.bottom - object.top);
    return placed;
}

static void applyInitialFormat(HWND control) {
    CHARFORMATA format;
    fillBytes(&format, 0, sizeof format);
    format.cbSize = sizeof format;
    format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_FACE | CFM_COLOR;
    format.dwEffects = CFE_AUTOCOLOR;
    static const char face[] = "System";
    static_assert(sizeof face <= sizeof format.szFaceName, "face name fits");
    copyString(format.szFaceName, face);
    SendMessageA(control, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

// _CreateREdit@16: puts the control in place of object number objectNumber of the window whose
// record is at info. 0 created, the object destroyed and its entry in the record holding the
// control; 3 object number outside 0 .. 63; -255 a control is already in the slot; -1 the
// entry is no window; -3 no rich edit window can be created. On every refusal the object, the
// record and the slot stay as they were.
int __stdcall CreateREdit(int info, int objectNumber, int, int) {
    if (objectNumber < 0 || objectNumber >= hostObjectCount)
        return createdOutOfRange;
    if (controlSlot.control)
        return controlExists;
    HostWindowInfo *host = reinterpret_cast<HostWindowInfo *>(static_cast<intptr_t>(info));
    HWND object = host->objects[objectNumber];
    if (!IsWindow(object))
        return objectMissing;
    // Once the library has been given back, its window class may be gone with it; and the
    // object must survive a failed creation, so nothing is destroyed before the control exists.
    if (!pluginState.richEditLibrary)
        return creationImpossible;
    // Zeroed: a rectangle that cannot be read must not feed stack garbage into the placement.
    RECT objectRect = {};
    GetWindowRect(object, &objectRect);
    HWND hostWindow = host->window;
    RECT hostRect = {};
    GetWindowRect(hostWindow, &hostRect);
    RECT placed = controlPlacement(objectRect, hostRect, GetSystemMetrics(SM_CYCAPTION));
    HWND control = CreateWindowExA(
        WS_EX_CLIENTEDGE, richEditClass, "", richEditStyle, placed.left, placed.top,
        placed.right - placed.left, placed.bottom - placed.top, hostWindow,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), pluginState.instance, nullptr);
    if (!control)
        return creationImpossible;
    DestroyWindow(object);
    controlSlot.control = control;
    controlSlot.hostWindow = hostWindow;
    controlSlot.hostDC = host->dc;
    SendMessageA(control, EM_SETOPTIONS, ECOOP_OR, ECO_AUTOWORDSELECTION);
    applyInitialFormat(control);
    SetFocus(control);
    SendMessageA(control, EM_EXLIMITTEXT, 0, textLimit);
    host->objects[objectNumber] = control;
    return controlDone;
}

// __FreeREdit@16: destroys a live control and gives the rich edit library back, once per load.
// Always 0. The handle stays in the slot on purpose: the next guarded export then reports no
// control.
int __stdcall FreeREditAndLibrary(int, int, int, int) {
    if (isOurControl(controlSlot.control))
        DestroyWindow(controlSlot.control);
    if (pluginState.richEditLibrary) {
        FreeLibrary(pluginState.richEditLibrary);
        pluginState.richEditLibrary = nullptr;
    }
    return controlDone;
}

// _REditFree@16: forgets a control that the host has destroyed. 0 the slot is empty (also when
// it was already); -2 the control is still a window, nothing changes.
int __stdcall REditFree(int, int, int, int) {
    if (isOurControl(controlSlot.control))
        return controlStillAlive;
    controlSlot.control = nullptr;
    return controlDone;
}

// _REditClear@16: 0 the text removed and the control marked unmodified; -1 no control.
int __stdcall REditClear(int, int, int, int) {
    if (!controlAlive())
        return noControl;
    SendMessageA(controlSlot.control, WM_SETTEXT, 0, 0);
    SendMessageA(controlSlot.control, EM_SETMODIFY, FALSE, 0);
    return controlDone;
}

// _SetREditMode@16: 0 the control read-only for mode 0, editable for any other; -1 no control.
// Switching on first and toggling after leaves the same end state whatever the state before.
int __stdcall SetREditMode(int mode, int, int, int) {
    if (!controlAlive())
        return noControl;
    SendMessageA(controlSlot.control, EM_SETOPTIONS, ECOOP_OR, ECO_READONLY);
    if (mode != 0)
        SendMessageA(controlSlot.control, EM_SETOPTIONS, ECOOP_XOR, ECO_READONLY);
    return controlDone;
}
