// Byte loops written out, so that the compiler has no library call to turn them into.
#include "plugin/bytes.h"

size_t fillBytes(void *target, int value, size_t count) {
    unsigned char *byte = static_cast<unsigned char *>(target);
    for (size_t i = 0; i < count; ++i)
        byte[i] = static_cast<unsigned char>(value);
    return count;
}

char *copyString(char *target, const char *source) {
    char *to = target;
    while ((*to++ = *source++) != '\0')
        ;
    return target;
}
