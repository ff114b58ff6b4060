// Naming rules of backup copies: platform-free, over bytes.
#ifndef CONVERTER_BACKUP_NAME_H
#define CONVERTER_BACKUP_NAME_H

#include <cstddef>
#include <cstdint>

#include "converter/lead_byte.h"

enum : int {
    backup_description_size = 128,
    backup_path_size = 520, // a target of up to 260 characters and a base name of up to 260
};

// The backup setting comes in as the settings record's three fields: backups_on (backup_flag),
// target (backup_target: an extension when it begins with '.', else a folder path ending in
// '\') and compare_length (backup_compare_length).

// Writes the backup path of the file at path for target into name (size bytes). Extension
// mode: the whole path followed by the target. Folder mode: the target followed by the base
// name, found after the last '\' (or, with none, the last '/') taking double-byte characters
// as units. False, with name empty, when the result would not fit.
bool make_backup_name(const char *path, const char *target, char *name, size_t size,
                      LeadBytePredicate is_lead_byte);

// True when the walk's folder path names the backup folder (folder mode, backups on), compared
// over compare_length bytes with A to Z folded to a to z.
bool is_backup_folder(const char *path, bool backups_on, const char *target,
                      int32_t compare_length);

// The one-line description of the backup setting, as the usage screen shows it. A target too
// long for the 128-byte buffer is cut between two characters, and the closing quote still
// follows it. Never fails; the text lives until the next call.
const char *describe_backup(bool backups_on, const char *target, LeadBytePredicate is_lead_byte);

#endif
