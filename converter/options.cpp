#include "converter/options.h"

bool apply_options(int, char **) { return true; }
