#include "converter/processor.h"

#include <windows.h>

#include <cpuid.h>

#include "converter/processor_rules.h"

namespace {

// A processor before the late 486 has no CPUID: there EFLAGS bit 21 does not toggle.
bool has_cpuid() {
    uint32_t before, after;
    __asm__ volatile("pushfl\n\t"
                     "popl %0\n\t"
                     "movl %0, %1\n\t"
                     "xorl $0x200000, %1\n\t"
                     "pushl %1\n\t"
                     "popfl\n\t"
                     "pushfl\n\t"
                     "popl %1\n\t"
                     "pushl %0\n\t"
                     "popfl"
                     : "=&r"(before), "=&r"(after)
                     :
                     : "cc");
    return ((before ^ after) & 0x200000u) != 0;
}

EnginePath ask() {
    bool cpuid = has_cpuid();
    uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (cpuid) {
        __cpuid(0, eax, ebx, ecx, edx);
        uint32_t highest = eax;
        edx = 0;
        if (highest >= 1)
            __cpuid(1, eax, ebx, ecx, edx);
    }
    const OSVERSIONINFOA *version = system_version();
    if (version == nullptr)
        return EnginePath::portable;
    return sse2_path_allowed(cpuid, edx, version->dwPlatformId, version->dwMajorVersion,
                             version->dwMinorVersion)
               ? EnginePath::sse2
               : EnginePath::portable;
}

} // namespace

const OSVERSIONINFOA *system_version() {
    static OSVERSIONINFOA version = {};
    static const bool answered = [] {
        version.dwOSVersionInfoSize = sizeof version;
        return GetVersionExA(&version) != 0;
    }();
    return answered ? &version : nullptr;
}

EnginePath fastest_engine_path() {
    static const EnginePath path = ask();
    return path;
}
