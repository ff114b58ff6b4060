// The I/O floor for the end-to-end benchmark: walks the current folder tree and, for every
// matching file, opens it the way eolfix does, reads it whole into a block of its size, writes
// the same bytes back from the start and closes it. It converts nothing, so the tree comes out
// unchanged; what it spends is the bare cost of the I/O. Given patterns, it searches each folder
// once per pattern and once for its subfolders, as eolfix does (a file found twice is done
// once); given none, it searches each folder once and takes the names ending in .txt, .htm or
// .html.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int files_done = 0;

bool has_suffix(const char *name, const char *suffix) {
    size_t length = std::strlen(name), size = std::strlen(suffix);
    return length >= size && lstrcmpiA(name + length - size, suffix) == 0;
}

void rewrite(const char *path) {
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("%s : open failed\n", path);
        return;
    }
    DWORD size = GetFileSize(file, nullptr);
    char *block = static_cast<char *>(std::malloc(size ? size : 1));
    DWORD got = 0, put = 0;
    if (block && ReadFile(file, block, size, &got, nullptr) && got == size &&
        SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
        WriteFile(file, block, size, &put, nullptr) && put == size)
        ++files_done;
    else
        std::printf("%s : failed\n", path);
    std::free(block);
    CloseHandle(file);
}

char **patterns;
int pattern_count;

bool wanted(const char *name) {
    return has_suffix(name, ".txt") || has_suffix(name, ".htm") || has_suffix(name, ".html");
}

struct Listing {
    char (*paths)[MAX_PATH];
    bool *is_folder;
    int count, room;
};

void add(Listing &list, const char *folder, const char *name, bool is_folder) {
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s\\%s", folder, name);
    for (int i = 0; i < list.count; ++i)
        if (std::strcmp(list.paths[i], path) == 0)
            return;
    if (list.count == list.room) {
        list.room = list.room ? 2 * list.room : 64;
        list.paths = static_cast<char(*)[MAX_PATH]>(
            std::realloc(list.paths, list.room * sizeof *list.paths));
        list.is_folder =
            static_cast<bool *>(std::realloc(list.is_folder, list.room * sizeof(bool)));
    }
    std::memcpy(list.paths[list.count], path, MAX_PATH);
    list.is_folder[list.count++] = is_folder;
}

// Lists the entries of one search, closing it before anything is rewritten, as eolfix does.
void search(Listing &list, const char *folder, const char *pattern, bool files, bool folders) {
    char query[MAX_PATH];
    std::snprintf(query, sizeof query, "%s\\%s", folder, pattern);
    WIN32_FIND_DATAA entry;
    HANDLE found = FindFirstFileA(query, &entry);
    if (found == INVALID_HANDLE_VALUE)
        return;
    do {
        bool is_folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (is_folder ? folders && std::strcmp(entry.cFileName, ".") != 0 &&
                            std::strcmp(entry.cFileName, "..") != 0
                      : files && (pattern_count > 0 || wanted(entry.cFileName)))
            add(list, folder, entry.cFileName, is_folder);
    } while (FindNextFileA(found, &entry));
    FindClose(found);
}

void walk(const char *folder) {
    Listing list = {};
    if (pattern_count == 0) {
        search(list, folder, "*", true, true);
    } else {
        for (int i = 0; i < pattern_count; ++i)
            search(list, folder, patterns[i], true, false);
        search(list, folder, "*.*", false, true);
    }
    for (int i = 0; i < list.count; ++i)
        if (!list.is_folder[i])
            rewrite(list.paths[i]);
    for (int i = 0; i < list.count; ++i)
        if (list.is_folder[i])
            walk(list.paths[i]);
    std::free(list.paths);
    std::free(list.is_folder);
}

} // namespace

int main(int argc, char **argv) {
    patterns = argv + 1;
    pattern_count = argc - 1;
    char folder[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        return 1;
    if (folder[length - 1] == '\\')
        folder[length - 1] = '\0';
    walk(folder);
    std::printf("io_floor: %d files\n", files_done);
    return 0;
}
