// A DLL linked as the plug-in is (its own entry point, no start-up objects) that imports one C
// runtime function, msvcrt.dll!atoi: the binary check must refuse it for the plug-in's list.
#include <windows.h>

#include <stdlib.h>

extern "C" __declspec(dllexport) int number_of(const char *text) {
    return atoi(text);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
