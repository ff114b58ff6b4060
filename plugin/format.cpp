#include "plugin/exports.h"
#include "plugin/plugin_state.h"

int __stdcall SetREditFont(int, int, int, int) {
    return 0;
}
int __stdcall SetREditFont2(int, int, int, int) {
    return 0;
}
int __stdcall SetBackColor(int, int, int, int) {
    return 0;
}
int __stdcall SetREditIMECol(int, int, int, int) {
    return 0;
}
