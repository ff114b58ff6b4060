// What the fuzz targets share: taking an input apart, the code page 932 lead-byte rule (the
// tests' own, apart from the code under test), and the check that stops a run on a fault.
#ifndef FUZZ_FUZZ_INPUT_H
#define FUZZ_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/code_page_932.h"

// Reads an input from its front: single bytes and 32-bit numbers (zero once it is used up),
// and texts that end at a zero byte or at the input's end.
class FuzzInput {
  public:
    FuzzInput(const uint8_t *data, size_t size) : data_(data), left_(size) {}

    uint8_t byte() {
        if (left_ == 0)
            return 0;
        --left_;
        return *data_++;
    }
    uint32_t word() {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w |= static_cast<uint32_t>(byte()) << (8 * i);
        return w;
    }
    std::string text() {
        std::string t;
        while (left_ > 0) {
            --left_;
            const char c = static_cast<char>(*data_++);
            if (c == '\0')
                break;
            t += c;
        }
        return t;
    }
    std::string rest() {
        std::string t(reinterpret_cast<const char *>(data_), left_);
        data_ += left_;
        left_ = 0;
        return t;
    }
    bool empty() const { return left_ == 0; }

  private:
    const uint8_t *data_;
    size_t left_;
};

inline bool no_lead(unsigned char) {
    return false;
}

// Where each character of text starts, a lead byte taking the next byte with it; a lead byte
// in the last place stands alone.
template <typename Lead> std::vector<size_t> character_starts(const std::string &text, Lead lead) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); i += lead(static_cast<unsigned char>(text[i])) ? 2 : 1)
        starts.push_back(i);
    return starts;
}

inline void check(bool holds, const char *what) {
    if (!holds) {
        std::fprintf(stderr, "fault: %s\n", what);
        std::abort();
    }
}

#endif
