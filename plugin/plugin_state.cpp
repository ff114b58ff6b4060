// The globals, zero at load, and the guard that nearly every export runs first.
#include "plugin/plugin_state.h"

PluginState pluginState;
ControlSlot controlSlot;

const char richEditClass[] = "RICHEDIT";

bool isOurControl(HWND window) {
    if (!window || !IsWindow(window))
        return false;
    // Every window we create carries our module as its instance; one that the host creates
    // carries the host's, whatever its class.
    if (reinterpret_cast<HINSTANCE>(GetWindowLongA(window, GWL_HINSTANCE)) != pluginState.instance)
        return false;
    // One byte longer than the name, so that a longer class name cannot pass as it.
    char name[sizeof richEditClass + 1] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, richEditClass) == 0;
}

bool controlAlive() {
    if (!controlSlot.control)
        return false;
    if (!isOurControl(controlSlot.control)) {
        controlSlot.control = nullptr;
        return false;
    }
    return true;
}
