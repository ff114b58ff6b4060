#include "converter/settings_file.h"

#include <windows.h>

#include "converter/file_handle.h"
#include "converter/lead_byte.h"
#include "converter/output.h"
#include "converter/settings_rules.h"

bool load_settings_file(const char *path, Settings &record) {
    // The sharing that the C runtime's fopen asked for: an editor that holds the file open for
    // writing does not keep it from being read.
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.held()) {
        print_format("File open error : %s\n", path);
        return false;
    }
    // The bytes as they are: the reader does the text-mode newline and Ctrl-Z handling itself.
    // Values are read in the system's code page, so a folder path ending in a double-byte
    // character whose trail byte is 5Ch is not taken for one that ends in '\'.
    SettingsReader reader(record, is_ansi_lead_byte);
    char block[4096];
    DWORD got = 0;
    // A read error ends the file quietly, like its end: the lines read so far stand.
    while (!reader.ended() && ReadFile(file.get(), block, sizeof block, &got, nullptr) && got > 0)
        reader.feed(block, got);
    reader.finish();
    return true;
}
