// Which engine path the processor and the system allow, from what the platform edge found
// (processor.cpp asks them). Platform-free, so that every case runs natively too.
#ifndef CONVERTER_PROCESSOR_RULES_H
#define CONVERTER_PROCESSOR_RULES_H

#include <cstdint>

// Whether the SSE2 path may run: the CPUID instruction exists (EFLAGS bit 21 toggles), CPUID
// leaf 1 reports SSE2 (EDX bit 26), and the system saves SSE state on a task switch
// (GetVersionExA: the 9x family from 4.10, Windows 98, on; NT from 5.0 on; Windows 95 and NT
// 4.0 fault on SSE instructions). Never fails.
bool sse2_path_allowed(bool has_cpuid, uint32_t cpuid1_edx, uint32_t platform_id,
                       uint32_t major_version, uint32_t minor_version);

#endif
