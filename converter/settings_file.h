// The settings file beside the program.
#ifndef CONVERTER_SETTINGS_FILE_H
#define CONVERTER_SETTINGS_FILE_H

// Applies every line of the settings file at path to settings. Returns false, after printing
// its own line, when the file cannot be opened.
bool load_settings_file(const char *path);

#endif
