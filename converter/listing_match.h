// Which mask patterns the one listing of a folder answers, and how an entry of that listing
// matches them, as the system's own search of that pattern would.
#ifndef CONVERTER_LISTING_MATCH_H
#define CONVERTER_LISTING_MATCH_H

#include "converter/lead_byte.h"

// True for a pattern whose meaning is plain: "*", "*.*", or "*." followed by one or more ASCII
// letters and digits. Every other pattern (with '?', other wildcards, a folder part, a
// non-ASCII extension, trailing dots or blanks) needs its own system search.
bool is_listing_pattern(const char *pattern);

// True when the entry with long_name and short_name (empty when it has none) matches pattern,
// for which is_listing_pattern holds: "*" and "*.*" match every entry; "*.ext" an entry whose
// long or short name ends in '.' and ext, A to Z folded to a to z, the '.' starting a
// character (walked with is_lead_byte). This is what the system's search does with the
// pattern: its '*' spans dots too (*.htm finds x.y.htm), and a.html is found through its short
// name A~1.HTM.
bool listing_entry_matches(const char *pattern, const char *long_name, const char *short_name,
                           LeadBytePredicate is_lead_byte);

// True when the listed form of an entry can stand for the name that the system's search
// compares. False when long_name holds '?' as a character, the substitute listed for a
// character that the ANSI code page cannot hold (Wine lists a.htḿ as a.ht? and an emoji as
// ??), or when its last extension is of ASCII letters and digits but short_name (when not
// empty) has another one: the system derives the short name from its own name, putting '_'
// for a character the code page has no place for, so a look-alike that the code page gave
// instead (Wine lists a.ç as a.c, short name A~~~~NI0._) shows there. Short names keep the
// first three characters of the extension (a.html is A~1.HTM).
bool is_faithful_entry(const char *long_name, const char *short_name,
                       LeadBytePredicate is_lead_byte);

#endif
