// Feeds arbitrary bytes to the newline engine. The first byte picks the target, the repair and
// the room of the slices; the rest is the content. Converting the reference engine's result once
// more must change nothing, and both block-wise paths must give exactly what the reference gives,
// with the size that their scan told.
#include <cstdlib>
#include <cstring>

#include "converter/engine.h"
#include "tests/converter/reference_engine.h"

namespace {

void check_path(const uint8_t *content, uint32_t length, int32_t kind, bool repair,
                uint32_t room_of_slices, const OutputBuffer &reference, Conversion result,
                EnginePath path) {
    NewlineScan scan = scan_newlines(content, length, kind, repair, path);
    if (scan.changed != (result == Conversion::changed) || scan.output_size != reference.size())
        std::abort();
    if (scan.first_change > length || std::memcmp(reference.start, content, scan.first_change) != 0)
        std::abort();
    size_t room = static_cast<size_t>(scan.output_size - scan.first_change) + converted_slack;
    uint8_t *out = static_cast<uint8_t *>(std::malloc(room));
    uint32_t written = write_converted(content, length, scan.first_change, out, kind, repair, path);
    if (scan.first_change + uint64_t{written} != scan.output_size ||
        std::memcmp(reference.start + scan.first_change, out, written) != 0)
        std::abort();
    // The same bytes again in slices of the room given, each in a block of exactly that size.
    uint8_t *slice = static_cast<uint8_t *>(std::malloc(room_of_slices));
    uint32_t sliced = 0;
    for (uint32_t from = scan.first_change; from < length;) {
        uint32_t part =
            write_slice(content, length, from, slice, room_of_slices, kind, repair, path);
        if (part > written - sliced || std::memcmp(out + sliced, slice, part) != 0)
            std::abort();
        sliced += part;
    }
    if (sliced != written)
        std::abort();
    std::free(slice);
    std::free(out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const int32_t kind = 1 + data[0] % 3;
    const bool repair = (data[0] >> 2) & 1;
    const uint8_t *content = data + 1;
    uint32_t length = static_cast<uint32_t>(size - 1);

    OutputBuffer first;
    Conversion result = convert_newlines(content, first, length, kind, repair);
    if (result == Conversion::out_of_memory)
        return 0;
    bool same = first.size() == length && std::memcmp(first.start, content, length) == 0;
    if (same != (result == Conversion::unchanged))
        std::abort();
    // The rest of the first byte picks the room of the slices.
    const uint32_t room = slice_minimum + (data[0] >> 3);
    check_path(content, length, kind, repair, room, first, result, EnginePath::portable);
    check_path(content, length, kind, repair, room, first, result, EnginePath::sse2);

    OutputBuffer second;
    if (convert_newlines(first.start, second, first.size(), kind, repair) != Conversion::unchanged)
        std::abort();
    return 0;
}
