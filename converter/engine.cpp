#include "converter/engine.h"

#include <cstring>

#include "converter/newline_rule.h"

namespace {

const uint8_t cr = unit_cr;
const uint8_t lf = unit_lf;

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

// Nonzero when some byte of word lies below 0Eh, as every newline byte does; text has few
// others there, so a word that passes is plain after three operations.
inline uint32_t low_bytes(uint32_t word) {
    return (word - 0x0E0E0E0Eu) & ~word & 0x80808080u;
}

// The rule's length of the newline at at (a 0Dh or 0Ah), rest bytes from at to the end; the
// bytes past the end are never read.
inline uint32_t newline_at(const uint8_t *at, uint32_t rest, bool repair) {
    return newline_units(at[0], rest > 1 ? at[1] : 0, rest > 2 ? at[2] : 0, rest, repair);
}

// What kind writes for one newline, taken from the rule once per call.
struct NewlineForm {
    uint8_t first, second; // second counts only for a two-unit newline
    uint32_t units;
    explicit NewlineForm(int32_t kind)
        : first(static_cast<uint8_t>(target_newline_unit(kind, 0))),
          second(static_cast<uint8_t>(target_newline_unit(kind, 1))),
          units(target_newline_units(kind)) {}
};

// Stores the newline at out and returns the place after it. The branch is on the target alone,
// which no file changes: it folds away where kind is a constant and is always foreseen where not.
inline uint8_t *put_newline(uint8_t *out, const NewlineForm &form) {
    out[0] = form.first;
    if (form.units == 2)
        out[1] = form.second;
    return out + form.units;
}

// Follows the newlines from at, where one begins or a plain byte stands, by the rule. True with
// at on the first newline that does not stay; false with at on the first place at or past stop
// where a newline may begin (length at the end).
bool walk_to_change(const uint8_t *content, uint32_t length, uint32_t &at, uint32_t stop,
                    int32_t kind, bool repair) {
    while (at < stop) {
        if (!is_newline_unit(content[at])) {
            ++at;
            continue;
        }
        uint32_t units = newline_at(content + at, length - at, repair);
        if (!newline_stays(content[at], units, kind))
            return true;
        at += units;
    }
    return false;
}

// How often each newline byte and each run of them occurs. By the rule a 0Dh 0Ah is one
// newline of two units and, with the repair, 0Dh 0Dh 0Ah one of three (which holds a 0Dh 0Ah
// of its own); every other 0Dh or 0Ah is one of one. So the content holds cr + lf - pairs -
// triples newlines, and the block-wise counts below need no look at where a newline begins.
struct NewlineCounts {
    uint32_t cr;      // 0Dh bytes
    uint32_t lf;      // 0Ah bytes
    uint32_t pairs;   // newlines of two units: 0Dh 0Ah
    uint32_t triples; // newlines of three units: 0Dh 0Dh 0Ah, with the repair only
};

// The counts of the bytes from i on, one at a time: the tail that no word or block covers.
void count_bytes_single(const uint8_t *content, uint32_t i, uint32_t length, bool repair,
                        NewlineCounts &counts) {
    for (; i < length; ++i) {
        if (content[i] == lf) {
            ++counts.lf;
        } else if (content[i] == cr) {
            ++counts.cr;
            uint32_t units = newline_at(content + i, length - i, repair);
            counts.pairs += units == 2;
            counts.triples += units == 3;
        }
    }
}

// The sum of the four byte lanes of lanes.
inline uint32_t sum_lanes(uint32_t lanes) {
    uint32_t halves = (lanes & 0x00FF00FFu) + ((lanes >> 8) & 0x00FF00FFu);
    return (halves + (halves >> 16)) & 0xFFFFu;
}

// Eight bytes a step, counted into byte lanes. A step adds at most 2 to a lane, so 127 steps
// (254) are summed before a lane can overflow. A run is counted at its first byte: 0Dh 0Ah is
// a two-unit newline by the rule exactly where a 0Dh is followed by 0Ah, 0Dh 0Dh 0Ah with the
// repair a three-unit one exactly where the bytes read so (newline_units). A step without a
// newline byte starts none and is passed over after one test; a step with one is counted
// whole, without a branch on which word holds it.
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

// The converted size from the counts: every newline comes out as kind's units.
uint64_t size_from_counts(uint32_t length, const NewlineCounts &counts, int32_t kind) {
    uint64_t newlines = uint64_t{counts.cr} + counts.lf - counts.pairs - counts.triples;
    return length - (uint64_t{counts.cr} + counts.lf) + newlines * target_newline_units(kind);
}

// Where the rule must look again after a sweep found [at, clean_end) clean, at being where a
// newline may begin. What a clean stretch proves, by the rule, for each target:
// - Windows keeps only 0Dh 0Ah. Clean: every 0Dh is followed by 0Ah and every 0Ah but one at
//   at follows a 0Dh (a sweep begins only where no 0Ah stands). So every newline beginning
//   there is a 0Dh 0Ah, which stays; a 0Dh in the last byte takes the first 0Ah after it.
// - Macintosh keeps only a lone 0Dh. Clean: no 0Ah. Every newline beginning two bytes or more
//   before the end is a lone 0Dh (it would need an 0Ah to be longer) and stays; the last two
//   bytes may begin a 0Dh 0Ah or a repaired 0Dh 0Dh 0Ah.
// - UNIX keeps only a bare 0Ah. Clean: no 0Dh, so every newline is a bare 0Ah and stays.
uint32_t after_clean(const uint8_t *content, uint32_t at, uint32_t clean_end, int32_t kind) {
    if (kind == newline_windows)
        return clean_end > at && content[clean_end - 1] == cr ? clean_end + 1 : clean_end;
    if (kind == newline_mac)
        return clean_end - at >= 2 ? clean_end - 2 : at;
    return clean_end;
}

// Nonzero when the eight bytes at here are not clean for kind (see find_change_words); for
// Windows it reads the byte after them too.
template <int32_t kind> inline uint32_t step_faults(const uint8_t *here) {
    uint32_t first = load_word(here);
    uint32_t second = load_word(here + 4);
    uint32_t low = low_bytes(first) | low_bytes(second);
    if (kind == newline_windows)
        low |= here[8] == lf;
    if (low == 0)
        return 0;
    if (kind == newline_windows)
        return (zero_bytes(first ^ 0x0D0D0D0Du) ^ zero_bytes(load_word(here + 1) ^ 0x0A0A0A0Au)) |
               (zero_bytes(second ^ 0x0D0D0D0Du) ^ zero_bytes(load_word(here + 5) ^ 0x0A0A0A0Au));
    const uint32_t kept_not = kind == newline_mac ? 0x0A0A0A0Au : 0x0D0D0D0Du;
    return zero_bytes(first ^ kept_not) | zero_bytes(second ^ kept_not);
}

// 256 bytes a batch: long enough that its one branch costs little, short enough that a fault
// costs little to find again.
const uint32_t batch_steps = 32;

// step_faults for a step of a batch: for Windows the 0Ah after a plain step is left to the next
// step, which then looks at the byte before an 0Ah in its first byte (a sweep never begins on
// an 0Ah, so that byte lies inside the content). Nonzero for a step that is clean by
// step_faults only where the step before is not; with the last step taken both ways, a batch
// passes exactly where step_faults passes each step, and a plain step reads one byte less.
template <int32_t kind> inline uint32_t batch_step_faults(const uint8_t *here) {
    if (kind != newline_windows)
        return step_faults<kind>(here);
    uint32_t first = load_word(here);
    uint32_t second = load_word(here + 4);
    if ((low_bytes(first) | low_bytes(second)) == 0)
        return 0;
    return (zero_bytes(first ^ 0x0D0D0D0Du) ^ zero_bytes(load_word(here + 1) ^ 0x0A0A0A0Au)) |
           (zero_bytes(second ^ 0x0D0D0D0Du) ^ zero_bytes(load_word(here + 5) ^ 0x0A0A0A0Au)) |
           (here[0] == lf && here[-1] != cr);
}

// Steps of eight bytes while each is clean for kind (see after_clean), then the rule over the
// step that is not. A step is clean for Windows when every 0Dh in it has an 0Ah after it and
// every 0Ah after it a 0Dh before it, for Macintosh when it holds no 0Ah, for UNIX when it holds
// no 0Dh; a step without a newline byte (and for Windows without an 0Ah after it) is clean
// after one test.
template <int32_t kind>
uint32_t find_change_words(const uint8_t *content, uint32_t length, bool repair) {
    uint32_t at = 0;
    while (at < length) {
        // An 0Ah where a newline begins is for the rule: a Windows sweep cannot see it.
        if (kind == newline_windows && content[at] == lf) {
            if (walk_to_change(content, length, at, at + 1, kind, repair))
                return at;
            continue;
        }
        uint32_t step = at;
        // Batches of steps with one test each, as a run of clean steps is the common case; the
        // steps of a batch that is not clean are then taken one by one.
        for (; length - step >= 9 + 8 * batch_steps; step += 8 * batch_steps) {
            uint32_t faults = 0;
            const uint8_t *here = content + step;
            for (const uint8_t *last = here + 8 * (batch_steps - 1); here != last; here += 8)
                faults |= batch_step_faults<kind>(here);
            // The last step both ways: for the 0Ah after the batch, and for one in its first byte.
            faults |= step_faults<kind>(here) | batch_step_faults<kind>(here);
            if (faults != 0)
                break;
        }
        for (; length - step >= 9; step += 8)
            if (step_faults<kind>(content + step) != 0)
                break;
        uint32_t stop = length - step >= 9 ? step + 8 : length;
        at = after_clean(content, at, step, kind);
        if (walk_to_change(content, length, at, stop, kind, repair))
            return at;
    }
    return length;
}

uint32_t find_change_portable(const uint8_t *content, uint32_t length, int32_t kind, bool repair) {
    if (kind == newline_mac)
        return find_change_words<newline_mac>(content, length, repair);
    if (kind == newline_unix)
        return find_change_words<newline_unix>(content, length, repair);
    return find_change_words<newline_windows>(content, length, repair);
}

// Copies eight bytes a step, whole words even where a newline byte lies inside one: the bytes
// past it are written over by what follows. Each step that begins before stop is taken whole:
// up to 10 bytes (7 plain ones and a newline). Moves from to where it ended.
template <int32_t kind>
uint32_t write_words(const uint8_t *content, uint32_t length, uint32_t &from, uint32_t stop,
                     uint8_t *out, bool repair) {
    const uint8_t *at = content + from;
    const uint8_t *end = content + length;
    const uint8_t *last = content + stop;
    uint8_t *to = out;
    const NewlineForm form(kind);
    // The newline after the plain bytes is read as one word, ending by at + 11.
    while (at < last && end - at >= 11) {
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
        at += plain + newline_bytes_in_word(load_word(at + plain), repair);
        to = put_newline(to + plain, form);
    }
    while (at < last) {
        if (!is_newline_unit(*at)) {
            *to++ = *at++;
            continue;
        }
        at += newline_at(at, static_cast<uint32_t>(end - at), repair);
        to = put_newline(to, form);
    }
    from = static_cast<uint32_t>(at - content);
    return static_cast<uint32_t>(to - out);
}

uint32_t write_portable(const uint8_t *content, uint32_t length, uint32_t &from, uint32_t stop,
                        uint8_t *out, int32_t kind, bool repair) {
    if (kind == newline_mac)
        return write_words<newline_mac>(content, length, from, stop, out, repair);
    if (kind == newline_unix)
        return write_words<newline_unix>(content, length, from, stop, out, repair);
    return write_words<newline_windows>(content, length, from, stop, out, repair);
}

} // namespace

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>

// Only these functions hold SSE2 instructions, and only after the platform edge has checked
// that they may run. C names keep "_sse2" at the very end of their symbols.
extern "C" {

// Sixteen bytes at a time, with byte counters that take 1 a block and are summed every 255
// blocks, before they can overflow; the runs are counted as in count_bytes_portable.
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

// Four blocks of sixteen bytes a step while each step is clean for kind, with one test a step
// (the same sweep as find_change_words), then the rule over the step that is not.
__attribute__((target("sse2"))) static uint32_t
find_change_sse2(const uint8_t *content, uint32_t length, int32_t kind, bool repair) {
    const __m128i crs16 = _mm_set1_epi8(cr);
    const __m128i lfs16 = _mm_set1_epi8(lf);
    uint32_t at = 0;
    while (at < length) {
        if (kind == newline_windows && content[at] == lf) {
            if (walk_to_change(content, length, at, at + 1, kind, repair))
                return at;
            continue;
        }
        uint32_t step = at;
        // The look-ahead load of the last block ends at step + 65.
        for (; length - step >= 65; step += 64) {
            const __m128i *here = reinterpret_cast<const __m128i *>(content + step);
            const __m128i *next = reinterpret_cast<const __m128i *>(content + step + 1);
            __m128i faults = _mm_setzero_si128();
            if (kind == newline_windows) {
                for (int i = 0; i < 4; ++i)
                    faults = _mm_or_si128(
                        faults, _mm_xor_si128(_mm_cmpeq_epi8(_mm_loadu_si128(here + i), crs16),
                                              _mm_cmpeq_epi8(_mm_loadu_si128(next + i), lfs16)));
            } else {
                const __m128i kept_not = kind == newline_mac ? lfs16 : crs16;
                for (int i = 0; i < 4; ++i)
                    faults =
                        _mm_or_si128(faults, _mm_cmpeq_epi8(_mm_loadu_si128(here + i), kept_not));
            }
            if (_mm_movemask_epi8(faults) != 0)
                break;
        }
        uint32_t stop = length - step >= 65 ? step + 64 : length;
        at = after_clean(content, at, step, kind);
        if (walk_to_change(content, length, at, stop, kind, repair))
            return at;
    }
    return length;
}

// Copies sixteen bytes at a time up to the next newline byte; the portable path takes the tail.
// Each step that begins before stop is taken whole: up to 18 bytes (15 plain ones and a
// newline). Moves from to where it ended.
__attribute__((target("sse2"))) static uint32_t write_sse2(const uint8_t *content, uint32_t length,
                                                           uint32_t *from, uint32_t stop,
                                                           uint8_t *out, int32_t kind,
                                                           bool repair) {
    const __m128i crs16 = _mm_set1_epi8(cr);
    const __m128i lfs16 = _mm_set1_epi8(lf);
    const uint8_t *at = content + *from;
    const uint8_t *end = content + length;
    const uint8_t *last = content + stop;
    uint8_t *to = out;
    const NewlineForm form(kind);
    // A newline found in the block has its two look-ahead bytes inside the content.
    while (at < last && end - at >= 18) {
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
        // The rule's branches follow the content here: where the newlines repeat, as they mostly
        // do, that is cheaper than the word form's longer chain from one newline to the next.
        at += plain;
        at += newline_at(at, static_cast<uint32_t>(end - at), repair);
        to = put_newline(to + plain, form);
    }
    uint32_t written = static_cast<uint32_t>(to - out);
    *from = static_cast<uint32_t>(at - content);
    return written + write_portable(content, length, *from, stop, to, kind, repair);
}
} // extern "C"
#define ENGINE_HAS_SSE2 1
#endif

uint32_t find_first_change(const uint8_t *content, uint32_t length, int32_t kind, bool repair,
                           EnginePath path) {
#ifdef ENGINE_HAS_SSE2
    if (path == EnginePath::sse2)
        return find_change_sse2(content, length, kind, repair);
#endif
    (void)path;
    return find_change_portable(content, length, kind, repair);
}

uint64_t converted_size(const uint8_t *content, uint32_t length, int32_t kind, bool repair,
                        EnginePath path) {
    NewlineCounts counts = {};
#ifdef ENGINE_HAS_SSE2
    if (path == EnginePath::sse2)
        count_bytes_sse2(content, length, repair, &counts);
    else
#endif
        count_bytes_portable(content, length, repair, counts);
    (void)path;
    return size_from_counts(length, counts, kind);
}

namespace {

// How far past its stop a write may read: a step that begins before it is taken whole.
const uint32_t slice_overrun = 17;

uint32_t write_until(const uint8_t *content, uint32_t length, uint32_t &from, uint32_t stop,
                     uint8_t *out, int32_t kind, bool repair, EnginePath path) {
#ifdef ENGINE_HAS_SSE2
    if (path == EnginePath::sse2)
        return write_sse2(content, length, &from, stop, out, kind, repair);
#endif
    (void)path;
    return write_portable(content, length, from, stop, out, kind, repair);
}

} // namespace

uint32_t write_slice(const uint8_t *content, uint32_t length, uint32_t &from, uint8_t *out,
                     uint32_t room, int32_t kind, bool repair, EnginePath path) {
    // A step that begins before stop takes up to slice_overrun bytes more, and no byte or
    // newline comes out longer than the target's units: so the bytes written stay within room,
    // and the block stores within their slack.
    const uint32_t units = target_newline_units(kind);
    const uint32_t taken = (room - converted_slack) / units - slice_overrun;
    const uint32_t stop = length - from > taken ? from + taken : length;
    return write_until(content, length, from, stop, out, kind, repair, path);
}
