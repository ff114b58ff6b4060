// A growable list of owned texts, each with a 32-bit integer beside it.
#ifndef CONVERTER_NAME_LIST_H
#define CONVERTER_NAME_LIST_H

#include <cstdint>

class NameList {
  public:
    NameList() = default;
    ~NameList();
    NameList(const NameList &) = delete;
    NameList &operator=(const NameList &) = delete;

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

#endif
