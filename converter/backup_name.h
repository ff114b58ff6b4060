// Naming rules of backup copies: platform-free, over bytes.
#ifndef CONVERTER_BACKUP_NAME_H
#define CONVERTER_BACKUP_NAME_H

#include <cstddef>

#include "converter/lead_byte.h"

enum : int {
    backup_description_size = 128,
    backup_path_size = 520, // a target of up to 260 characters and a base name of up to 260
};

// The length of the longest start of text's first length bytes that ends between two
// characters: length, or one byte less when a lead byte stands last, its trail byte cut off.
// Walks from the start, since a byte alone cannot tell a lead byte from a trail byte.
size_t whole_character_length(const char *text, size_t length, LeadBytePredicate is_lead_byte);

// Writes the backup path of the file at path into name (size bytes). Extension mode: the
// whole path followed by the target. Folder mode: the target followed by the base name, found
// after the last '\' (or, with none, the last '/') taking double-byte characters as units.
// False, with name empty, when the result would not fit.
bool make_backup_name(const char *path, char *name, size_t size, LeadBytePredicate is_lead_byte);

// True when the walk's folder path names the backup folder (folder mode, backups on), compared
// over backup_compare_length bytes with A to Z folded to a to z.
bool is_backup_folder(const char *path);

// The one-line description of the backup setting in settings, as the usage screen shows it.
// A target too long for the 128-byte buffer is cut between two characters, and the closing
// quote still follows it. Never fails.
const char *describe_backup(LeadBytePredicate is_lead_byte);

#endif
