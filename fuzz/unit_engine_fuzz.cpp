// The unit-wise newline conversion of random UTF-16 and UTF-32 content, compared with a
// reference written from the rules: CR CR LF one newline with the repair, then CR LF, a lone
// CR, a lone LF, every other unit copied. The scan must give the reference's result, first
// change and size; the write must give its bytes, in one call and in slices of any room, on
// both paths. Converting the result again must change nothing. The content is exactly as long
// as it says, so that the address checks catch any read beyond it.
// Input: a byte choosing the encoding (bits 0-1; bit 7: one-byte units instead), the target
// (bits 2-3), the repair (bit 4) and how many bytes of a cut unit end the content (bits 5-6); a
// byte for the slice room; then one byte per unit: its low six bits and, in its top two, where they
// stand (the low byte, the second byte, the third, or above 3000h), so that CR and LF bytes come
// inside other units too.
#include <algorithm>
#include <vector>

#include "converter/unit_engine.h"
#include "fuzz/fuzz_input.h"

namespace {

const TextEncoding encodings[] = {TextEncoding::utf16_le, TextEncoding::utf16_be,
                                  TextEncoding::utf32_le, TextEncoding::utf32_be};

struct Reference {
    std::vector<uint8_t> bytes;
    bool changed = false;
    uint32_t first_change;
};

void put_unit(std::vector<uint8_t> &to, uint32_t unit, uint32_t width, bool big) {
    for (uint32_t i = 0; i < width; ++i)
        to.push_back(static_cast<uint8_t>(unit >> (8 * (big ? width - 1 - i : i))));
}

Reference convert(const std::vector<uint32_t> &units, const std::vector<uint8_t> &cut,
                  uint32_t width, bool big, int kind, bool repair) {
    const uint32_t cr = 0x0D, lf = 0x0A;
    Reference ref;
    ref.first_change = static_cast<uint32_t>(units.size() * width + cut.size());
    for (size_t i = 0; i < units.size();) {
        const uint32_t next = i + 1 < units.size() ? units[i + 1] : 0;
        const uint32_t after = i + 2 < units.size() ? units[i + 2] : 0;
        size_t taken = 1;
        bool stays;
        if (units[i] == cr && repair && i + 2 < units.size() && next == cr && after == lf) {
            taken = 3;
            stays = false;
        } else if (units[i] == cr && i + 1 < units.size() && next == lf) {
            taken = 2;
            stays = kind == 1;
        } else if (units[i] == cr) {
            stays = kind == 2;
        } else if (units[i] == lf) {
            stays = kind == 3;
        } else {
            put_unit(ref.bytes, units[i], width, big);
            ++i;
            continue;
        }
        if (!stays && !ref.changed) {
            ref.changed = true;
            ref.first_change = static_cast<uint32_t>(i * width);
        }
        if (kind != 3)
            put_unit(ref.bytes, cr, width, big);
        if (kind != 2)
            put_unit(ref.bytes, lf, width, big);
        i += taken;
    }
    ref.bytes.insert(ref.bytes.end(), cut.begin(), cut.end());
    return ref;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t choice = in.byte();
    const TextEncoding encoding = choice & 0x80 ? TextEncoding::bytes : encodings[choice & 3];
    const int kind = 1 + (choice >> 2 & 3) % 3;
    const bool repair = (choice >> 4 & 1) != 0;
    const uint32_t width = unit_bytes(encoding);
    const bool big = encoding == TextEncoding::utf16_be || encoding == TextEncoding::utf32_be;
    const uint32_t slice = 8 + in.byte();

    std::vector<uint32_t> units;
    std::vector<uint8_t> cut;
    for (uint32_t c = (choice >> 5 & 3) % width; c > 0; --c)
        cut.push_back(in.byte());
    while (!in.empty()) {
        const uint8_t b = in.byte();
        const uint32_t low = b & 0x3F, place = b >> 6;
        const uint32_t unit = place == 3 ? 0x3000 + low : low << (8 * place);
        units.push_back(width == 4 ? unit : unit & ((1u << (8 * width)) - 1));
    }
    std::vector<uint8_t> content;
    for (uint32_t unit : units)
        put_unit(content, unit, width, big);
    content.insert(content.end(), cut.begin(), cut.end());
    const uint32_t length = static_cast<uint32_t>(content.size());
    // Exactly length bytes, so that a read past the end faults.
    uint8_t *bytes = new uint8_t[length];
    std::copy(content.begin(), content.end(), bytes);

    const Reference ref = convert(units, cut, width, big, kind, repair);
    for (EnginePath path : {EnginePath::portable, EnginePath::sse2}) {
        const NewlineScan scan = scan_units(bytes, length, encoding, kind, repair, path);
        check(scan.changed == ref.changed, "changed");
        check(scan.changed == (ref.bytes != content), "changed exactly when the bytes differ");
        check(scan.first_change == ref.first_change, "first change");
        check(first_unit_change(bytes, length, encoding, kind, repair, path) == ref.first_change,
              "first change without the count");
        check(scan.output_size == ref.bytes.size(), "output size");

        // Blocks of exactly the room given, so that a store past it faults.
        const uint32_t tail = static_cast<uint32_t>(ref.bytes.size() - scan.first_change);
        uint8_t *whole = new uint8_t[tail];
        uint32_t from = scan.first_change;
        check(write_units(bytes, length, from, whole, tail, encoding, kind, repair, path) == tail &&
                  from == length,
              "one write takes the whole tail");
        check(std::equal(whole, whole + tail, ref.bytes.begin() + scan.first_change),
              "written bytes");
        delete[] whole;
        std::vector<uint8_t> sliced;
        from = scan.first_change;
        while (from < length) {
            uint8_t *part = new uint8_t[slice];
            const uint32_t before = from;
            const uint32_t wrote =
                write_units(bytes, length, from, part, slice, encoding, kind, repair, path);
            check(wrote <= slice && from > before, "a slice moves on within its room");
            sliced.insert(sliced.end(), part, part + wrote);
            delete[] part;
        }
        check(sliced.size() == tail &&
                  std::equal(sliced.begin(), sliced.end(), ref.bytes.begin() + scan.first_change),
              "slices give the same bytes");
    }
    delete[] bytes;

    const NewlineScan again = scan_units(ref.bytes.data(), static_cast<uint32_t>(ref.bytes.size()),
                                         encoding, kind, repair, EnginePath::portable);
    check(!again.changed, "converted content stays");
    return 0;
}
