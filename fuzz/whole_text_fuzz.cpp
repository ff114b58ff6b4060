// The whole-text length of random buffers, compared with a reference: the text runs to its
// first zero byte or to the capacity, and its length drops the last byte when that is a lead
// byte whose trail byte is cut off. The buffer is exactly as long as the capacity, so that the
// address checks catch any read beyond it.
// Input: a flag byte (bit 0: a lead-byte table of 32 bytes follows, one bit per byte value;
// else code page 932's), then the buffer.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "plugin/whole_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput in(data, size);
    LeadByteTable table;
    if (in.byte() & 1) {
        uint8_t bits[32];
        for (uint8_t &b : bits)
            b = in.byte();
        for (int b = 0; b < 256; ++b)
            table.lead[b] = (bits[b / 8] >> (b % 8)) & 1;
    } else {
        for (int b = 0; b < 256; ++b)
            table.lead[b] = cp932_lead(static_cast<unsigned char>(b));
    }
    const std::string bytes = in.rest();
    const std::string text = bytes.substr(0, bytes.find('\0'));
    size_t expected = 0;
    for (size_t start : character_starts(text, [&](unsigned char b) { return table.lead[b]; }))
        if (!table.lead[static_cast<unsigned char>(text[start])] || start + 1 < text.size())
            expected = start + (table.lead[static_cast<unsigned char>(text[start])] ? 2 : 1);

    std::vector<char> buffer(bytes.begin(), bytes.end());
    const char *start = buffer.empty() ? "" : buffer.data();
    const int32_t length = wholeTextLength(start, static_cast<int32_t>(buffer.size()), table);
    check(length == static_cast<int32_t>(expected), "whole text length");
    return 0;
}
