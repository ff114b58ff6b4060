// Where the program's own settings file lies.
#ifndef CONVERTER_PROGRAM_PATH_H
#define CONVERTER_PROGRAM_PATH_H

#include <cstddef>

// Writes the settings file's full path (the program's path with its extension replaced by
// "ini") into path, at most size bytes. Returns false when it cannot be formed.
bool settings_file_path(char *path, size_t size);

#endif
