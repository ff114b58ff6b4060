// Backup copies of files about to be rewritten, and the start-up check of the backup folder.
#ifndef CONVERTER_BACKUP_H
#define CONVERTER_BACKUP_H

#include <windows.h>

#include <cstdint>

// Writes bytes (the file's old content) to the backup path of path and gives the copy the three
// times. Returns false after printing one line for the failure; a copy already created stays.
bool write_backup_copy(const char *path, const uint8_t *bytes, uint32_t size,
                       const FILETIME &creation, const FILETIME &last_access,
                       const FILETIME &last_write);

// In folder mode with backups on: true when the backup folder exists and is a folder; else
// prints its lines and returns false. True without a look in every other setting.
bool check_backup_folder();

#endif
