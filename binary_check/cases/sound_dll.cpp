// A DLL as the plug-in is built (its own entry point, no start-up objects), with SSE2 code only
// in a function named *_sse2 and a Pentium-only twin: the binary check must accept it.
#include <windows.h>

#include <emmintrin.h>

__attribute__((target("sse2"), noinline)) static int sum_sse2(const int *values) {
    __m128i sum = _mm_loadu_si128(reinterpret_cast<const __m128i *>(values));
    sum = _mm_add_epi32(sum, _mm_srli_si128(sum, 8));
    sum = _mm_add_epi32(sum, _mm_srli_si128(sum, 4));
    return _mm_cvtsi128_si32(sum);
}

static int sum_plain(const int *values) {
    return values[0] + values[1] + values[2] + values[3];
}

extern "C" __declspec(dllexport) int sum4(const int *values, int use_sse2) {
    return use_sse2 ? sum_sse2(values) : sum_plain(values);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
