// Byte helpers of their own: the plug-in links no C runtime, so it has no memset or strcpy.
#ifndef PLUGIN_BYTES_H
#define PLUGIN_BYTES_H

#include <cstddef>

// Sets count bytes at target to value; returns count.
size_t fillBytes(void *target, int value, size_t count);

// Copies the zero-terminated source, terminator included, with no length limit: the caller
// makes sure that it fits. Returns target.
char *copyString(char *target, const char *source);

#endif
