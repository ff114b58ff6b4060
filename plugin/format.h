// Fonts and colours of the control: the selection's character format set from a script's
// arguments or through the system font dialog, the background and the IME composition colours.
#ifndef PLUGIN_FORMAT_H
#define PLUGIN_FORMAT_H

#include "plugin/exports.h"

LUMBRA_EXPORT int __stdcall SetREditFont(int faceVariable, int points, int colour, int effects);
LUMBRA_EXPORT int __stdcall SetREditFont2(int, int, int, int);
LUMBRA_EXPORT int __stdcall SetBackColor(int red, int green, int blue, int);
LUMBRA_EXPORT int __stdcall SetREditIMECol(int textColour, int backColour, int index, int);

#endif
