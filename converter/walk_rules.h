// The walk's decisions that need no system call: entry classification and path joining.
#ifndef CONVERTER_WALK_RULES_H
#define CONVERTER_WALK_RULES_H

#include <cstddef>
#include <cstdint>

#include "converter/lead_byte.h"

// The longest path, terminating zero included, that the ANSI file functions take.
enum : int { path_buffer_size = 260 };

enum class EntryClass {
    listed,              // goes into the folder's file list
    too_large,           // "skip too large file : "
    passed_over,         // a folder a pattern happened to match: silently ignored
    skipped_by_attribute // "skip file by attribute : "
};

// Classifies an entry of a pattern search by the low byte of its attributes and the high
// 32 bits of its size.
EntryClass classify_entry(uint32_t attributes, uint32_t size_high);

// True for a subfolder the walk enters: the directory bit set, and not "." or "..".
bool is_subfolder(uint32_t attributes, const char *name);

// Writes folder, '\' and name into path (size bytes). False, with path empty, when it would
// not fit.
bool join_path(char *path, size_t size, const char *folder, const char *name);

// The length of path's folder part: up to and including its last '\' or '/', with double-byte
// characters taken as units, so a trail byte 5Ch never counts. 0 when there is none.
size_t folder_part_length(const char *path, LeadBytePredicate is_lead_byte);

#endif
