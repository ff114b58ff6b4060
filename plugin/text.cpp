#include "plugin/exports.h"
#include "plugin/plugin_state.h"

int __stdcall REditSetText(int, int, int, int) {
    return 0;
}
int __stdcall REditGetText(int, int, int, int) {
    return 0;
}
int __stdcall GetREditLength(int, int, int, int) {
    return 0;
}
int __stdcall GetREditLines(int, int, int, int) {
    return 0;
}
