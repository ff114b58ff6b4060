// Rules of the settings file: where it lies, how its bytes fall into lines and what each line
// sets. Platform-free, over bytes.
#ifndef CONVERTER_SETTINGS_RULES_H
#define CONVERTER_SETTINGS_RULES_H

#include <cstddef>

#include "converter/lead_byte.h"

struct Settings;

// Writes the settings file's path for the program file at program (everything after the last
// '.' replaced by "ini") into path, at most size bytes. Returns false, leaving path empty,
// when program holds no '.' or the result does not fit.
bool settings_path_for(const char *program, char *path, size_t size);

// Applies one line of the settings file to record. The line is a zero-terminated piece of at
// most 255 bytes, with its newline when it had one.
void apply_settings_line(const char *line, Settings &record, LeadBytePredicate is_lead_byte);

// Cuts the settings file's bytes into lines the way the C runtime's text mode reads them
// piece by piece (CR LF as newline, a lone CR kept, Ctrl-Z as the end, 255 bytes at most per
// piece) and applies each line to record. The bytes may arrive in blocks of any size.
class SettingsReader {
  public:
    SettingsReader(Settings &record, LeadBytePredicate is_lead_byte)
        : record_(record), is_lead_byte_(is_lead_byte) {}

    void feed(const char *bytes, size_t size);
    // Applies what is left after the last block.
    void finish();
    // True once a Ctrl-Z has been read: nothing after it counts.
    bool ended() const { return ended_; }

  private:
    enum : size_t { piece_size = 255 };

    void take(char c);
    void flush();

    Settings &record_;
    LeadBytePredicate is_lead_byte_;
    char line_[piece_size + 1] = {};
    size_t length_ = 0;
    bool cr_pending_ = false;
    bool ended_ = false;
};

#endif
