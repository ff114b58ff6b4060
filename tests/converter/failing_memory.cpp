// The converter's allocation gate for test builds: it fails the n-th allocation of a run, so
// that every way of handling a missing block gets entered. n is read from the environment
// variable EOLFIX_FAIL_ALLOCATION at the first allocation (unset, 0 or no number: none fails);
// only that one allocation fails, the later ones succeed again. When the program ends, the
// number of allocations the run asked for goes to standard error as "allocations: N", so that
// a harness knows how far to count. The converter itself never writes to standard error.
//
// A test executable links this object in front of the converter's libraries; the linker then
// never takes converter/memory.cpp's object out of its archive, since nothing is left undefined
// that it could supply.
#include <cstdio>
#include <cstdlib>

#include "converter/memory.h"

namespace {

unsigned long allocations = 0;
unsigned long failing = 0;
bool configured = false;

struct CountReport {
    ~CountReport() { std::fprintf(stderr, "allocations: %lu\n", allocations); }
} count_report;

} // namespace

void *memory_allocate(size_t size) {
    if (!configured) {
        const char *n = std::getenv("EOLFIX_FAIL_ALLOCATION");
        failing = n != nullptr ? std::strtoul(n, nullptr, 10) : 0;
        configured = true;
    }
    if (++allocations == failing)
        return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

void memory_release(void *block) {
    std::free(block);
}
