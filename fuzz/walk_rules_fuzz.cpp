// The walk's rules on random entries and paths, compared with references written from the
// walk's tables: an entry with the archive (20h) or normal (80h) bit is a file (too large when
// its size has high bits), else one with the directory bit (10h) is passed over, else it is
// skipped; a subfolder is a directory entry other than "." and ".."; a joined path is folder,
// '\' and name when that fits; a path's folder part ends after its last '\' or '/' that is a
// character of its own.
// Input: attributes and size high word (32 bits each), a flag byte (bit 0 Shift-JIS), a byte
// choosing the path buffer's size, the folder, a zero byte, the name.
#include <string>
#include <vector>

#include "converter/walk_rules.h"
#include "fuzz/fuzz_input.h"

namespace {

bool shift_jis = false;

bool lead(unsigned char b) {
    return shift_jis && cp932_lead(b);
}

EntryClass entry_class(uint32_t attributes, uint32_t size_high) {
    const bool file = attributes & 0xA0;
    if (file)
        return size_high == 0 ? EntryClass::listed : EntryClass::too_large;
    return attributes & 0x10 ? EntryClass::passed_over : EntryClass::skipped_by_attribute;
}

size_t folder_part(const std::string &path) {
    size_t length = 0;
    for (size_t start : character_starts(path, lead))
        if (path[start] == '\\' || path[start] == '/')
            length = start + 1;
    return length;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput in(data, size);
    const uint32_t attributes = in.word();
    const uint32_t size_high = in.word();
    shift_jis = in.byte() & 1;
    const size_t path_size = in.byte() % 2 ? path_buffer_size : in.byte() * 2u;
    const std::string folder = in.text();
    const std::string name = in.text();

    check(classify_entry(attributes, size_high) == entry_class(attributes & 0xFF, size_high),
          "entry class");
    check(is_subfolder(attributes, name.c_str()) ==
              ((attributes & 0x10) != 0 && name != "." && name != ".."),
          "subfolder");

    const std::string joined = folder + "\\" + name;
    std::vector<char> path(path_size + 1, '?');
    const bool fits = join_path(path.data(), path_size, folder.c_str(), name.c_str());
    check(fits == (joined.size() < path_size), "joined path fits");
    if (path_size > 0)
        check((fits ? joined : std::string()) == path.data(), "joined path");
    check(path[path_size] == '?', "joined path written beyond its buffer");

    check(folder_part_length(joined.c_str(), lead) == folder_part(joined), "folder part");
    check(folder_part_length(name.c_str(), lead) == folder_part(name), "folder part of a name");
    return 0;
}
