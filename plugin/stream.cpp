#include "plugin/exports.h"
#include "plugin/plugin_state.h"

int __stdcall REditRead(int, int, int, int) {
    return 0;
}
int __stdcall REditWrite(int, int, int, int) {
    return 0;
}
