// Command-line options and the usage screen.
#ifndef CONVERTER_OPTIONS_H
#define CONVERTER_OPTIONS_H

// Applies the arguments after the program's own to settings. Returns false when the run must
// stop with exit code 1 (usage screen or an illegal option, already printed).
bool apply_options(int argc, char **argv);

#endif
