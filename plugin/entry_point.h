// The library's entry point: the attach-time work that every export rests on.
#ifndef PLUGIN_ENTRY_POINT_H
#define PLUGIN_ENTRY_POINT_H

#include <windows.h>

// Called by the loader for every attach and detach. The first call checks the platform (on
// any but the Windows 95/98 family and NT it shows "I cannot run under your Windows OS." and
// ends the process), loads "RICHED32.DLL" (a failed load shows later, when no control can be
// created) and marks the plug-in started; later calls do nothing. Returns TRUE.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

#endif
