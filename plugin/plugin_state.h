// The plug-in's globals: attach-time state, the one control slot and its guard.
#ifndef PLUGIN_PLUGIN_STATE_H
#define PLUGIN_PLUGIN_STATE_H

#include <windows.h>

#include <cstddef>

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

// True when window is a live rich edit control. A handle whose window has been destroyed can
// have been given to another window since: that one is no control of ours.
bool isRichEdit(HWND window);

// True when the slot holds a live control. When the host has destroyed the window behind the
// slot's handle (or the handle now names another kind of window), empties the slot and answers
// false; the caller then returns its no-control code.
bool controlAlive();

// Sets count bytes at target to value; returns count.
size_t fillBytes(void *target, int value, size_t count);

// Copies the zero-terminated source, terminator included, with no length limit: the caller
// makes sure that it fits. Returns target.
char *copyString(char *target, const char *source);

#endif
