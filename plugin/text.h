// Text transfer between script variables and the control, and the control's counts.
#ifndef PLUGIN_TEXT_H
#define PLUGIN_TEXT_H

#include "plugin/exports.h"

LUMBRA_EXPORT int __stdcall REditSetText(int variable, int, int, int);
LUMBRA_EXPORT int __stdcall REditGetText(int variable, int, int, int);
LUMBRA_EXPORT int __stdcall GetREditLength(int variable, int, int, int);
LUMBRA_EXPORT int __stdcall GetREditLines(int variable, int, int, int);

#endif
