#include "converter/processor_rules.h"

bool sse2_path_allowed(bool has_cpuid, uint32_t cpuid1_edx, uint32_t platform_id,
                       uint32_t major_version, uint32_t minor_version) {
    const uint32_t windows_9x = 1, windows_nt = 2;
    if (!has_cpuid || !(cpuid1_edx & (1u << 26)))
        return false;
    if (platform_id == windows_9x)
        return major_version > 4 || (major_version == 4 && minor_version >= 10);
    return platform_id == windows_nt && major_version >= 5;
}
