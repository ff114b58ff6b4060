// The walk's matcher turned off, for a test build of eolfix: every pattern gets its own search.
// Linked in front of the libraries, it keeps listing_match.cpp out, as failing_memory.cpp does.
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
