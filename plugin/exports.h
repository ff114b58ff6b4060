// How the functions that a script calls by name are declared. The export table names them
// with a leading underscore and their argument size (_CreateREdit@16 ...), as the runtime
// looks them up; see exports.def. Every one but MyCopyRight takes four 32-bit arguments,
// whatever it uses. Each module's header declares its own: control.h, text.h, stream.h,
// format.h and notice.h.
#ifndef PLUGIN_EXPORTS_H
#define PLUGIN_EXPORTS_H

#include <windows.h>

// Only exports.def exports them, so the table holds exactly the names the runtime expects.
#define LUMBRA_EXPORT extern "C"

#endif
