#include "converter/lead_byte.h"

#include <windows.h>

bool is_ansi_lead_byte(unsigned char byte) {
    return IsDBCSLeadByteEx(CP_ACP, byte) != 0;
}
