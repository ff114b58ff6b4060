// eolfix's own start-up, in place of the C runtime's: the program links no C runtime, so it
// needs nothing of the system but KERNEL32.DLL and starts on a Windows 95 without msvcrt.dll.
// There is no constructor list and no exit list: the globals are constant-initialised
// (converter/settings.h) and whatever must happen at the end happens here, in the open.
#ifndef CONVERTER_STARTUP_H
#define CONVERTER_STARTUP_H

// Splits the command line (converter/command_line.h), runs the program, releases the mask list
// and writes out standard output. Returns the exit code: the run's, or 1 when the arguments
// can't be held (after one line saying so).
int start_program();

// The process's first code, named to the linker (-nostartfiles -e _eolfix_start; C linkage,
// so the name carries no C++ decoration). Ends the process through ExitProcess with
// start_program's code. Never returns.
extern "C" void eolfix_start();

#endif
