// Feeds arbitrary bytes to the newline engine. The first byte picks the target and the repair;
// the rest is the content. Converting the result once more must change nothing.
#include <cstdlib>
#include <cstring>

#include "converter/engine.h"
#include "converter/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    settings.output_kind = 1 + data[0] % 3;
    settings.repair_flag = (data[0] >> 2) & 1;
    const uint8_t *content = data + 1;
    uint32_t length = static_cast<uint32_t>(size - 1);

    OutputBuffer first;
    Conversion result = convert_newlines(content, first, length);
    if (result == Conversion::out_of_memory)
        return 0;
    bool same = first.size() == length && std::memcmp(first.start, content, length) == 0;
    if (same != (result == Conversion::unchanged))
        std::abort();

    OutputBuffer second;
    if (convert_newlines(first.start, second, first.size()) != Conversion::unchanged)
        std::abort();
    return 0;
}
