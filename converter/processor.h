// What the processor and the system let the engine use.
#ifndef CONVERTER_PROCESSOR_H
#define CONVERTER_PROCESSOR_H

#include "converter/engine.h"

// The SSE2 path when the processor has CPUID and SSE2 and the system saves SSE state, else the
// portable path. Asks once per process. Never fails.
EnginePath fastest_engine_path();

#endif
