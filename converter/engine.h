// Newline conversion of one file's content held in memory, block by block. Every path follows
// the rule of newline_rule.h; the tests hold it against the byte-at-a-time reference engine.
#ifndef CONVERTER_ENGINE_H
#define CONVERTER_ENGINE_H

#include <cstdint>

// Which code does the work. The SSE2 path may run only where the processor has SSE2 and the
// system saves its state (processor.h); both give the same bytes.
enum class EnginePath { portable, sse2 };

// In every call, kind is the target NewlineKind (1, 2 or 3) and repair takes 0Dh 0Dh 0Ah as one
// newline. No call reads a byte past content + length, and none fails.

// Where the first newline begins that converting rewrites; length when the content is in the
// target form already.
uint32_t find_first_change(const uint8_t *content, uint32_t length, int32_t kind, bool repair,
                           EnginePath path);

// The converted content's exact size; past 4 GiB it cannot be held.
uint64_t converted_size(const uint8_t *content, uint32_t length, int32_t kind, bool repair,
                        EnginePath path);

// Both figures for one content, as the UTF engine's scan gives them.
struct NewlineScan {
    bool changed;          // the converted content differs from the content
    uint32_t first_change; // where the first newline to be rewritten begins; length if unchanged
    uint64_t output_size;  // the converted content's exact size
};

// Block-wise stores may pass the end of the converted bytes by up to this many bytes.
enum : uint32_t { converted_slack = 16 };

// The write in slices, through one block of a fixed size, for content of any length:
//
//     uint32_t from = find_first_change(...);
//     while (from < length) {
//         uint32_t bytes = write_slice(content, length, from, block, room, ...);
//         ... the block's first bytes are the converted content's next ones ...
//     }
//
// A slice begins at from, which must be where a newline may begin (0, a first_change, or where
// the slice before ended), and ends where a newline or a plain byte ends, never inside a
// newline; the look-ahead still reads the bytes past the slice. The slices together are the
// converted content from from on, byte for byte, whatever the room; a room of UINT32_MAX takes
// it all in one slice, into a block of the converted size from from on plus converted_slack.
enum : uint32_t { slice_minimum = 64 };

// Writes the next slice into out, which holds room bytes (at least slice_minimum, any block
// store included), and moves from to where it ended (length after the last slice, which may be
// empty only when from was length already). Returns how many bytes of out belong to the
// converted content; the rest of out is left with no meaning.
uint32_t write_slice(const uint8_t *content, uint32_t length, uint32_t &from, uint8_t *out,
                     uint32_t room, int32_t kind, bool repair, EnginePath path);

#endif
