#include "converter/settings_rules.h"

#include <cstring>

#include "converter/character_walk.h"
#include "converter/settings.h"

namespace {

unsigned char byte_at(const char *text, size_t i) {
    return static_cast<unsigned char>(text[i]);
}

// Keys and their accepted words compare ASCII letters without case and every other byte
// exactly, whatever the C runtime's locale says.
char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool starts_with_folded(const char *text, const char *lower_prefix) {
    for (; *lower_prefix != '\0'; ++text, ++lower_prefix) {
        if (fold(*text) != *lower_prefix)
            return false;
    }
    return true;
}

bool equals_folded(const char *text, size_t length, const char *lower_word) {
    return std::strlen(lower_word) == length && starts_with_folded(text, lower_word);
}

bool is_filler(char c) {
    return c == '\t' || c == ' ' || c == '=';
}

// A value ends at the first byte at or below 20h. The bytes are compared unsigned, so both
// bytes of a Shift-JIS character stay in the value (none of them is at or below 20h). A lead
// byte without its trail byte (a line cut into 255-byte pieces inside a character) is left
// out, since a folder path would take the '\' added after it for the trail byte; but not when
// it is all of the value, which would then read as empty, and "backup=" empty means off.
size_t value_length(const char *value, LeadBytePredicate is_lead_byte) {
    size_t n = 0;
    while (byte_at(value, n) > 0x20)
        ++n;
    const size_t whole = whole_character_length(value, n, is_lead_byte);
    return whole > 0 ? whole : n;
}

void copy_bounded(char *field, size_t field_size, const char *text, size_t length) {
    if (length > field_size - 1)
        length = field_size - 1;
    std::memcpy(field, text, length);
    field[length] = '\0';
}

// The last character of text is '\' only when that '\' is not the trail byte of a
// double-byte character (the kanji 95h 5Ch ends in one).
bool ends_in_backslash(const char *text, LeadBytePredicate is_lead_byte) {
    const char *last = find_last_character(text, "\\", is_lead_byte);
    return last != nullptr && last[1] == '\0';
}

void set_output(int32_t &kind, const char *value, size_t length) {
    if (equals_folded(value, length, "win"))
        kind = newline_windows;
    else if (equals_folded(value, length, "mac"))
        kind = newline_mac;
    else if (equals_folded(value, length, "unix"))
        kind = newline_unix;
}

void set_switch(uint8_t &flag, const char *value, size_t length) {
    if (equals_folded(value, length, "on"))
        flag = 1;
    else if (equals_folded(value, length, "off"))
        flag = 0;
}

void set_backup(Settings &record, const char *value, size_t length,
                LeadBytePredicate is_lead_byte) {
    if (length == 0 || equals_folded(value, length, "off")) {
        record.backup_flag = 0;
        return;
    }
    record.backup_flag = 1;
    if (value[0] == '.') {
        copy_bounded(record.backup_target, sizeof record.backup_target, value, length);
        return;
    }
    // Room is kept for the '\' that a folder path may still need.
    copy_bounded(record.backup_target, sizeof record.backup_target - 1, value, length);
    size_t target_length = std::strlen(record.backup_target);
    if (!ends_in_backslash(record.backup_target, is_lead_byte)) {
        record.backup_target[target_length] = '\\';
        record.backup_target[++target_length] = '\0';
    }
    record.backup_compare_length = static_cast<int32_t>(target_length - 1);
}

} // namespace

bool settings_path_for(const char *program, char *path, size_t size) {
    if (size == 0)
        return false;
    path[0] = '\0';
    const char *dot = std::strrchr(program, '.');
    if (dot == nullptr)
        return false;
    const size_t stem = static_cast<size_t>(dot - program) + 1;
    static const char extension[] = "ini";
    if (stem + sizeof extension > size)
        return false;
    std::memcpy(path, program, stem);
    std::memcpy(path + stem, extension, sizeof extension);
    return true;
}

void apply_settings_line(const char *line, Settings &record, LeadBytePredicate is_lead_byte) {
    if (line[0] == '#' || line[0] == '\n' || line[0] == '\0')
        return;
    while (is_filler(*line))
        ++line;

    enum Key { filemask, output, keeptime, doinet, backup };
    static const struct {
        const char *text;
        Key key;
    } keys[] = {
        {"filemask=", filemask}, {"output=", output}, {"keeptime=", keeptime},
        {"doinet=", doinet},     {"backup=", backup},
    };
    for (const auto &k : keys) {
        if (!starts_with_folded(line, k.text))
            continue;
        const char *value = line + std::strlen(k.text);
        while (is_filler(*value))
            ++value;
        const size_t length = value_length(value, is_lead_byte);
        switch (k.key) {
        case filemask:
            copy_bounded(record.file_mask, sizeof record.file_mask, value, length);
            break;
        case output:
            set_output(record.output_kind, value, length);
            break;
        case keeptime:
            set_switch(record.keep_time_flag, value, length);
            break;
        case doinet:
            set_switch(record.repair_flag, value, length);
            break;
        case backup:
            set_backup(record, value, length, is_lead_byte);
            break;
        }
        return;
    }
}

void SettingsReader::feed(const char *bytes, size_t size) {
    for (size_t i = 0; i < size && !ended_; ++i) {
        const char c = bytes[i];
        if (cr_pending_) {
            cr_pending_ = false;
            if (c == '\n') {
                take('\n');
                continue;
            }
            take('\r');
        }
        if (c == '\x1a')
            ended_ = true;
        else if (c == '\r')
            cr_pending_ = true;
        else
            take(c);
    }
}

void SettingsReader::finish() {
    if (cr_pending_) {
        cr_pending_ = false;
        take('\r');
    }
    if (length_ > 0)
        flush();
}

void SettingsReader::take(char c) {
    line_[length_++] = c;
    if (c == '\n' || length_ == piece_size)
        flush();
}

void SettingsReader::flush() {
    line_[length_] = '\0';
    length_ = 0;
    apply_settings_line(line_, record_, is_lead_byte_);
}
