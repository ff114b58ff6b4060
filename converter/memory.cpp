#include "converter/memory.h"

#include <cstdlib>

void *memory_allocate(size_t size) {
    // malloc(0) may answer null, which a caller would take for a failure.
    return std::malloc(size == 0 ? 1 : size);
}

void memory_release(void *block) {
    std::free(block);
}
