#include "tests/converter/reference_engine.h"

#include <cstring>

#include "converter/memory.h"
#include "converter/settings.h"

OutputBuffer::~OutputBuffer() {
    memory_release(start);
}

bool OutputBuffer::reset(uint32_t new_capacity) {
    memory_release(start);
    start = static_cast<uint8_t *>(memory_allocate(new_capacity));
    if (!start) {
        capacity = 0;
        position = end = nullptr;
        return false;
    }
    capacity = new_capacity;
    position = start;
    end = start + capacity;
    return true;
}

bool OutputBuffer::grow() {
    // Growing in proportion keeps a long run of one-byte-to-two newlines linear overall.
    uint32_t step = capacity / 2 > 4096 ? capacity / 2 : 4096;
    if (capacity > UINT32_MAX - step)
        return false;
    uint32_t wider = capacity + step;
    uint8_t *block = static_cast<uint8_t *>(memory_allocate(wider));
    if (!block)
        return false;
    uint32_t written = size();
    if (capacity > 0)
        std::memcpy(block, start, capacity);
    memory_release(start);
    start = block;
    position = start + written;
    capacity = wider;
    end = start + capacity;
    return true;
}

bool emit_newline(OutputBuffer &out, int32_t kind) {
    switch (kind) {
    case newline_mac:
        return out.append_byte(0x0D);
    case newline_unix:
        return out.append_byte(0x0A);
    default:
        return out.append_byte(0x0D) && out.append_byte(0x0A);
    }
}

// Copies a run of plain bytes, growing as often as the run needs.
static bool append_run(OutputBuffer &out, const uint8_t *run, uint32_t length) {
    while (static_cast<uint32_t>(out.end - out.position) < length) {
        uint32_t room = static_cast<uint32_t>(out.end - out.position);
        std::memcpy(out.position, run, room);
        out.position += room;
        run += room;
        length -= room;
        if (!out.grow())
            return false;
    }
    std::memcpy(out.position, run, length);
    out.position += length;
    return true;
}

Conversion convert_newlines(const uint8_t *content, OutputBuffer &out, uint32_t length,
                            int32_t kind, bool repair) {
    if (!out.reset(length))
        return Conversion::out_of_memory;
    bool changed = false;
    uint32_t i = 0;
    while (i < length) {
        uint32_t plain = i;
        while (plain < length && content[plain] != 0x0D && content[plain] != 0x0A)
            ++plain;
        if (plain > i && !append_run(out, content + i, plain - i))
            return Conversion::out_of_memory;
        i = plain;
        if (i == length)
            break;
        // The table's rules in their order.
        uint32_t rest = length - i;
        if (repair && rest >= 3 && content[i] == 0x0D && content[i + 1] == 0x0D &&
            content[i + 2] == 0x0A) {
            changed = true;
            i += 3;
        } else if (rest >= 2 && content[i] == 0x0D && content[i + 1] == 0x0A) {
            changed |= kind != newline_windows;
            i += 2;
        } else if (content[i] == 0x0D) {
            changed |= kind != newline_mac;
            i += 1;
        } else {
            changed |= kind != newline_unix;
            i += 1;
        }
        if (!emit_newline(out, kind))
            return Conversion::out_of_memory;
    }
    return changed ? Conversion::changed : Conversion::unchanged;
}
