// A DLL with every fault the binary check must find: linked with the C runtime's start-up (a
// TLS directory and a .CRT table), built for a later system, with a static constructor, an
// import Windows 95 lacks and a Pentium Pro instruction in an ordinary function.
#include <windows.h>

static int system_value() {
    return IsDebuggerPresent() ? 1 : 0;
}

int seeded = system_value();

extern "C" __declspec(dllexport) int pick(int condition, int a, int b) {
    __asm__("test %1, %1\n\tcmovne %2, %0" : "+r"(b) : "r"(condition), "r"(a) : "cc");
    return b;
}
