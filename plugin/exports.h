// The functions that a script calls by name. The export table names them with a leading
// underscore and their argument size (_CreateREdit@16 ...), as the runtime looks them up; see
// exports.def. Every one but MyCopyRight takes four 32-bit arguments, whatever it uses.
#ifndef PLUGIN_EXPORTS_H
#define PLUGIN_EXPORTS_H

#include <windows.h>

// Only exports.def exports them, so the table holds exactly the names the runtime expects.
#define LUMBRA_EXPORT extern "C"

LUMBRA_EXPORT int __stdcall CreateREdit(int info, int objectNumber, int, int);
LUMBRA_EXPORT int __stdcall FreeREditAndLibrary(int, int, int, int);
LUMBRA_EXPORT int __stdcall REditFree(int, int, int, int);
LUMBRA_EXPORT int __stdcall REditClear(int, int, int, int);
LUMBRA_EXPORT int __stdcall SetREditMode(int mode, int, int, int);
LUMBRA_EXPORT int __stdcall REditSetText(int variable, int, int, int);
LUMBRA_EXPORT int __stdcall REditGetText(int variable, int, int, int);
LUMBRA_EXPORT int __stdcall GetREditLength(int variable, int, int, int);
LUMBRA_EXPORT int __stdcall GetREditLines(int variable, int, int, int);
LUMBRA_EXPORT int __stdcall REditRead(int, int fileName, int formatFlag, int);
LUMBRA_EXPORT int __stdcall REditWrite(int, int fileName, int formatFlag, int);
LUMBRA_EXPORT int __stdcall SetREditFont(int faceVariable, int points, int colour, int effects);
LUMBRA_EXPORT int __stdcall SetREditFont2(int, int, int, int);
LUMBRA_EXPORT int __stdcall SetBackColor(int red, int green, int blue, int);
LUMBRA_EXPORT int __stdcall SetREditIMECol(int textColour, int backColour, int index, int);
LUMBRA_EXPORT int MyCopyRight();

#endif
