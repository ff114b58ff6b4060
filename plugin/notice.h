// The plug-in's notice, the one box a script can ask for.
#ifndef PLUGIN_NOTICE_H
#define PLUGIN_NOTICE_H

#include "plugin/exports.h"

// _MyCopyRight_: shows the notice with no owner window and answers what the box answers (1
// when closed with OK); works with or without a control. Exported without a size suffix.
LUMBRA_EXPORT int MyCopyRight();

#endif
