#include "converter/name_list.h"

#include <cstdlib>
#include <cstring>

NameList::~NameList() {
    clear();
}

void NameList::clear() {
    for (int32_t i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
    std::free(values);
    names = nullptr;
    values = nullptr;
    count = 0;
    capacity = 0;
}

// Both arrays are replaced together, so a failure leaves the old ones in place.
static bool grow_by_ten(NameList &list) {
    int32_t wider = list.capacity + 10;
    char **names = static_cast<char **>(std::calloc(wider, sizeof *names));
    uint32_t *values = static_cast<uint32_t *>(std::calloc(wider, sizeof *values));
    if (!names || !values) {
        std::free(names);
        std::free(values);
        return false;
    }
    if (list.capacity > 0) {
        std::memcpy(names, list.names, list.capacity * sizeof *names);
        std::memcpy(values, list.values, list.capacity * sizeof *values);
    }
    std::free(list.names);
    std::free(list.values);
    list.names = names;
    list.values = values;
    list.capacity = wider;
    return true;
}

bool NameList::add(const char *text, uint32_t value) {
    if (count == capacity && !grow_by_ten(*this))
        return false;
    size_t size = std::strlen(text) + 1;
    char *copy = static_cast<char *>(std::malloc(size));
    if (!copy)
        return false;
    std::memcpy(copy, text, size);
    names[count] = copy;
    values[count] = value;
    ++count;
    return true;
}
