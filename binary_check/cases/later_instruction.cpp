// A DLL as the plug-in is built, sound but for one instruction that a Pentium does not know,
// chosen by the LATER_* case it is built with: the binary check must refuse each alone. The
// code is only looked at, never run.
#include <windows.h>

#if defined(LATER_LONG_NOP)
#define LATER_CODE ".byte 0x0f, 0x1f, 0x40, 0x00" // nopl 0x0(%eax), as assemblers pad
#elif defined(LATER_HINT_NOP)
#define LATER_CODE ".byte 0x0f, 0x19, 0xc0" // a hint NOP of the 0F 18-1F space
#elif defined(LATER_FXSAVE)
#define LATER_CODE "fxsave (%0)"
#elif defined(LATER_FXRSTOR)
#define LATER_CODE "fxrstor (%0)"
#elif defined(LATER_LDMXCSR)
#define LATER_CODE "ldmxcsr (%0)"
#elif defined(LATER_STMXCSR)
#define LATER_CODE "stmxcsr (%0)"
#elif defined(LATER_RDPMC)
#define LATER_CODE "rdpmc"
#elif defined(LATER_MMX)
#define LATER_CODE "movd (%0), %%mm0"
#endif

extern "C" __declspec(dllexport) void later(void *area) {
    __asm__ volatile(LATER_CODE : : "r"(area) : "eax", "ecx", "edx", "memory");
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
