// Throughput of the newline engine on generated text, next to memcpy of the same size.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "converter/engine.h"
#include "converter/settings.h"

namespace {

const size_t content_size = 32u << 20;
const int rounds = 5;

// Lines of 20 to 99 characters of Shift-JIS-like text, each ended by newline.
std::string make_text(const char *newline) {
    std::string text;
    text.reserve(content_size + 128);
    unsigned seed = 12345;
    while (text.size() < content_size) {
        seed = seed * 1103515245u + 12345u;
        size_t length = 20 + (seed >> 16) % 80;
        for (size_t i = 0; i < length; ++i)
            text += static_cast<char>(i % 7 == 3 ? 0x82 : 'a' + i % 26);
        text += newline;
    }
    return text;
}

template <typename Work> double best_seconds(Work work) {
    double best = 1e30;
    for (int i = 0; i < rounds; ++i) {
        auto begin = std::chrono::steady_clock::now();
        work();
        std::chrono::duration<double> spent = std::chrono::steady_clock::now() - begin;
        if (spent.count() < best)
            best = spent.count();
    }
    return best;
}

double megabytes_per_second(size_t bytes, double seconds) {
    return bytes / seconds / 1e6;
}

} // namespace

int main() {
    const struct {
        const char *name;
        int32_t kind;
        const char *same, *other;
    } targets[] = {
        {"windows", newline_windows, "\r\n", "\n"},
        {"mac", newline_mac, "\r", "\r\n"},
        {"unix", newline_unix, "\n", "\r\n"},
    };
    std::printf("%-8s %-10s %10s %10s %7s\n", "target", "content", "MB/s", "memcpy", "ratio");
    for (const auto &target : targets) {
        settings.output_kind = target.kind;
        for (bool changed : {false, true}) {
            std::string text = make_text(changed ? target.other : target.same);
            const uint8_t *bytes = reinterpret_cast<const uint8_t *>(text.data());
            uint32_t size = static_cast<uint32_t>(text.size());
            char *copy = static_cast<char *>(std::malloc(size));
            if (!copy) {
                std::printf("not enough memory\n");
                return 1;
            }
            double engine = best_seconds([&] {
                OutputBuffer out;
                if (convert_newlines(bytes, out, size) == Conversion::out_of_memory)
                    std::printf("out of memory\n");
            });
            double plain = best_seconds([&] {
                std::memcpy(copy, text.data(), size);
                // Keeps the copy from being optimised away.
                if (copy[size / 2] == 1)
                    std::printf("!");
            });
            std::free(copy);
            double engine_rate = megabytes_per_second(size, engine);
            double copy_rate = megabytes_per_second(size, plain);
            std::printf("%-8s %-10s %10.0f %10.0f %7.2f\n", target.name,
                        changed ? "changed" : "unchanged", engine_rate, copy_rate,
                        engine_rate / copy_rate);
        }
    }
    return 0;
}
