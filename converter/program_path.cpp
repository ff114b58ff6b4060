#include "converter/program_path.h"

#include <cstring>

bool settings_file_path(char *path, size_t size) {
    std::strncpy(path, "eolfix.ini", size);
    return true;
}
