// A script variable as the exports reach it: its descriptor behind a 32-bit argument and the
// bytes of storage that its sizes give.
#ifndef PLUGIN_HOST_VARIABLE_H
#define PLUGIN_HOST_VARIABLE_H

#include <cstdint>

#include "plugin/host_records.h"

// The runtime passes a variable's descriptor as a 32-bit argument.
HostVariable *hostVariableAt(int address);

// Bytes of storage behind a string variable, from its 16-bit fields or, when sizeRecordFlag
// says so, from its 32-bit size record; 0 when it has none that can be used.
int32_t variableCapacity(const HostVariable &variable);

#endif
