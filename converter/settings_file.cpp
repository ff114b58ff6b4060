#include "converter/settings_file.h"

#include <windows.h>

#include <cstdio>

#include "converter/settings_rules.h"

namespace {

class FileHolder {
  public:
    explicit FileHolder(std::FILE *file) : file_(file) {}
    ~FileHolder() {
        if (file_ != nullptr)
            std::fclose(file_);
    }
    FileHolder(const FileHolder &) = delete;
    FileHolder &operator=(const FileHolder &) = delete;

    std::FILE *get() const { return file_; }

  private:
    std::FILE *file_;
};

// Values are read in the system's code page, so a folder path ending in a double-byte
// character whose trail byte is 5Ch is not taken for one that ends in '\'.
LeadByteTable ansi_lead_bytes() {
    LeadByteTable table = {};
    CPINFO info;
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize < 2)
        return table;
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        for (unsigned b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b)
            table.lead[b] = true;
    }
    return table;
}

} // namespace

bool load_settings_file(const char *path) {
    // Binary mode: the reader does the text-mode newline and Ctrl-Z handling itself.
    FileHolder file(std::fopen(path, "rb"));
    if (file.get() == nullptr) {
        std::printf("File open error : %s\n", path);
        return false;
    }
    const LeadByteTable lead_bytes = ansi_lead_bytes();
    SettingsReader reader(lead_bytes);
    char block[4096];
    size_t got;
    while (!reader.ended() && (got = std::fread(block, 1, sizeof block, file.get())) > 0)
        reader.feed(block, got);
    reader.finish();
    return true;
}
