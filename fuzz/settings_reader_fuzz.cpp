// Feeds a whole settings file to the reader in blocks of random sizes and compares the settings
// it leaves with those of a reference written from the file's rules: text-mode reading (CR LF as
// one newline, a lone CR kept, Ctrl-Z as the end), pieces of at most 255 bytes, and per piece
// the keys "filemask=", "output=", "keeptime=", "doinet=" and "backup=".
// Input: one byte (bit 0: Shift-JIS lead bytes, else a single-byte code page), one byte seeding
// the block sizes, then the file's bytes.
#include <algorithm>
#include <string>

#include "converter/settings.h"
#include "converter/settings_rules.h"
#include "fuzz/fuzz_input.h"

namespace {

struct Expected {
    std::string mask = "*.txt;*.htm;*.html";
    int32_t kind = 1;
    int keep = 0, repair = 0, backup = 1;
    std::string target = ".bak";
    int32_t compare = 0;
};

bool shift_jis = false;

bool lead(unsigned char b) {
    return shift_jis && cp932_lead(b);
}

std::string lower(const std::string &s) {
    std::string l = s;
    for (char &c : l)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return l;
}

void apply(Expected &e, std::string line) {
    line = line.substr(0, line.find('\0'));
    if (line.empty() || line[0] == '#' || line[0] == '\n')
        return;
    const size_t from = line.find_first_not_of(" \t=");
    line = from == std::string::npos ? "" : line.substr(from);
    for (const char *key : {"filemask=", "output=", "keeptime=", "doinet=", "backup="}) {
        const std::string k = key;
        if (lower(line.substr(0, k.size())) != k)
            continue;
        size_t v = k.size();
        while (v < line.size() && (line[v] == ' ' || line[v] == '\t' || line[v] == '='))
            ++v;
        size_t end = v;
        while (end < line.size() && static_cast<unsigned char>(line[end]) > 0x20)
            ++end;
        std::string value = line.substr(v, end - v);
        // A value ends in half a double-byte character only when that is all of it.
        if (value.size() > 1) {
            const size_t last = character_starts(value, lead).back();
            if (lead(static_cast<unsigned char>(value[last])) && last + 1 == value.size())
                value.pop_back();
        }
        const std::string word = lower(value);
        if (k == "filemask=") {
            e.mask = value.substr(0, 259);
        } else if (k == "output=") {
            e.kind = word == "win" ? 1 : word == "mac" ? 2 : word == "unix" ? 3 : e.kind;
        } else if (k == "keeptime=" || k == "doinet=") {
            int &flag = k == "keeptime=" ? e.keep : e.repair;
            flag = word == "on" ? 1 : word == "off" ? 0 : flag;
        } else if (value.empty() || word == "off") {
            e.backup = 0;
        } else if (value[0] == '.') {
            e.backup = 1;
            e.target = value.substr(0, 260);
        } else {
            e.backup = 1;
            e.target = value.substr(0, 259);
            const std::vector<size_t> starts = character_starts(e.target, lead);
            const size_t last = starts.back();
            if (!(last + 1 == e.target.size() && e.target[last] == '\\'))
                e.target += '\\';
            e.compare = static_cast<int32_t>(e.target.size()) - 1;
        }
        return;
    }
}

Expected reference(const std::string &file) {
    std::string text;
    for (size_t i = 0; i < file.size() && file[i] != '\x1a'; ++i)
        if (!(file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n'))
            text += file[i];
    Expected e;
    std::string piece;
    for (char c : text) {
        piece += c;
        if (c == '\n' || piece.size() == 255) {
            apply(e, piece);
            piece.clear();
        }
    }
    if (!piece.empty())
        apply(e, piece);
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput in(data, size);
    shift_jis = in.byte() & 1;
    uint32_t seed = in.byte() * 2654435761u + 1;
    const std::string file = in.rest();

    Settings record;
    SettingsReader reader(record, lead);
    for (size_t at = 0; at < file.size();) {
        seed = seed * 1103515245u + 12345u;
        // Mostly short blocks, now and then one longer than a piece.
        size_t block = (seed >> 16) % 8 == 0 ? 1 + (seed >> 8) % 600 : 1 + (seed >> 20) % 7;
        block = std::min(block, file.size() - at);
        reader.feed(file.data() + at, block);
        at += block;
    }
    reader.finish();

    const Expected e = reference(file);
    check(reader.ended() == (file.find('\x1a') != std::string::npos), "Ctrl-Z seen");
    check(e.mask == record.file_mask, "file mask");
    check(e.kind == record.output_kind, "output kind");
    check(e.keep == record.keep_time_flag && e.repair == record.repair_flag, "switches");
    check(e.backup == record.backup_flag, "backup flag");
    check(e.target == record.backup_target, "backup target");
    check(e.compare == record.backup_compare_length, "backup compare length");
    return 0;
}
