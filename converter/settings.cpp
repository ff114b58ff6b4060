#include "converter/settings.h"

// Constant-initialised, both of them: the program has no constructor list to run.
NameListEntries mask_list;
Settings settings;
