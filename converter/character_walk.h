// Walks over a text in whole characters of the ANSI code page, for any lead-byte rule:
// where a double-byte character's trail byte may equal '\' (the kanji 95h 5Ch), only a walk
// from the text's start can tell a separator from half a character. Platform-free.
#ifndef CONVERTER_CHARACTER_WALK_H
#define CONVERTER_CHARACTER_WALK_H

#include <cstddef>

#include "converter/lead_byte.h"

// The length of the longest start of text's first length bytes that ends between two
// characters: length, or one byte less when a lead byte stands last, its trail byte cut off.
size_t whole_character_length(const char *text, size_t length, LeadBytePredicate is_lead_byte);

// The last character of the zero-terminated text that is a single byte found in bytes; null
// when there is none. A trail byte is never taken for one, and a lead byte in the last place
// ends the walk without reading past the text.
const char *find_last_character(const char *text, const char *bytes,
                                LeadBytePredicate is_lead_byte);

#endif
