// eolfix's own entry point, in place of the C runtime's start-up objects: those hold Pentium
// Pro instructions and set up thread-local data and pseudo-relocations that eolfix never uses.
#ifndef CONVERTER_STARTUP_H
#define CONVERTER_STARTUP_H

#ifdef __cplusplus
extern "C" {
#endif

// The process's first code (linked with -nostartfiles -e _eolfix_start). Takes the command
// line from msvcrt.dll's __getmainargs exactly as the C runtime's start-up would (no wildcard
// expansion, the same argc and argv), runs main and ends the process through exit(), which
// runs the exit list (the global destructors that main's constructors registered) and flushes
// standard output. Never returns.
void eolfix_start(void);

#ifdef __cplusplus
}
#endif

#endif
