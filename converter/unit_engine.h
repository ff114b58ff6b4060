// Newline conversion of text stored in 16- or 32-bit code units (UTF-16, UTF-32), which a
// byte-order mark at its start names. Converting such text byte by byte would take the zero
// byte of every CR and LF unit for text and shift all that follows by one byte; here the units
// are read in the file's own width and byte order, and only newline units are rewritten, in
// that same width and order. The newline rule is the byte engine's (newline_rule.h).
#ifndef CONVERTER_UNIT_ENGINE_H
#define CONVERTER_UNIT_ENGINE_H

#include <cstdint>

#include "converter/engine.h"

// How a file's content stores its text, as its first bytes tell.
enum class TextEncoding : uint8_t {
    bytes,    // no byte-order mark of 16- or 32-bit units: Shift-JIS, UTF-8, anything else
    utf16_le, // FF FE
    utf16_be, // FE FF
    utf32_le, // FF FE 00 00
    utf32_be, // 00 00 FE FF
};

// The encoding whose byte-order mark content begins with. The UTF-32 marks are tested first,
// since UTF-16 LE's begins UTF-32 LE's. Everything without such a mark, UTF-16 without a mark
// included (it cannot be told from other bytes safely), is bytes. Never fails.
TextEncoding text_encoding(const uint8_t *content, uint32_t length);

// Bytes per code unit: 1 for bytes, 2 for UTF-16, 4 for UTF-32.
uint32_t unit_bytes(TextEncoding encoding);

// Whether content of length bytes is a whole number of encoding's units; text that is not is
// broken and is left alone by file conversion.
inline bool whole_units(TextEncoding encoding, uint32_t length) {
    return length % unit_bytes(encoding) == 0;
}

// Looks at the whole content in encoding's units without writing, converting to kind with the
// CR CR LF repair when repair is set: whether the result differs, the byte offset of the first
// newline to be rewritten (length if none) and the converted size in bytes. Bytes past the last
// whole unit are plain text; bytes are taken as one-byte units. Reads no byte past content +
// length. Never fails. The SSE2 path, which only finds newline units faster, may run only where
// the byte engine's may.
NewlineScan scan_units(const uint8_t *content, uint32_t length, TextEncoding encoding, int32_t kind,
                       bool repair, EnginePath path);

// The byte offset of the first newline that converting to kind rewrites, length if none: the
// scan's first_change, found without looking past it (nor counting), for file conversion, which
// needs the size only where the content may grow past what it can hold. Reads no byte past
// content + length. Never fails.
uint32_t first_unit_change(const uint8_t *content, uint32_t length, TextEncoding encoding,
                           int32_t kind, bool repair, EnginePath path);

// Writes the converted content from byte offset from (a first change that scan_units or
// first_unit_change gave, 0,
// or where the last call stopped) into out, room bytes at most, whole units and whole newlines
// only, and moves from past what it took. Returns the bytes written; the content is done when
// from reaches length. Room for two units (8 bytes) always takes at least one unit or newline.
// The bytes before the first from are the content's own. Writes nothing past out + room, reads
// nothing past content + length. Never fails.
uint32_t write_units(const uint8_t *content, uint32_t length, uint32_t &from, uint8_t *out,
                     uint32_t room, TextEncoding encoding, int32_t kind, bool repair,
                     EnginePath path);

#endif
