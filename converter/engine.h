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

#endif
