// Throughput of the unit-wise engine on UTF-16 LE text next to the byte engine on the same
// text stored as Shift-JIS bytes: lines of ASCII and kana, 16 MiB of bytes in Shift-JIS,
// converted from LF to CR LF the way file conversion does it (the search for the first change,
// then the write in slices through one block of file conversion's size). The byte engine runs on
// the path that file conversion would take on this processor (SSE2 when there is one) and on the
// portable path. Speeds are in characters of text per second, so that both forms of the same text
// compare directly; the ratio is a path's speed over that of the bytes on the first path, and
// "same" the unit path's over the bytes' on the same path.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "converter/engine.h"
#include "converter/processor.h"
#include "converter/settings.h"
#include "converter/unit_engine.h"

namespace {

const size_t text_size = 16u << 20;
const int rounds = 9;
const uint32_t slice_size = 256 * 1024;

// The same lines twice: as Shift-JIS bytes and as UTF-16 LE with its mark. Every ninth
// character is the kana U+3042, 82h A0h in Shift-JIS.
struct Text {
    std::string bytes, utf16;
    size_t characters = 0;
};

Text make_text(size_t line) {
    Text text;
    text.utf16 = "\xFF\xFE";
    while (text.bytes.size() < text_size) {
        for (size_t i = 0; i < line; ++i) {
            const bool kana = i % 9 == 4;
            const unsigned unit = kana ? 0x3042 : 'a' + i % 26;
            text.bytes += kana ? std::string("\x82\xA0") : std::string(1, static_cast<char>(unit));
            text.utf16 += static_cast<char>(unit & 0xFF);
            text.utf16 += static_cast<char>(unit >> 8);
        }
        text.bytes += '\n';
        text.utf16 += std::string("\n\0", 2);
        text.characters += line + 1;
    }
    return text;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

volatile uint32_t sink;

double seconds_of(const std::function<uint32_t()> &convert) {
    auto begin = std::chrono::steady_clock::now();
    sink = convert();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

} // namespace

int main() {
    uint8_t *out = static_cast<uint8_t *>(std::malloc(slice_size));
    if (!out) {
        std::printf("not enough memory\n");
        return 1;
    }
    std::memset(out, 1, slice_size);
    const EnginePath fast = fastest_engine_path();
    std::printf("%5s %-15s %9s %9s %6s %6s\n", "line", "path", "Mchar/s", "MB/s", "ratio", "same");
    for (size_t line : {10, 40, 120, 4000}) {
        const Text text = make_text(line);
        const uint8_t *bytes = reinterpret_cast<const uint8_t *>(text.bytes.data());
        const uint32_t byte_size = static_cast<uint32_t>(text.bytes.size());
        const uint8_t *units = reinterpret_cast<const uint8_t *>(text.utf16.data());
        const uint32_t unit_size = static_cast<uint32_t>(text.utf16.size());
        const auto byte_path = [&](EnginePath path) {
            return [=] {
                uint32_t from = find_first_change(bytes, byte_size, newline_windows, false, path);
                uint32_t written = 0;
                while (from < byte_size)
                    written += write_slice(bytes, byte_size, from, out, slice_size, newline_windows,
                                           false, path);
                return written;
            };
        };
        const auto unit_path = [&](EnginePath path) {
            return [=] {
                uint32_t from = first_unit_change(units, unit_size, TextEncoding::utf16_le,
                                                  newline_windows, false, path);
                uint32_t written = 0;
                while (from < unit_size)
                    written += write_units(units, unit_size, from, out, slice_size,
                                           TextEncoding::utf16_le, newline_windows, false, path);
                return written;
            };
        };
        // The first path is the one file conversion takes for bytes; each round times all four
        // in turn, and each ratio is taken within one round, so that a slow moment of a shared
        // machine does not favour one path.
        const struct {
            const char *name;
            std::function<uint32_t()> convert;
            uint32_t size;
        } paths[] = {{fast == EnginePath::sse2 ? "bytes sse2" : "bytes portable", byte_path(fast),
                      byte_size},
                     {"bytes portable", byte_path(EnginePath::portable), byte_size},
                     {fast == EnginePath::sse2 ? "utf-16 sse2" : "utf-16 portable", unit_path(fast),
                      unit_size},
                     {"utf-16 portable", unit_path(EnginePath::portable), unit_size}};
        std::vector<double> times[4], ratios[4], same[4];
        for (int r = 0; r < rounds; ++r)
            for (int p = 0; p < 4; ++p) {
                times[p].push_back(seconds_of(paths[p].convert));
                ratios[p].push_back(times[0].back() / times[p].back());
                same[p].push_back(times[p % 2].back() / times[p].back());
            }
        for (int p = 0; p < 4; ++p) {
            if (p % 2 == 1 && fast != EnginePath::sse2)
                continue;
            const double seconds = median(times[p]);
            std::printf("%5zu %-15s %9.0f %9.0f %6.2f %6.2f\n", line, paths[p].name,
                        text.characters / seconds / 1e6, paths[p].size / seconds / 1e6,
                        median(ratios[p]), median(same[p]));
        }
    }
    std::free(out);
    return 0;
}
