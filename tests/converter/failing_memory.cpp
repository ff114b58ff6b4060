// The converter's allocation gate for test builds: it fails the n-th allocation of a run, so
// that every way of handling a missing block gets entered. n is read from the environment
// variable EOLFIX_FAIL_ALLOCATION at the first allocation (unset, 0 or no number: none fails);
// only that one allocation fails, the later ones succeed again. When the program ends, the
// number of allocations the run asked for goes to standard error as "allocations: N", so that
// a harness knows how far to count. The converter itself never writes to standard error.
//
// A test executable links this object in front of the converter's libraries; the linker then
// never takes converter/memory.cpp's object out of its archive, since nothing is left undefined
// that it could supply. It is linked like eolfix.exe, without a C runtime, and enters at
// failing_memory_start instead of eolfix_start, so that the count is written after the run.
#include <windows.h>

#include "converter/text_format.h"
#include "converter/memory.h"
#include "converter/startup.h"

namespace {

unsigned long allocations = 0;
unsigned long failing = 0;
bool configured = false;

unsigned long configured_failure() {
    char text[32];
    DWORD length = GetEnvironmentVariableA("EOLFIX_FAIL_ALLOCATION", text, sizeof text);
    unsigned long n = 0;
    for (DWORD i = 0; i < length && i < sizeof text && text[i] >= '0' && text[i] <= '9'; ++i)
        n = n * 10 + static_cast<unsigned long>(text[i] - '0');
    return n;
}

} // namespace

void *memory_allocate(size_t size) {
    if (!configured) {
        failing = configured_failure();
        configured = true;
    }
    if (++allocations == failing)
        return nullptr;
    return HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size);
}

void memory_release(void *block) {
    if (block != nullptr)
        HeapFree(GetProcessHeap(), 0, block);
}

extern "C" __attribute__((force_align_arg_pointer, noreturn)) void failing_memory_start() {
    int code = start_program();
    char line[64];
    int length = format_text(line, sizeof line, "allocations: %lu\n", allocations);
    DWORD wrote;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(length), &wrote, nullptr);
    ExitProcess(static_cast<UINT>(code));
}
