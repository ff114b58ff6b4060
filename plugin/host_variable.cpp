// The capacity rule itself is string_capacity's; this picks the fields it applies to.
#include "plugin/host_variable.h"

#include "plugin/string_capacity.h"

HostVariable *hostVariableAt(int address) {
    return reinterpret_cast<HostVariable *>(static_cast<intptr_t>(address));
}

// The runtime keeps large variables' sizes in a separate 32-bit record and says so in
// sizeRecordFlag; the 16-bit fields are stale then.
int32_t variableCapacity(const HostVariable &variable) {
    if (variable.sizeRecordFlag > 0)
        return stringCapacity(variable.sizeRecord->unitLength, variable.sizeRecord->elementCount);
    return stringCapacity(variable.unitLength, variable.elementCount);
}
