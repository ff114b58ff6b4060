// Splits random masks and compares the pattern list and the mask line with a reference: the
// non-empty ';'-separated items in order, untrimmed, each shown followed by ';'. A mask is at
// most 259 bytes, as the settings hold it; the line is also composed into a buffer of random
// size, where it must be the same line cut to that size less one byte.
// Input: a byte choosing the small line buffer's size, then the mask.
#include <string>
#include <vector>

#include "converter/mask.h"
#include "converter/settings.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput in(data, size);
    const size_t small = in.byte();
    const std::string mask = in.text().substr(0, file_mask_size - 1);

    std::vector<std::string> patterns;
    std::string item;
    for (char c : mask + ";") {
        if (c != ';') {
            item += c;
        } else if (!item.empty()) {
            patterns.push_back(item);
            item.clear();
        }
    }
    std::string line = "file mask: ";
    for (const std::string &p : patterns)
        line += p + ";";

    mask_list.clear();
    check(split_file_mask(mask.c_str()), "split");
    check(mask_list.count == static_cast<int32_t>(patterns.size()), "pattern count");
    for (size_t i = 0; i < patterns.size(); ++i)
        check(patterns[i] == mask_list.names[i] && mask_list.values[i] == 0, "pattern");

    std::vector<char> full(mask_line_size), cut(small + 1, '?');
    format_file_mask(full.data(), full.size());
    check(line == full.data(), "mask line");
    format_file_mask(cut.data(), small);
    if (small > 0)
        check(line.substr(0, small - 1) == cut.data(), "cut mask line");
    check(cut[small] == '?', "mask line written beyond its buffer");
    mask_list.clear();
    return 0;
}
