#include "converter/settings_file.h"

bool load_settings_file(const char *) { return true; }
