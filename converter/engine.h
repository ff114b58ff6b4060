// Newline conversion of one file's content held in memory.
#ifndef CONVERTER_ENGINE_H
#define CONVERTER_ENGINE_H

#include <cstdint>

// Growable byte block for converted content. Owns its block; adds no terminator.
struct OutputBuffer {
    uint32_t capacity = 0;
    uint8_t *start = nullptr;
    uint8_t *position = nullptr;
    uint8_t *end = nullptr;

    OutputBuffer() = default;
    ~OutputBuffer();
    OutputBuffer(const OutputBuffer &) = delete;
    OutputBuffer &operator=(const OutputBuffer &) = delete;

    // Drops the current block and takes a new one of exactly new_capacity bytes. False, with
    // no block left, when it cannot be allocated.
    bool reset(uint32_t new_capacity);
    // Adds max(4096, capacity / 2) bytes, keeping the written bytes and position's offset.
    // False, with the buffer as it was, when the block cannot be allocated or would pass 4 GiB.
    bool grow();
    bool append_byte(uint8_t byte) {
        if (position == end && !grow())
            return false;
        *position++ = byte;
        return true;
    }
    uint32_t size() const { return static_cast<uint32_t>(position - start); }
};

enum class Conversion { unchanged, changed, out_of_memory };

// Appends one newline of the kind settings.output_kind names. False when the buffer cannot grow.
bool emit_newline(OutputBuffer &out);

// Writes content with every newline in the target form into out (reset to length first) and
// tells whether the result differs from content. Reads settings.output_kind and
// settings.repair_flag. Reads no byte past content + length.
Conversion convert_newlines(const uint8_t *content, OutputBuffer &out, uint32_t length);

// The block-wise engine, which file conversion uses: a scan that writes nothing, then a write of
// the converted bytes from the first one that changes. Both give exactly what convert_newlines
// gives, read settings.output_kind and settings.repair_flag, and read no byte past the content.
// The SSE2 path may run only where the processor has SSE2 and the system saves its state.
enum class EnginePath { portable, sse2 };

struct NewlineScan {
    bool changed;          // the converted content differs from the content
    uint32_t first_change; // where the first newline to be rewritten begins; length if unchanged
    uint64_t output_size;  // the converted content's exact size; past 4 GiB it cannot be held
};

// Looks at the whole content without writing. Never fails.
NewlineScan scan_newlines(const uint8_t *content, uint32_t length, EnginePath path);

// Block-wise stores may pass the end of the converted bytes by up to this many bytes.
enum : uint32_t { converted_slack = 16 };

// Writes the converted content from offset from (a first_change that scan_newlines gave, or 0)
// to its end into out, which must hold output_size - from + converted_slack bytes. The bytes
// before from are the content's own. Returns how many bytes it wrote that belong to the
// converted content. Never fails.
uint32_t write_converted(const uint8_t *content, uint32_t length, uint32_t from, uint8_t *out,
                         EnginePath path);

// Whether the SSE2 path may run, from what the platform edge found: the CPUID instruction
// exists (EFLAGS bit 21 toggles), CPUID leaf 1 reports SSE2 (EDX bit 26), and the system saves
// SSE state on a task switch (GetVersionExA: the 9x family from 4.10, Windows 98, on; NT from
// 5.0 on; Windows 95 and NT 4.0 fault on SSE instructions).
bool sse2_path_allowed(bool has_cpuid, uint32_t cpuid1_edx, uint32_t platform_id,
                       uint32_t major_version, uint32_t minor_version);

#endif
