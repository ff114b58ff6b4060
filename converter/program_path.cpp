#include "converter/program_path.h"

#include <windows.h>

#include "converter/settings_rules.h"

bool settings_file_path(char *path, size_t size) {
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    // A full buffer means the path was cut, and a cut path names some other file.
    if (length == 0 || length >= sizeof program) {
        if (size > 0)
            path[0] = '\0';
        return false;
    }
    return settings_path_for(program, path, size);
}
