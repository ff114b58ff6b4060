// What the processor and the system let eolfix use.
#ifndef CONVERTER_PROCESSOR_H
#define CONVERTER_PROCESSOR_H

#include <windows.h>

#include "converter/engine.h"

// The SSE2 path when the processor has CPUID and SSE2 and the system saves SSE state, else the
// portable path. Asks once per process. Never fails.
EnginePath fastest_engine_path();

// The system's version, asked once per process; null when the system does not answer.
const OSVERSIONINFOA *system_version();

#endif
