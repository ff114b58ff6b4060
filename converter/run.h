// The run driver: settings, options, mask, backup check, walk, count.
#ifndef CONVERTER_RUN_H
#define CONVERTER_RUN_H

// Runs the program with its command line; returns the exit code, 0 after a completed walk and
// 1 when the run stops before it.
int run(int argc, char **argv);

#endif
