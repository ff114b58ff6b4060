#include "converter/startup.h"

#include <stdlib.h>

// msvcrt.dll's start-up interface (in every msvcrt.dll since Visual C++ 4.2), declared here
// because only the C runtime's own start-up sources declare it.
typedef struct {
    int new_mode;
} startup_info;
__declspec(dllimport) void __cdecl __getmainargs(int *argc, char ***argv, char ***envp,
                                                 int expand_wildcards, startup_info *info);
__declspec(dllimport) void __cdecl __set_app_type(int type);
enum { console_app = 1 };

int main(int argc, char **argv);

// gcc's global constructors register their destructors with atexit. The exit list lives in
// msvcrt.dll, whose exit() runs it last in, first out, as the C runtime's start-up arranges.
int __cdecl atexit(void(__cdecl *function)(void)) {
    return _onexit((_onexit_t)function) ? 0 : -1;
}

// The system hands over a stack aligned to 4 bytes only; the code below may assume 16.
__attribute__((force_align_arg_pointer, noreturn)) void eolfix_start(void) {
    int argc;
    char **argv;
    char **envp;
    // 0: no wildcard expansion and malloc's failure mode unchanged, as the toolchain's start-up
    // passes them.
    startup_info info = {0};
    __set_app_type(console_app);
    __getmainargs(&argc, &argv, &envp, 0, &info);
    // main runs the global constructors first (gcc calls __main at its start).
    exit(main(argc, argv));
}
