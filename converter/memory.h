// The converter's one way to heap memory, so that a test build can make any allocation fail:
// tests/converter/failing_memory.cpp defines both functions again and is linked ahead of the
// library that holds memory.cpp, so the linker never takes this module's object (link order,
// not a switch in the code).
#ifndef CONVERTER_MEMORY_H
#define CONVERTER_MEMORY_H

#include <cstddef>

// A block of size bytes (at least one byte, so that null always means failure). Null when the
// system has no block that large; nothing is held then.
void *memory_allocate(size_t size);

// Gives back a block from memory_allocate; null is allowed and does nothing.
void memory_release(void *block);

#endif
