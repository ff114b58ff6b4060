#include "converter/engine.h"

#include "converter/memory.h"
#include <cstring>

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

bool emit_newline(OutputBuffer &out) {
    switch (settings.output_kind) {
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

// Plain text bytes lie above 0Dh nearly always: skip four at a time while none of them is
// 0Dh or below, then look at single bytes.
static const uint8_t *find_newline_byte(const uint8_t *from, const uint8_t *to) {
    while (to - from >= 4) {
        uint32_t word;
        std::memcpy(&word, from, sizeof word);
        if ((word - 0x0E0E0E0Eu) & ~word & 0x80808080u)
            break;
        from += 4;
    }
    for (; from < to; ++from)
        if (*from <= 0x0D && (*from == 0x0D || *from == 0x0A))
            break;
    return from;
}

Conversion convert_newlines(const uint8_t *content, OutputBuffer &out, uint32_t length) {
    if (!out.reset(length))
        return Conversion::out_of_memory;
    const int32_t kind = settings.output_kind;
    const bool repair = settings.repair_flag != 0;
    bool changed = false;
    uint32_t i = 0;
    while (i < length) {
        const uint8_t *plain_end = find_newline_byte(content + i, content + length);
        uint32_t plain = static_cast<uint32_t>(plain_end - content);
        if (plain > i && !append_run(out, content + i, plain - i))
            return Conversion::out_of_memory;
        i = plain;
        if (i == length)
            break;
        uint32_t rest = length - i;
        if (content[i] == 0x0A) {
            changed |= kind != newline_unix;
            i += 1;
        } else if (repair && rest >= 3 && content[i + 1] == 0x0D && content[i + 2] == 0x0A) {
            changed = true;
            i += 3;
        } else if (rest >= 2 && content[i + 1] == 0x0A) {
            changed |= kind != newline_windows;
            i += 2;
        } else {
            changed |= kind != newline_mac;
            i += 1;
        }
        if (!emit_newline(out))
            return Conversion::out_of_memory;
    }
    return changed ? Conversion::changed : Conversion::unchanged;
}
