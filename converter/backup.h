// Backup copies of files about to be rewritten, and the start-up check of the backup folder.
#ifndef CONVERTER_BACKUP_H
#define CONVERTER_BACKUP_H

#include <windows.h>

#include <cstdint>

// Writes bytes (the file's old content) to the backup path of path and gives the copy the three
// times. The copy is written under a temporary name in the same folder and replaces an older
// copy only once it is complete. Returns false after printing one line for the backup path; the
// partial copy is then removed, and an older copy stays unless the last step, the move that
// follows its deletion, failed.
bool write_backup_copy(const char *path, const uint8_t *bytes, uint32_t size,
                       const FILETIME &creation, const FILETIME &last_access,
                       const FILETIME &last_write);

// In folder mode with backups on: makes the backup folder a full path (relative to the current
// folder) in settings, and answers true when it exists and is a folder; else prints its lines
// and returns false, settings then as they were or with the full path. True without a look in
// every other setting.
bool check_backup_folder();

#endif
