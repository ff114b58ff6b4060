// Throughput of the newline engine on 32 MiB of generated text, next to memcpy of the same size
// in the same run. Each content is converted to CR LF (the default target) the way file
// conversion does it: the search for the first change, then, for changed content, the write in
// slices of 256 KiB through one block kept from the round before. An optional argument names the
// one path to measure. "reference" is the reference engine, which takes a fresh growing buffer each
// time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "converter/engine.h"
#include "converter/settings.h"
#include "tests/converter/reference_engine.h"

namespace {

const size_t content_size = 32u << 20;
const int rounds = 5;

// Lines of length text bytes (ASCII with Shift-JIS pairs, never a newline byte), each ended by
// the newline that newline_at picks.
template <typename Pick> std::string make_text(size_t length, Pick newline_at) {
    std::string text;
    text.reserve(content_size + length + 2);
    for (size_t line = 0; text.size() < content_size; ++line) {
        for (size_t i = 0; i < length; ++i)
            text += static_cast<char>(i % 9 == 4 ? 0x82 : i % 9 == 5 ? 0xA0 : 'a' + i % 26);
        text += newline_at(line);
    }
    text.resize(content_size);
    return text;
}

double seconds_of(const std::chrono::steady_clock::time_point &begin) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    if (n == 0)
        return 0;
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

uint8_t *touched_block(size_t size) {
    uint8_t *block = static_cast<uint8_t *>(std::malloc(size));
    if (block)
        std::memset(block, 1, size);
    return block;
}

volatile uint32_t sink;

} // namespace

int main(int argc, char **argv) {
    // An optional argument names the one path to measure ("reference", "portable" or "sse2").
    const char *only = argc > 1 ? argv[1] : nullptr;
    const struct {
        const char *name;
        const char *(*newline)(size_t line);
    } contents[] = {
        {"LF", [](size_t) { return "\n"; }},
        {"CRLF", [](size_t) { return "\r\n"; }},
        {"CR", [](size_t) { return "\r"; }},
        {"mixed", [](size_t line) { return line % 3 == 0   ? "\n"
                                           : line % 3 == 1 ? "\r\n"
                                                           : "\r"; }},
    };
    const size_t line_lengths[] = {10, 40, 120, 4000};
    const char *path_names[] = {"reference", "portable", "sse2"};

    uint8_t *copy = touched_block(content_size);
    const uint32_t slice_size = 256 * 1024;
    uint8_t *out = touched_block(slice_size);
    if (!copy || !out) {
        std::printf("not enough memory\n");
        return 1;
    }
    const int32_t kind = newline_windows;
    const bool repair = false;
    std::vector<double> unchanged_ratios, changed_ratios;
    std::printf("%-6s %5s %-9s %9s %9s %6s  %s\n", "input", "line", "path", "MB/s", "memcpy",
                "ratio", "work");
    for (const auto &content : contents) {
        for (size_t line : line_lengths) {
            std::string text = make_text(line, content.newline);
            const uint8_t *bytes = reinterpret_cast<const uint8_t *>(text.data());
            const uint32_t size = static_cast<uint32_t>(text.size());
            for (int p = 0; p < 3; ++p) {
                if (only && std::strcmp(only, path_names[p]) != 0)
                    continue;
                std::vector<double> engine_times, copy_times, ratios;
                bool changed = false;
                for (int r = 0; r < rounds; ++r) {
                    auto begin = std::chrono::steady_clock::now();
                    if (p == 0) {
                        OutputBuffer buffer;
                        changed = convert_newlines(bytes, buffer, size, kind, repair) ==
                                  Conversion::changed;
                        sink = buffer.size();
                    } else {
                        EnginePath path = p == 1 ? EnginePath::portable : EnginePath::sse2;
                        uint32_t from = find_first_change(bytes, size, kind, repair, path);
                        changed = from != size;
                        while (from < size)
                            sink =
                                write_slice(bytes, size, from, out, slice_size, kind, repair, path);
                    }
                    double engine = seconds_of(begin);
                    begin = std::chrono::steady_clock::now();
                    std::memcpy(copy, bytes, size);
                    sink = copy[size / 2];
                    double plain = seconds_of(begin);
                    engine_times.push_back(engine);
                    copy_times.push_back(plain);
                    ratios.push_back(plain / engine);
                }
                double ratio = median(ratios);
                std::printf("%-6s %5zu %-9s %9.0f %9.0f %6.2f  %s\n", content.name, line,
                            path_names[p], size / median(engine_times) / 1e6,
                            size / median(copy_times) / 1e6, ratio,
                            changed ? "find+slices" : "find");
                // The summary takes the SSE2 path's unchanged (CR LF) and changed (LF) content.
                const bool crlf = std::strcmp(content.name, "CRLF") == 0;
                if (p == 2 && (line == 40 || line == 120) &&
                    (crlf || std::strcmp(content.name, "LF") == 0)) {
                    std::vector<double> &into = crlf ? unchanged_ratios : changed_ratios;
                    into.insert(into.end(), ratios.begin(), ratios.end());
                }
            }
        }
    }
    std::free(copy);
    std::free(out);
    std::printf("engine/memcpy: unchanged %.2f changed %.2f\n", median(unchanged_ratios),
                median(changed_ratios));
    return 0;
}
