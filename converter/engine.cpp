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

namespace {

const uint8_t cr = 0x0D;
const uint8_t lf = 0x0A;

// How often each newline byte and each pattern of them occurs; every other figure of a scan
// follows from these.
struct NewlineCounts {
    uint32_t cr;      // 0Dh bytes
    uint32_t lf;      // 0Ah bytes
    uint32_t pairs;   // 0Dh followed by 0Ah
    uint32_t triples; // 0Dh 0Dh 0Ah
};

inline uint32_t load_word(const uint8_t *at) {
    uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

inline void store_word(uint8_t *at, uint32_t word) {
    std::memcpy(at, &word, sizeof word);
}

// 80h in exactly the bytes of word that are zero, and nothing elsewhere (no borrow crosses a
// byte, unlike the shorter test with a subtraction).
inline uint32_t zero_bytes(uint32_t word) {
    return ~(((word & 0x7F7F7F7Fu) + 0x7F7F7F7Fu) | word | 0x7F7F7F7Fu);
}

// The counts of the bytes from i on, one at a time: the tail that no word or block covers.
void count_bytes_single(const uint8_t *content, uint32_t i, uint32_t length, bool repair,
                        NewlineCounts &counts) {
    for (; i < length; ++i) {
        if (content[i] == lf) {
            ++counts.lf;
        } else if (content[i] == cr) {
            ++counts.cr;
            if (i + 1 < length && content[i + 1] == lf)
                ++counts.pairs;
            if (repair && i + 2 < length && content[i + 1] == cr && content[i + 2] == lf)
                ++counts.triples;
        }
    }
}

// Nonzero when some byte of word lies below 0Eh, as every newline byte does; text has few
// others there, so a word that passes is plain after three operations.
inline uint32_t low_bytes(uint32_t word) {
    return (word - 0x0E0E0E0Eu) & ~word & 0x80808080u;
}

// The sum of the four byte lanes of lanes.
inline uint32_t sum_lanes(uint32_t lanes) {
    uint32_t halves = (lanes & 0x00FF00FFu) + ((lanes >> 8) & 0x00FF00FFu);
    return (halves + (halves >> 16)) & 0xFFFFu;
}

// Eight bytes a step. A pattern is counted at its first byte, so a step without a newline byte
// starts none and is passed over after one test. A step with one is counted whole, without a
// branch on which word holds it, into byte lanes (each step adds at most 2 to a lane) that are
// summed before they can overflow: a count per word and per pattern cost more than the words.
void count_bytes_portable(const uint8_t *content, uint32_t length, bool repair,
                          NewlineCounts &counts) {
    uint32_t i = 0;
    // The look-ahead words of the second word end at i + 10.
    while (i + 10 <= length) {
        uint32_t steps = (length - i - 2) / 8;
        if (steps > 127)
            steps = 127;
        const uint8_t *at = content + i;
        const uint8_t *stop = at + 8 * steps;
        uint32_t crs = 0, lfs = 0, pairs = 0, triples = 0;
        for (; at != stop; at += 8) {
            uint32_t first = load_word(at);
            uint32_t second = load_word(at + 4);
            if ((low_bytes(first) | low_bytes(second)) == 0)
                continue;
            uint32_t cr_first = zero_bytes(first ^ 0x0D0D0D0Du);
            uint32_t cr_second = zero_bytes(second ^ 0x0D0D0D0Du);
            uint32_t next_first = load_word(at + 1);
            uint32_t next_second = load_word(at + 5);
            crs += (cr_first >> 7) + (cr_second >> 7);
            lfs += (zero_bytes(first ^ 0x0A0A0A0Au) >> 7) + (zero_bytes(second ^ 0x0A0A0A0Au) >> 7);
            pairs += ((cr_first & zero_bytes(next_first ^ 0x0A0A0A0Au)) >> 7) +
                     ((cr_second & zero_bytes(next_second ^ 0x0A0A0A0Au)) >> 7);
            if (repair)
                triples += ((cr_first & zero_bytes(next_first ^ 0x0D0D0D0Du) &
                             zero_bytes(load_word(at + 2) ^ 0x0A0A0A0Au)) >>
                            7) +
                           ((cr_second & zero_bytes(next_second ^ 0x0D0D0D0Du) &
                             zero_bytes(load_word(at + 6) ^ 0x0A0A0A0Au)) >>
                            7);
        }
        counts.cr += sum_lanes(crs);
        counts.lf += sum_lanes(lfs);
        counts.pairs += sum_lanes(pairs);
        counts.triples += sum_lanes(triples);
        i += 8 * steps;
    }
    count_bytes_single(content, i, length, repair, counts);
}

// Where the first newline begins that the conversion rewrites, by today's rules in their order;
// length when there is none.
uint32_t find_first_change(const uint8_t *content, uint32_t length, int32_t kind, bool repair) {
    uint32_t i = 0;
    while (i < length) {
        i = static_cast<uint32_t>(find_newline_byte(content + i, content + length) - content);
        if (i == length)
            break;
        uint32_t rest = length - i;
        if (content[i] == lf) {
            if (kind != newline_unix)
                return i;
            i += 1;
        } else if (repair && rest >= 3 && content[i + 1] == cr && content[i + 2] == lf) {
            return i;
        } else if (rest >= 2 && content[i + 1] == lf) {
            if (kind != newline_windows)
                return i;
            i += 2;
        } else {
            if (kind != newline_mac)
                return i;
            i += 1;
        }
    }
    return length;
}

// The newline at at (a 0Dh or 0Ah) and its length by today's rules; rest bytes remain.
inline uint32_t newline_length(const uint8_t *at, uint32_t rest, bool repair) {
    if (*at == lf)
        return 1;
    if (repair && rest >= 3 && at[1] == cr && at[2] == lf)
        return 3;
    return rest >= 2 && at[1] == lf ? 2 : 1;
}

template <int32_t kind> inline uint8_t *put_newline(uint8_t *out) {
    if (kind == newline_mac) {
        *out = cr;
        return out + 1;
    }
    if (kind == newline_unix) {
        *out = lf;
        return out + 1;
    }
    out[0] = cr;
    out[1] = lf;
    return out + 2;
}

// Copies eight bytes a step, whole words even where a newline byte lies inside one: the bytes
// past it are written over by what follows.
template <int32_t kind>
uint32_t write_words(const uint8_t *content, uint32_t length, uint32_t from, uint8_t *out,
                     bool repair) {
    const uint8_t *at = content + from;
    const uint8_t *end = content + length;
    uint8_t *to = out;
    // The newline after the plain bytes is read as one word, ending by at + 11.
    while (end - at >= 11) {
        uint32_t first = load_word(at);
        uint32_t second = load_word(at + 4);
        store_word(to, first);
        store_word(to + 4, second);
        if ((low_bytes(first) | low_bytes(second)) == 0) {
            at += 8;
            to += 8;
            continue;
        }
        uint32_t plain;
        uint32_t marks = zero_bytes(first ^ 0x0D0D0D0Du) | zero_bytes(first ^ 0x0A0A0A0Au);
        if (marks != 0) {
            plain = static_cast<uint32_t>(__builtin_ctz(marks)) >> 3;
        } else {
            marks = zero_bytes(second ^ 0x0D0D0D0Du) | zero_bytes(second ^ 0x0A0A0A0Au);
            if (marks == 0) {
                at += 8;
                to += 8;
                continue;
            }
            plain = 4 + (static_cast<uint32_t>(__builtin_ctz(marks)) >> 3);
        }
        at += plain;
        to += plain;
        // A 0Dh's newline length from one word, without a branch on what follows it.
        uint32_t newline = load_word(at);
        at += (newline & 0xFFu) == lf ? 1
                                      : 1 + ((newline & 0xFFFFu) == 0x0A0Du) +
                                            2 * (repair && (newline & 0xFFFFFFu) == 0x0A0D0Du);
        to = put_newline<kind>(to);
    }
    while (at < end) {
        if (*at != cr && *at != lf) {
            *to++ = *at++;
            continue;
        }
        at += newline_length(at, static_cast<uint32_t>(end - at), repair);
        to = put_newline<kind>(to);
    }
    return static_cast<uint32_t>(to - out);
}

uint32_t write_portable(const uint8_t *content, uint32_t length, uint32_t from, uint8_t *out,
                        int32_t kind, bool repair) {
    if (kind == newline_mac)
        return write_words<newline_mac>(content, length, from, out, repair);
    if (kind == newline_unix)
        return write_words<newline_unix>(content, length, from, out, repair);
    return write_words<newline_windows>(content, length, from, out, repair);
}

} // namespace

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>

// Only these functions hold SSE2 instructions, and only after the platform edge has checked
// that they may run. C names keep "_sse2" at the very end of their symbols.
extern "C" {

// Sixteen bytes at a time, with byte counters that are summed before they can overflow.
__attribute__((target("sse2"))) static void
count_bytes_sse2(const uint8_t *content, uint32_t length, bool repair, NewlineCounts *counts_out) {
    NewlineCounts &counts = *counts_out;
    const __m128i crs16 = _mm_set1_epi8(cr);
    const __m128i lfs16 = _mm_set1_epi8(lf);
    const __m128i zero = _mm_setzero_si128();
    __m128i total_cr = zero, total_lf = zero, total_pairs = zero, total_triples = zero;
    uint32_t i = 0;
    // The look-ahead loads at i + 1 and i + 2 stay inside the content.
    while (i + 18 <= length) {
        uint32_t blocks = (length - i - 2) / 16;
        if (blocks > 255)
            blocks = 255;
        __m128i sum_cr = zero, sum_lf = zero, sum_pairs = zero, sum_triples = zero;
        // At least one block is left here; a loop that says so gives no branch-free skip of an
        // empty one, which the compiler would write with cmov.
        do {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(content + i));
            const __m128i next =
                _mm_loadu_si128(reinterpret_cast<const __m128i *>(content + i + 1));
            const __m128i is_cr = _mm_cmpeq_epi8(here, crs16);
            const __m128i pair = _mm_and_si128(is_cr, _mm_cmpeq_epi8(next, lfs16));
            sum_cr = _mm_sub_epi8(sum_cr, is_cr);
            sum_lf = _mm_sub_epi8(sum_lf, _mm_cmpeq_epi8(here, lfs16));
            sum_pairs = _mm_sub_epi8(sum_pairs, pair);
            if (repair) {
                const __m128i after =
                    _mm_loadu_si128(reinterpret_cast<const __m128i *>(content + i + 2));
                const __m128i triple =
                    _mm_and_si128(_mm_and_si128(is_cr, _mm_cmpeq_epi8(next, crs16)),
                                  _mm_cmpeq_epi8(after, lfs16));
                sum_triples = _mm_sub_epi8(sum_triples, triple);
            }
            i += 16;
        } while (--blocks != 0);
        total_cr = _mm_add_epi64(total_cr, _mm_sad_epu8(sum_cr, zero));
        total_lf = _mm_add_epi64(total_lf, _mm_sad_epu8(sum_lf, zero));
        total_pairs = _mm_add_epi64(total_pairs, _mm_sad_epu8(sum_pairs, zero));
        total_triples = _mm_add_epi64(total_triples, _mm_sad_epu8(sum_triples, zero));
    }
    uint64_t lanes[2];
    _mm_storeu_si128(reinterpret_cast<__m128i *>(lanes), total_cr);
    counts.cr += static_cast<uint32_t>(lanes[0] + lanes[1]);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(lanes), total_lf);
    counts.lf += static_cast<uint32_t>(lanes[0] + lanes[1]);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(lanes), total_pairs);
    counts.pairs += static_cast<uint32_t>(lanes[0] + lanes[1]);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(lanes), total_triples);
    counts.triples += static_cast<uint32_t>(lanes[0] + lanes[1]);
    count_bytes_single(content, i, length, repair, counts);
}

// Copies sixteen bytes at a time up to the next newline byte; the portable path takes the tail.
__attribute__((target("sse2"))) static uint32_t write_sse2(const uint8_t *content, uint32_t length,
                                                           uint32_t from, uint8_t *out,
                                                           int32_t kind, bool repair) {
    const __m128i crs16 = _mm_set1_epi8(cr);
    const __m128i lfs16 = _mm_set1_epi8(lf);
    const uint8_t *at = content + from;
    const uint8_t *end = content + length;
    uint8_t *to = out;
    // A newline found in the block has its two look-ahead bytes inside the content.
    while (end - at >= 18) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        int marks = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(block, crs16), _mm_cmpeq_epi8(block, lfs16)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to), block);
        if (marks == 0) {
            at += 16;
            to += 16;
            continue;
        }
        uint32_t plain = static_cast<uint32_t>(__builtin_ctz(static_cast<unsigned>(marks)));
        at += plain;
        to += plain;
        at += newline_length(at, static_cast<uint32_t>(end - at), repair);
        if (kind == newline_windows) {
            to[0] = cr;
            to[1] = lf;
            to += 2;
        } else {
            *to++ = kind == newline_mac ? cr : lf;
        }
    }
    uint32_t written = static_cast<uint32_t>(to - out);
    return written +
           write_portable(content, length, static_cast<uint32_t>(at - content), to, kind, repair);
}
} // extern "C"
#define ENGINE_HAS_SSE2 1
#endif

NewlineScan scan_newlines(const uint8_t *content, uint32_t length, EnginePath path) {
    const int32_t kind = settings.output_kind;
    const bool repair = settings.repair_flag != 0;
    NewlineCounts counts = {};
#ifdef ENGINE_HAS_SSE2
    if (path == EnginePath::sse2)
        count_bytes_sse2(content, length, repair, &counts);
    else
#endif
        count_bytes_portable(content, length, repair, counts);
    (void)path;

    // Every 0Dh and 0Ah belongs to a newline; a pair and a repaired triple are one newline.
    uint64_t newlines = uint64_t{counts.cr} + counts.lf - counts.pairs;
    if (repair)
        newlines -= counts.triples;
    uint64_t width = kind == newline_windows ? 2 : 1;
    NewlineScan scan;
    scan.output_size = length - (uint64_t{counts.cr} + counts.lf) + newlines * width;
    if (kind == newline_windows)
        scan.changed = counts.cr != counts.pairs || counts.lf != counts.pairs;
    else if (kind == newline_mac)
        scan.changed = counts.lf != 0;
    else
        scan.changed = counts.cr != 0;
    scan.first_change = scan.changed ? find_first_change(content, length, kind, repair) : length;
    return scan;
}

uint32_t write_converted(const uint8_t *content, uint32_t length, uint32_t from, uint8_t *out,
                         EnginePath path) {
    const int32_t kind = settings.output_kind;
    const bool repair = settings.repair_flag != 0;
#ifdef ENGINE_HAS_SSE2
    if (path == EnginePath::sse2)
        return write_sse2(content, length, from, out, kind, repair);
#endif
    (void)path;
    return write_portable(content, length, from, out, kind, repair);
}

bool sse2_path_allowed(bool has_cpuid, uint32_t cpuid1_edx, uint32_t platform_id,
                       uint32_t major_version, uint32_t minor_version) {
    const uint32_t windows_9x = 1, windows_nt = 2;
    if (!has_cpuid || !(cpuid1_edx & (1u << 26)))
        return false;
    if (platform_id == windows_9x)
        return major_version > 4 || (major_version == 4 && minor_version >= 10);
    return platform_id == windows_nt && major_version >= 5;
}
