#include "converter/memory.h"

#ifdef _WIN32
#include <windows.h>

// The process heap: eolfix links no C runtime whose malloc would sit on top of it.
void *memory_allocate(size_t size) {
    // A zero-byte block is still a block, so that null always means failure.
    return HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size);
}

void memory_release(void *block) {
    if (block != nullptr)
        HeapFree(GetProcessHeap(), 0, block);
}
#else
#include <cstdlib>

// Natively the C library's heap, which the sanitizers watch.
void *memory_allocate(size_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

void memory_release(void *block) {
    std::free(block);
}
#endif
