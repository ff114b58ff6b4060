// Naming rules of backup copies: platform-free, over bytes.
#ifndef CONVERTER_BACKUP_NAME_H
#define CONVERTER_BACKUP_NAME_H

enum : int { backup_description_size = 128 };

// The one-line description of the backup setting in settings, as the usage screen shows it.
// A description that would not fit its 128-byte buffer is cut there. Never fails.
const char *describe_backup();

#endif
