// What one newline is and what it becomes: the rule every path of the engine follows, over code
// units of any width (the bytes of Shift-JIS and of every file without a byte-order mark, the
// 16- and 32-bit units of UTF-16 and UTF-32). Fast paths may find newline units their own way,
// but a newline's length, whether it stays, and what is written for it come from here alone.
#ifndef CONVERTER_NEWLINE_RULE_H
#define CONVERTER_NEWLINE_RULE_H

#include <cstdint>

#include "converter/settings.h"

enum : uint32_t { unit_cr = 0x0D, unit_lf = 0x0A };

// Whether a unit can begin a newline: every newline begins with CR or LF.
inline bool is_newline_unit(uint32_t unit) {
    return unit == unit_cr || unit == unit_lf;
}

// How many units the newline beginning with first (a CR or an LF) takes, given the two units
// after it; rest counts the units from first to the end, so a second or third past the end is
// never looked at. LF alone is one newline; CR LF is one; CR CR LF is one when repair is on;
// any other CR is one alone.
inline uint32_t newline_units(uint32_t first, uint32_t second, uint32_t third, uint32_t rest,
                              bool repair) {
    if (first == unit_lf)
        return 1;
    if (repair && rest >= 3 && second == unit_cr && third == unit_lf)
        return 3;
    return rest >= 2 && second == unit_lf ? 2 : 1;
}

// Whether the newline of `units` units beginning with first is already the target kind's, so
// that converting leaves it as it is. A repaired CR CR LF always changes.
inline bool newline_stays(uint32_t first, uint32_t units, int32_t kind) {
    if (kind == newline_mac)
        return units == 1 && first == unit_cr;
    if (kind == newline_unix)
        return units == 1 && first == unit_lf;
    return units == 2;
}

// How many units kind writes for one newline.
inline uint32_t target_newline_units(int32_t kind) {
    return kind == newline_windows ? 2 : 1;
}

// The units kind writes for one newline, in order; only the first target_newline_units(kind)
// count.
inline uint32_t target_newline_unit(int32_t kind, uint32_t index) {
    if (kind == newline_mac)
        return unit_cr;
    if (kind == newline_unix)
        return unit_lf;
    return index == 0 ? unit_cr : unit_lf;
}

// newline_units for byte units where at least three remain from first (a CR or an LF), read
// as one little-endian word (first in the low byte): the same rule without a branch, for the
// byte engine's inner loops, where mixed newlines would make every branch a guess. An LF gives
// 1, as neither test can hold for it; a CR gives 2 when an LF follows, 3 when CR LF follows
// with repair on (the tests exclude each other), and 1 otherwise.
inline uint32_t newline_bytes_in_word(uint32_t word, bool repair) {
    return 1 + ((word & 0xFFFFu) == 0x0A0Du) +
           2 * (static_cast<uint32_t>(repair) & ((word & 0xFFFFFFu) == 0x0A0D0Du));
}

#endif
