// The walk's matcher turned off, for a test build of eolfix: no pattern is answered from the
// folder's one listing, so every pattern gets its own system search and the subfolders theirs.
// Linked in front of the converter's libraries, it keeps converter/listing_match.cpp's object
// out of the link, as failing_memory.cpp does for memory.cpp.
#include "converter/listing_match.h"

bool is_listing_pattern(const char *) {
    return false;
}

bool listing_entry_matches(const char *, const char *, const char *, LeadBytePredicate) {
    return false;
}

bool is_faithful_entry(const char *, const char *, LeadBytePredicate) {
    return false;
}
