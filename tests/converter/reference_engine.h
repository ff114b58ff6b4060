// The reference engine: the newline conversion one byte at a time, as the rules' table reads,
// into a growing buffer. Tests, fuzzers and benchmarks hold the block-wise engine against it;
// the shipped program does not link it. It states the rule in its own words on purpose, so
// that a fault in the shared rule shows as a difference instead of hiding on both sides.
#ifndef TESTS_CONVERTER_REFERENCE_ENGINE_H
#define TESTS_CONVERTER_REFERENCE_ENGINE_H

#include <cstdint>

#include "converter/engine.h"

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

// Appends one newline of the target kind (a NewlineKind). False when the buffer cannot grow.
bool emit_newline(OutputBuffer &out, int32_t kind);

// Writes content with every newline in the form of kind (a NewlineKind; repair takes 0Dh 0Dh
// 0Ah as one newline) into out, reset to length first, and tells whether the result differs
// from content. Reads no byte past content + length.
Conversion convert_newlines(const uint8_t *content, OutputBuffer &out, uint32_t length,
                            int32_t kind, bool repair);

// The shipped engine over whole content, as tests, fuzzers and benchmarks take it: the first
// change with the exact converted size (the size only for changed content), and the write of
// everything from from into out, which must hold output_size - from + converted_slack bytes.
inline NewlineScan scan_newlines(const uint8_t *content, uint32_t length, int32_t kind, bool repair,
                                 EnginePath path) {
    NewlineScan scan;
    scan.first_change = find_first_change(content, length, kind, repair, path);
    scan.changed = scan.first_change != length;
    scan.output_size = scan.changed ? converted_size(content, length, kind, repair, path) : length;
    return scan;
}

inline uint32_t write_converted(const uint8_t *content, uint32_t length, uint32_t from,
                                uint8_t *out, int32_t kind, bool repair, EnginePath path) {
    return write_slice(content, length, from, out, UINT32_MAX, kind, repair, path);
}

#endif
