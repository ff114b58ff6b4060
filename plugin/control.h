// Creation and release of the one rich edit control, and the exports that switch its mode and
// clear it.
#ifndef PLUGIN_CONTROL_H
#define PLUGIN_CONTROL_H

#include <windows.h>

#include "plugin/exports.h"

LUMBRA_EXPORT int __stdcall CreateREdit(int info, int objectNumber, int, int);
LUMBRA_EXPORT int __stdcall FreeREditAndLibrary(int, int, int, int);
LUMBRA_EXPORT int __stdcall REditFree(int, int, int, int);
LUMBRA_EXPORT int __stdcall REditClear(int, int, int, int);
LUMBRA_EXPORT int __stdcall SetREditMode(int mode, int, int, int);

// Where the control goes, in the host window's client coordinates, given the object's window
// rectangle, the host window's rectangle (both on the screen) and the caption height. The host
// window's frame is taken as 3 pixels wide, as the runtime draws its windows.
RECT controlPlacement(const RECT &object, const RECT &hostWindow, int captionHeight);

#endif
