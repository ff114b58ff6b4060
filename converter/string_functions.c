#include "converter/string_functions.h"

// Otherwise the compiler would recognise these loops and replace them by calls to the very
// functions they define.
#pragma GCC optimize("no-tree-loop-distribute-patterns")

// The engine copies its runs of unchanged bytes with memcpy: four bytes a step, as the C
// runtime's did (the string instructions are the Pentium's fastest way for long runs).
void *memcpy(void *to, const void *from, size_t size) {
    void *t = to;
    size_t words = size / 4;
    __asm__ volatile("rep movsl\n\t"
                     "movl %3, %%ecx\n\t"
                     "rep movsb"
                     : "+D"(t), "+S"(from), "+c"(words)
                     : "r"(size % 4)
                     : "memory");
    return to;
}

void *memmove(void *to, const void *from, size_t size) {
    unsigned char *t = to;
    const unsigned char *f = from;
    if (t < f) {
        while (size-- > 0)
            *t++ = *f++;
    } else {
        while (size-- > 0)
            t[size] = f[size];
    }
    return to;
}

void *memset(void *block, int value, size_t size) {
    void *b = block;
    size_t words = size / 4;
    unsigned int pattern = (unsigned char)value * 0x01010101u;
    __asm__ volatile("rep stosl\n\t"
                     "movl %3, %%ecx\n\t"
                     "rep stosb"
                     : "+D"(b), "+c"(words)
                     : "a"(pattern), "r"(size % 4)
                     : "memory");
    return block;
}

int memcmp(const void *left, const void *right, size_t size) {
    const unsigned char *l = left;
    const unsigned char *r = right;
    for (; size > 0; --size, ++l, ++r) {
        if (*l != *r)
            return *l - *r;
    }
    return 0;
}

size_t strlen(const char *text) {
    const char *end = text;
    while (*end != '\0')
        ++end;
    return (size_t)(end - text);
}

int strcmp(const char *left, const char *right) {
    const unsigned char *l = (const unsigned char *)left;
    const unsigned char *r = (const unsigned char *)right;
    while (*l != '\0' && *l == *r) {
        ++l;
        ++r;
    }
    return *l - *r;
}

char *strchr(const char *text, int c) {
    for (;; ++text) {
        if (*text == (char)c)
            return (char *)text;
        if (*text == '\0')
            return NULL;
    }
}

char *strrchr(const char *text, int c) {
    const char *found = NULL;
    for (;; ++text) {
        if (*text == (char)c)
            found = text;
        if (*text == '\0')
            return (char *)found;
    }
}
