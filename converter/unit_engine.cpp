#include "converter/unit_engine.h"

#include <cstring>

#include "converter/newline_rule.h"

TextEncoding text_encoding(const uint8_t *content, uint32_t length) {
    if (length >= 4 && content[0] == 0xFF && content[1] == 0xFE && content[2] == 0 &&
        content[3] == 0)
        return TextEncoding::utf32_le;
    if (length >= 4 && content[0] == 0 && content[1] == 0 && content[2] == 0xFE &&
        content[3] == 0xFF)
        return TextEncoding::utf32_be;
    if (length >= 2 && content[0] == 0xFF && content[1] == 0xFE)
        return TextEncoding::utf16_le;
    if (length >= 2 && content[0] == 0xFE && content[1] == 0xFF)
        return TextEncoding::utf16_be;
    return TextEncoding::bytes;
}

uint32_t unit_bytes(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::utf16_le:
    case TextEncoding::utf16_be:
        return 2;
    case TextEncoding::utf32_le:
    case TextEncoding::utf32_be:
        return 4;
    default:
        return 1;
    }
}

namespace {

// Code units of width bytes in one byte order. The word tests read the host's words in little-
// endian order, as on every processor eolfix runs on.
template <uint32_t width, bool big> struct Units {
    static uint32_t at(const uint8_t *from) {
        uint32_t unit = 0;
        for (uint32_t i = 0; i < width; ++i)
            unit |= uint32_t{from[i]} << (8 * (big ? width - 1 - i : i));
        return unit;
    }
    static void put(uint8_t *to, uint32_t unit) {
        for (uint32_t i = 0; i < width; ++i)
            to[i] = static_cast<uint8_t>(unit >> (8 * (big ? width - 1 - i : i)));
    }
    // The four bytes at from as a word whose lanes of width bytes hold unit values.
    static uint32_t lanes(const uint8_t *from) {
        uint32_t word;
        std::memcpy(&word, from, sizeof word);
        if (!big || width == 1)
            return word;
        if (width == 2)
            return ((word & 0x00FF00FFu) << 8) | ((word >> 8) & 0x00FF00FFu);
        return __builtin_bswap32(word);
    }
    // Nonzero when some lane of the word lies below 0Eh, as CR and LF do; text has few other
    // units there, so a word that passes holds no newline after three operations. No borrow
    // reaches a lane's top bit unless a lane below it is low itself.
    static uint32_t low(uint32_t word) {
        const uint32_t ones = width == 1 ? 0x01010101u : width == 2 ? 0x00010001u : 1u;
        return (word - ones * 0x0E) & ~word & (ones << (8 * width - 1));
    }

    // The first unit from from on that can begin a newline, or end (a whole number of units
    // from from); eight bytes a step while none of their units is low.
    static const uint8_t *find_newline(const uint8_t *from, const uint8_t *end) {
        for (;;) {
            while (end - from >= 8 && (low(lanes(from)) | low(lanes(from + 4))) == 0)
                from += 8;
            const uint8_t *stop = end - from >= 8 ? from + 8 : end;
            for (; from != stop; from += width)
                if (is_newline_unit(at(from)))
                    return from;
            if (from == end)
                return end;
        }
    }

    // The newline that begins at from, a CR or LF unit before end, in units.
    static uint32_t newline_at(const uint8_t *from, const uint8_t *end, bool repair) {
        const uint32_t rest = static_cast<uint32_t>(end - from) / width;
        const uint32_t second = rest >= 2 ? at(from + width) : 0;
        const uint32_t third = rest >= 3 ? at(from + 2 * width) : 0;
        return newline_units(at(from), second, third, rest, repair);
    }

    static NewlineScan scan(const uint8_t *content, uint32_t length, int32_t kind, bool repair) {
        const uint8_t *end = content + (length - length % width);
        const uint64_t written = uint64_t{target_newline_units(kind)} * width;
        NewlineScan result = {false, length, length};
        const uint8_t *from = content;
        for (;;) {
            from = find_newline(from, end);
            if (from == end)
                break;
            const uint32_t units = newline_at(from, end, repair);
            if (!result.changed && !newline_stays(at(from), units, kind)) {
                result.changed = true;
                result.first_change = static_cast<uint32_t>(from - content);
            }
            result.output_size = result.output_size - units * width + written;
            from += units * width;
        }
        return result;
    }

    static uint32_t write(const uint8_t *content, uint32_t length, uint32_t &offset, uint8_t *out,
                          uint32_t room, int32_t kind, bool repair) {
        const uint8_t *end = content + (length - length % width);
        const uint32_t newline_size = target_newline_units(kind) * width;
        const uint8_t *from = content + offset;
        uint8_t *to = out;
        uint32_t left = room;
        while (from < end) {
            // The search stops where the room does, so a run longer than the room is not looked
            // through again by each call that takes a part of it.
            const uint32_t fit = left / width * width;
            const uint8_t *limit = static_cast<uint32_t>(end - from) > fit ? from + fit : end;
            const uint8_t *plain_end = find_newline(from, limit);
            const uint32_t plain = static_cast<uint32_t>(plain_end - from);
            std::memcpy(to, from, plain);
            from += plain;
            to += plain;
            left -= plain;
            if (from == end || from == limit || left < newline_size)
                break;
            const uint32_t units = newline_at(from, end, repair);
            for (uint32_t i = 0; i < target_newline_units(kind); ++i)
                put(to + i * width, target_newline_unit(kind, i));
            from += units * width;
            to += newline_size;
            left -= newline_size;
        }
        // The bytes of a last, partial unit are plain text.
        const uint32_t tail = static_cast<uint32_t>(content + length - end);
        if (from == end && tail != 0 && tail <= left) {
            std::memcpy(to, from, tail);
            from += tail;
            to += tail;
        }
        offset = static_cast<uint32_t>(from - content);
        return static_cast<uint32_t>(to - out);
    }
};

} // namespace

NewlineScan scan_units(const uint8_t *content, uint32_t length, TextEncoding encoding, int32_t kind,
                       bool repair) {
    switch (encoding) {
    case TextEncoding::utf16_le:
        return Units<2, false>::scan(content, length, kind, repair);
    case TextEncoding::utf16_be:
        return Units<2, true>::scan(content, length, kind, repair);
    case TextEncoding::utf32_le:
        return Units<4, false>::scan(content, length, kind, repair);
    case TextEncoding::utf32_be:
        return Units<4, true>::scan(content, length, kind, repair);
    default:
        return Units<1, false>::scan(content, length, kind, repair);
    }
}

uint32_t write_units(const uint8_t *content, uint32_t length, uint32_t &from, uint8_t *out,
                     uint32_t room, TextEncoding encoding, int32_t kind, bool repair) {
    switch (encoding) {
    case TextEncoding::utf16_le:
        return Units<2, false>::write(content, length, from, out, room, kind, repair);
    case TextEncoding::utf16_be:
        return Units<2, true>::write(content, length, from, out, room, kind, repair);
    case TextEncoding::utf32_le:
        return Units<4, false>::write(content, length, from, out, room, kind, repair);
    case TextEncoding::utf32_be:
        return Units<4, true>::write(content, length, from, out, room, kind, repair);
    default:
        return Units<1, false>::write(content, length, from, out, room, kind, repair);
    }
}
