// The recursive folder walk.
#ifndef CONVERTER_WALK_H
#define CONVERTER_WALK_H

// Visits the folder at path (no trailing '\') and every folder below it, converting the files
// that match mask_list. Nothing in it is fatal; every problem gets its line and the walk goes on.
void walk_folder(const char *path);

#endif
