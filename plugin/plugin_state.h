// The plug-in's globals: attach-time state, the one control slot and its guard.
#ifndef PLUGIN_PLUGIN_STATE_H
#define PLUGIN_PLUGIN_STATE_H

#include <windows.h>

struct PluginState {
    bool started;            // the attach work has been done
    HINSTANCE instance;      // our own module: the control window's instance
    HMODULE richEditLibrary; // "RICHED32.DLL", or null when it failed to load or was released
};

struct ControlSlot {
    HWND control;    // the rich edit control, or null
    HWND hostWindow; // parent of the control, owner of the font dialog
    HDC hostDC;      // the host's device context, borrowed for the font dialog
};

extern PluginState pluginState;
extern ControlSlot controlSlot;

// The window class of the control, as "RICHED32.DLL" registers it.
extern const char richEditClass[];

// True when window is a live rich edit control that this plug-in created. A handle whose
// window has been destroyed can have been given to another window since, even to a rich edit
// window that the host made itself: that one is no control of ours.
bool isOurControl(HWND window);

// True when the slot holds a live control. When the host has destroyed the window behind the
// slot's handle (or the handle now names a window that is not ours), empties the slot and
// answers false; the caller then returns its no-control code.
bool controlAlive();

#endif
