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
template <uint32_t width, bool big> struct UnitOrder {
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

    // CR and LF as the file's bytes read in little-endian order.
    static const uint32_t lane_cr = big ? unit_cr << (8 * width - 8) : unit_cr;
    static const uint32_t lane_lf = big ? unit_lf << (8 * width - 8) : unit_lf;

    // The newline that begins at from, a CR or LF unit before end, in units.
    static uint32_t newline_at(const uint8_t *from, const uint8_t *end, bool repair) {
        const uint32_t rest = static_cast<uint32_t>(end - from) / width;
        const uint32_t second = rest >= 2 ? at(from + width) : 0;
        const uint32_t third = rest >= 3 ? at(from + 2 * width) : 0;
        return newline_units(at(from), second, third, rest, repair);
    }
};

} // namespace

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>

// Only these functions hold SSE2 instructions, and only the SSE2 path, which the platform edge
// allows, calls them. C names keep "_sse2" at the very end of their symbols. They look at
// sixteen bytes at a time, as 16-bit units or, when wide, as 32-bit units; cr and lf are the
// unit values as the file's bytes read in little-endian order.
extern "C" {

// All ones in the lanes of block that hold a cr or lf unit.
__attribute__((target("sse2"), always_inline)) static inline __m128i
newline_lanes_sse2(__m128i block, uint32_t cr, uint32_t lf, bool wide) {
    if (wide)
        return _mm_or_si128(_mm_cmpeq_epi32(block, _mm_set1_epi32(static_cast<int>(cr))),
                            _mm_cmpeq_epi32(block, _mm_set1_epi32(static_cast<int>(lf))));
    return _mm_or_si128(_mm_cmpeq_epi16(block, _mm_set1_epi16(static_cast<short>(cr))),
                        _mm_cmpeq_epi16(block, _mm_set1_epi16(static_cast<short>(lf))));
}

// Bit i set when byte i of block belongs to a cr or lf unit.
__attribute__((target("sse2"), always_inline)) static inline int
newline_marks_sse2(__m128i block, uint32_t cr, uint32_t lf, bool wide) {
    return _mm_movemask_epi8(newline_lanes_sse2(block, cr, lf, wide));
}

// The first cr or lf unit from from on, or where fewer than sixteen bytes are left before end.
__attribute__((target("sse2"))) static const uint8_t *
find_newline_sse2(const uint8_t *from, const uint8_t *end, uint32_t cr, uint32_t lf, bool wide) {
    for (; end - from >= 16; from += 16) {
        const int marks = newline_marks_sse2(
            _mm_loadu_si128(reinterpret_cast<const __m128i *>(from)), cr, lf, wide);
        if (marks != 0)
            return from + __builtin_ctz(static_cast<unsigned>(marks));
    }
    return from;
}

// Copies four blocks of sixteen bytes a step from from on to to, with one test for all, while
// none holds a cr or lf unit and sixty-four bytes are left both before end and before to_end;
// returns how many bytes it copied. Kept out of the write's loop over newlines, which it would
// only slow where lines are short.
__attribute__((target("sse2"), noinline)) static uint32_t
copy_clean_sse2(const uint8_t *from, const uint8_t *end, uint8_t *to, const uint8_t *to_end,
                uint32_t cr, uint32_t lf, bool wide) {
    const uint8_t *start = from;
    for (; end - from >= 64 && to_end - to >= 64; from += 64, to += 64) {
        const __m128i *here = reinterpret_cast<const __m128i *>(from);
        const __m128i b0 = _mm_loadu_si128(here), b1 = _mm_loadu_si128(here + 1),
                      b2 = _mm_loadu_si128(here + 2), b3 = _mm_loadu_si128(here + 3);
        const __m128i lanes = _mm_or_si128(_mm_or_si128(newline_lanes_sse2(b0, cr, lf, wide),
                                                        newline_lanes_sse2(b1, cr, lf, wide)),
                                           _mm_or_si128(newline_lanes_sse2(b2, cr, lf, wide),
                                                        newline_lanes_sse2(b3, cr, lf, wide)));
        if (_mm_movemask_epi8(lanes) != 0)
            break;
        __m128i *there = reinterpret_cast<__m128i *>(to);
        _mm_storeu_si128(there, b0);
        _mm_storeu_si128(there + 1, b1);
        _mm_storeu_si128(there + 2, b2);
        _mm_storeu_si128(there + 3, b3);
    }
    return static_cast<uint32_t>(from - start);
}

} // extern "C"

namespace {

// The write over blocks of sixteen bytes, each stored whole; the block's newline units are then
// taken one by one from its marks, each newline written and followed by the sixteen bytes after
// it, so that the plain units up to the next one stand where they belong without a search of
// their own. Runs while a block and the sixteen bytes after any of its newlines lie before end
// (32 bytes), so that three units from every newline unit are there to read, and while its
// output, at most 48 bytes, fits before to_end. Moves *from_io and *to_io past what it took and
// wrote, whole units and newlines only.
template <uint32_t width, bool big, int32_t kind>
__attribute__((target("sse2"), always_inline)) inline void
write_blocks(const uint8_t **from_io, const uint8_t *end, uint8_t **to_io, const uint8_t *to_end,
             bool repair) {
    using Order = UnitOrder<width, big>;
    const bool wide = width == 4;
    const uint8_t *from = *from_io;
    uint8_t *to = *to_io;
    uint32_t clean = 0; // blocks in a row without newline units
    while (end - from >= 32 && to_end - to >= 64) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to), block);
        unsigned marks =
            static_cast<unsigned>(newline_marks_sse2(block, Order::lane_cr, Order::lane_lf, wide));
        if (marks == 0) {
            from += 16;
            to += 16;
            // Past four blocks without newline units long lines are likely; short lines would
            // only pay for the longer steps.
            if (++clean >= 4) {
                const uint32_t copied =
                    copy_clean_sse2(from, end, to, to_end, Order::lane_cr, Order::lane_lf, wide);
                from += copied;
                to += copied;
            }
            continue;
        }
        clean = 0;
        const uint8_t *block_start = from, *block_end = from + 16;
        do {
            const uint8_t *newline = block_start + __builtin_ctz(marks);
            to += newline - from;
            Order::put(to, target_newline_unit(kind, 0));
            if (target_newline_units(kind) == 2)
                Order::put(to + width, target_newline_unit(kind, 1));
            from = newline + newline_units(Order::at(newline), Order::at(newline + width),
                                           Order::at(newline + 2 * width), 3, repair) *
                                 width;
            to += target_newline_units(kind) * width;
            // A CR LF that the block cuts ends past it: the next block begins after it.
            if (from >= block_end)
                break;
            marks &= ~0u << (from - block_start);
            _mm_storeu_si128(reinterpret_cast<__m128i *>(to),
                             _mm_loadu_si128(reinterpret_cast<const __m128i *>(from)));
        } while (marks != 0);
        if (from < block_end) {
            to += block_end - from;
            from = block_end;
        }
    }
    *from_io = from;
    *to_io = to;
}

// write_blocks with kind made a constant, so that a newline's units are stored at once.
template <uint32_t width, bool big>
__attribute__((target("sse2"), always_inline)) inline void
write_blocks_to(const uint8_t **from, const uint8_t *end, uint8_t **to, const uint8_t *to_end,
                int32_t kind, bool repair) {
    if (kind == newline_mac)
        write_blocks<width, big, newline_mac>(from, end, to, to_end, repair);
    else if (kind == newline_unix)
        write_blocks<width, big, newline_unix>(from, end, to, to_end, repair);
    else
        write_blocks<width, big, newline_windows>(from, end, to, to_end, repair);
}

} // namespace

extern "C" {

__attribute__((target("sse2"))) static void write_utf16le_sse2(const uint8_t **from,
                                                               const uint8_t *end, uint8_t **to,
                                                               const uint8_t *to_end, int32_t kind,
                                                               bool repair) {
    write_blocks_to<2, false>(from, end, to, to_end, kind, repair);
}

__attribute__((target("sse2"))) static void write_utf16be_sse2(const uint8_t **from,
                                                               const uint8_t *end, uint8_t **to,
                                                               const uint8_t *to_end, int32_t kind,
                                                               bool repair) {
    write_blocks_to<2, true>(from, end, to, to_end, kind, repair);
}

__attribute__((target("sse2"))) static void write_utf32le_sse2(const uint8_t **from,
                                                               const uint8_t *end, uint8_t **to,
                                                               const uint8_t *to_end, int32_t kind,
                                                               bool repair) {
    write_blocks_to<4, false>(from, end, to, to_end, kind, repair);
}

__attribute__((target("sse2"))) static void write_utf32be_sse2(const uint8_t **from,
                                                               const uint8_t *end, uint8_t **to,
                                                               const uint8_t *to_end, int32_t kind,
                                                               bool repair) {
    write_blocks_to<4, true>(from, end, to, to_end, kind, repair);
}

} // extern "C"
#define UNIT_ENGINE_HAS_SSE2 1
#endif

namespace {

template <uint32_t width, bool big> struct Units : UnitOrder<width, big> {
    using Order = UnitOrder<width, big>;
    using Order::at;
    using Order::lane_cr;
    using Order::lane_lf;
    using Order::lanes;
    using Order::low;
    using Order::put;

    // The first unit from from on that can begin a newline, or end (a whole number of units
    // from from); eight bytes a step while none of their units is low.
    static const uint8_t *find_newline(const uint8_t *from, const uint8_t *end, bool sse2) {
#ifdef UNIT_ENGINE_HAS_SSE2
        // Short lines end within the first step, which the blocks would only make slower.
        if (sse2 && width > 1 && end - from >= 8 &&
            (low(lanes(from)) | low(lanes(from + 4))) == 0) {
            from = find_newline_sse2(from + 8, end, lane_cr, lane_lf, width == 4);
            // Short of the last sixteen bytes it stopped at a CR or LF unit.
            if (end - from >= 16)
                return from;
        }
#else
        (void)sse2;
#endif
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

    using Order::newline_at;

    static NewlineScan scan(const uint8_t *content, uint32_t length, int32_t kind, bool repair,
                            bool sse2) {
        const uint8_t *end = content + (length - length % width);
        const uint64_t written = uint64_t{target_newline_units(kind)} * width;
        NewlineScan result = {false, length, length};
        const uint8_t *from = content;
        for (;;) {
            from = find_newline(from, end, sse2);
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

    static uint32_t first_change(const uint8_t *content, uint32_t length, int32_t kind, bool repair,
                                 bool sse2) {
        const uint8_t *end = content + (length - length % width);
        const uint8_t *from = content;
        for (;;) {
            from = find_newline(from, end, sse2);
            if (from == end)
                return length;
            const uint32_t units = newline_at(from, end, repair);
            if (!newline_stays(at(from), units, kind))
                return static_cast<uint32_t>(from - content);
            from += units * width;
        }
    }

    static uint32_t write(const uint8_t *content, uint32_t length, uint32_t &offset, uint8_t *out,
                          uint32_t room, int32_t kind, bool repair, bool sse2) {
        const uint8_t *end = content + (length - length % width);
        const uint32_t newline_size = target_newline_units(kind) * width;
        const uint8_t *from = content + offset;
        uint8_t *to = out;
#ifdef UNIT_ENGINE_HAS_SSE2
        // The blocks take all but the last few bytes of the content or of the room.
        if (sse2 && width > 1) {
            if (width == 2)
                (big ? write_utf16be_sse2 : write_utf16le_sse2)(&from, end, &to, out + room, kind,
                                                                repair);
            else
                (big ? write_utf32be_sse2 : write_utf32le_sse2)(&from, end, &to, out + room, kind,
                                                                repair);
        }
#endif
        uint32_t left = room - static_cast<uint32_t>(to - out);
        while (from < end) {
            // The search stops where the room does, so a run longer than the room is not looked
            // through again by each call that takes a part of it.
            const uint32_t fit = left / width * width;
            const uint8_t *limit = static_cast<uint32_t>(end - from) > fit ? from + fit : end;
            // Sixteen bytes copied a step as they are tested: one pass over a long line where the
            // search and a copy after it would make two.
            while (limit - from >= 16 && (low(lanes(from)) | low(lanes(from + 4)) |
                                          low(lanes(from + 8)) | low(lanes(from + 12))) == 0) {
                std::memcpy(to, from, 16);
                from += 16;
                to += 16;
                left -= 16;
            }
            const uint8_t *plain_end = find_newline(from, limit, sse2);
            const uint32_t plain = static_cast<uint32_t>(plain_end - from);
            if (plain != 0)
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
                       bool repair, EnginePath path) {
    const bool sse2 = path == EnginePath::sse2;
    switch (encoding) {
    case TextEncoding::utf16_le:
        return Units<2, false>::scan(content, length, kind, repair, sse2);
    case TextEncoding::utf16_be:
        return Units<2, true>::scan(content, length, kind, repair, sse2);
    case TextEncoding::utf32_le:
        return Units<4, false>::scan(content, length, kind, repair, sse2);
    case TextEncoding::utf32_be:
        return Units<4, true>::scan(content, length, kind, repair, sse2);
    default:
        return Units<1, false>::scan(content, length, kind, repair, sse2);
    }
}

uint32_t first_unit_change(const uint8_t *content, uint32_t length, TextEncoding encoding,
                           int32_t kind, bool repair, EnginePath path) {
    const bool sse2 = path == EnginePath::sse2;
    switch (encoding) {
    case TextEncoding::utf16_le:
        return Units<2, false>::first_change(content, length, kind, repair, sse2);
    case TextEncoding::utf16_be:
        return Units<2, true>::first_change(content, length, kind, repair, sse2);
    case TextEncoding::utf32_le:
        return Units<4, false>::first_change(content, length, kind, repair, sse2);
    case TextEncoding::utf32_be:
        return Units<4, true>::first_change(content, length, kind, repair, sse2);
    default:
        return Units<1, false>::first_change(content, length, kind, repair, sse2);
    }
}

uint32_t write_units(const uint8_t *content, uint32_t length, uint32_t &from, uint8_t *out,
                     uint32_t room, TextEncoding encoding, int32_t kind, bool repair,
                     EnginePath path) {
    const bool sse2 = path == EnginePath::sse2;
    switch (encoding) {
    case TextEncoding::utf16_le:
        return Units<2, false>::write(content, length, from, out, room, kind, repair, sse2);
    case TextEncoding::utf16_be:
        return Units<2, true>::write(content, length, from, out, room, kind, repair, sse2);
    case TextEncoding::utf32_le:
        return Units<4, false>::write(content, length, from, out, room, kind, repair, sse2);
    case TextEncoding::utf32_be:
        return Units<4, true>::write(content, length, from, out, room, kind, repair, sse2);
    default:
        return Units<1, false>::write(content, length, from, out, room, kind, repair, sse2);
    }
}
