// A growable list of owned texts, each with a 32-bit integer beside it.
#ifndef CONVERTER_NAME_LIST_H
#define CONVERTER_NAME_LIST_H

#include <cstdint>

// The list without a destructor: the type of mask_list, a global that the program must not
// register for destruction at exit (it has no exit list), and which the start-up clears.
class NameListEntries {
  public:
    NameListEntries() = default;
    NameListEntries(const NameListEntries &) = delete;
    NameListEntries &operator=(const NameListEntries &) = delete;

    // Appends a copy of text with value; grows by 10 slots when full. Returns false, leaving
    // the list as it was (count, capacity and arrays), when memory runs out.
    bool add(const char *text, uint32_t value);
    // Frees every text and both arrays, leaving the list as a new one.
    void clear();

    int32_t count = 0;
    int32_t capacity = 0;
    char **names = nullptr;
    uint32_t *values = nullptr;
};

// A list owned by a scope: everything is freed when it goes.
class NameList : public NameListEntries {
  public:
    NameList() = default;
    ~NameList() { clear(); }
};

#endif
