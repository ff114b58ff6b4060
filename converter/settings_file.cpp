#include "converter/settings_file.h"

#include <cstdio>

#include "converter/holder.h"
#include "converter/lead_byte.h"
#include "converter/settings_rules.h"

namespace {

// Read only: a failed close loses nothing.
struct StreamKind {
    using Value = std::FILE *;
    static Value none() { return nullptr; }
    static bool release(Value file) { return std::fclose(file) == 0; }
};

} // namespace

bool load_settings_file(const char *path, Settings &record) {
    // Binary mode: the reader does the text-mode newline and Ctrl-Z handling itself.
    Holder<StreamKind> file(std::fopen(path, "rb"));
    if (!file.held()) {
        std::printf("File open error : %s\n", path);
        return false;
    }
    // Values are read in the system's code page, so a folder path ending in a double-byte
    // character whose trail byte is 5Ch is not taken for one that ends in '\'.
    SettingsReader reader(record, is_ansi_lead_byte);
    char block[4096];
    size_t got;
    while (!reader.ended() && (got = std::fread(block, 1, sizeof block, file.get())) > 0)
        reader.feed(block, got);
    reader.finish();
    return true;
}
