#include "plugin/exports.h"
#include "plugin/plugin_state.h"

int __stdcall CreateREdit(int, int, int, int) {
    return 0;
}
int __stdcall _FreeREdit(int, int, int, int) {
    return 0;
}
int __stdcall REditFree(int, int, int, int) {
    return 0;
}
int __stdcall REditClear(int, int, int, int) {
    return 0;
}
int __stdcall SetREditMode(int, int, int, int) {
    return 0;
}
