// The settings file beside the program.
#ifndef CONVERTER_SETTINGS_FILE_H
#define CONVERTER_SETTINGS_FILE_H

struct Settings;

// Applies every line of the settings file at path to record. Returns false, after printing its
// own line, when the file cannot be opened; record is then as it was.
bool load_settings_file(const char *path, Settings &record);

#endif
