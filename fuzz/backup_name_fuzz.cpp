// Backup naming, the backup-folder test and the backup description on random targets and paths,
// Shift-JIS ones among them, each compared with a reference written from the naming rules: the
// base name follows the last '\' (or, with none, the last '/') that is a character of its own,
// never the trail byte of a double-byte character; the walk's path names the backup folder when
// it equals the folder target without its '\', A to Z folded; the description cuts a long target
// after a whole character and still ends in '"'.
// Input: a flag byte (bit 0 Shift-JIS, bit 1 backups on), a byte choosing the name buffer's size,
// the target, a zero byte, the path.
#include <cstring>
#include <string>
#include <vector>

#include "converter/backup_name.h"
#include "converter/settings.h"
#include "fuzz/fuzz_input.h"

namespace {

bool shift_jis = false;

bool lead(unsigned char b) {
    return shift_jis && cp932_lead(b);
}

std::string base_name(const std::string &path) {
    for (char separator : {'\\', '/'}) {
        size_t found = std::string::npos;
        for (size_t start : character_starts(path, lead))
            if (path[start] == separator)
                found = start;
        if (found != std::string::npos)
            return path.substr(found + 1);
    }
    return path;
}

std::string folded(const std::string &s) {
    std::string f = s;
    for (char &c : f)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return f;
}

std::string description(const std::string &target, bool on) {
    if (!on)
        return "Not backup";
    const std::string opening = target[0] == '.' ? "Rename extention to \"" : "Copy to \"";
    std::string kept;
    for (size_t start : character_starts(target, lead)) {
        const size_t width = lead(static_cast<unsigned char>(target[start])) ? 2 : 1;
        if (start + width > target.size() || opening.size() + start + width + 1 > 127)
            break;
        kept = target.substr(0, start + width);
    }
    // A target that fits whole is shown whole, a lone lead byte at its end included.
    if (opening.size() + target.size() + 1 <= 127)
        kept = target;
    return opening + kept + "\"";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t flags = in.byte();
    shift_jis = flags & 1;
    const size_t name_size = in.byte() % 2 ? backup_path_size : in.byte() * 3u;
    std::string target = in.text().substr(0, 259);
    const std::string path = in.text();

    // The settings file makes these: a folder target always ends in '\'.
    if (target.empty())
        target = ".bak";
    Settings backup;
    backup.backup_flag = (flags >> 1) & 1;
    const bool extension = target[0] == '.';
    if (!extension) {
        if (target.back() != '\\' || character_starts(target, lead).back() + 1 != target.size())
            target += '\\';
        backup.backup_compare_length = static_cast<int32_t>(target.size()) - 1;
    }
    std::memcpy(backup.backup_target, target.c_str(), target.size() + 1);

    const std::string expected = extension ? path + target : target + base_name(path);
    std::vector<char> name(name_size + 1, '?');
    const bool made =
        make_backup_name(path.c_str(), backup.backup_target, name.data(), name_size, lead);
    check(made == (expected.size() < name_size), "backup name fits");
    if (name_size > 0)
        check((made ? expected : std::string()) == name.data(), "backup name");
    check(name[name_size] == '?', "backup name written beyond its buffer");

    const std::string folder = extension ? "" : target.substr(0, target.size() - 1);
    const bool named = backup.backup_flag && !extension && folded(path) == folded(folder);
    check(named == is_backup_folder(path.c_str(), backup.backup_flag, backup.backup_target,
                                    backup.backup_compare_length),
          "backup folder");

    check(description(target, backup.backup_flag) ==
              describe_backup(backup.backup_flag, backup.backup_target, lead),
          "description");
    return 0;
}
