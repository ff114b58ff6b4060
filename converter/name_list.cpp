#include "converter/name_list.h"

#include "converter/memory.h"
#include <cstring>

void NameListEntries::clear() {
    for (int32_t i = 0; i < count; ++i)
        memory_release(names[i]);
    memory_release(names);
    memory_release(values);
    names = nullptr;
    values = nullptr;
    count = 0;
    capacity = 0;
}

// Both arrays are replaced together, so a failure leaves the old ones in place.
static bool grow_by_ten(NameListEntries &list) {
    int32_t wider = list.capacity + 10;
    char **names = static_cast<char **>(memory_allocate(wider * sizeof *names));
    uint32_t *values = static_cast<uint32_t *>(memory_allocate(wider * sizeof *values));
    if (!names || !values) {
        memory_release(names);
        memory_release(values);
        return false;
    }
    // Slots past count stay zero, as the list promises.
    std::memset(names, 0, wider * sizeof *names);
    std::memset(values, 0, wider * sizeof *values);
    if (list.capacity > 0) {
        std::memcpy(names, list.names, list.capacity * sizeof *names);
        std::memcpy(values, list.values, list.capacity * sizeof *values);
    }
    memory_release(list.names);
    memory_release(list.values);
    list.names = names;
    list.values = values;
    list.capacity = wider;
    return true;
}

bool NameListEntries::add(const char *text, uint32_t value) {
    // The copy comes first: a failure after the arrays grew would leave the capacity changed.
    size_t size = std::strlen(text) + 1;
    char *copy = static_cast<char *>(memory_allocate(size));
    if (!copy)
        return false;
    if (count == capacity && !grow_by_ten(*this)) {
        memory_release(copy);
        return false;
    }
    std::memcpy(copy, text, size);
    names[count] = copy;
    values[count] = value;
    ++count;
    return true;
}
