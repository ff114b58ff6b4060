// The converter's one holder of handles and blocks: it releases what it holds on every way out
// of the code that took it. Platform-free; each kind of handle supplies its release.
#ifndef CONVERTER_HOLDER_H
#define CONVERTER_HOLDER_H

#include <cstddef>
#include <cstdint>

#include "converter/memory.h"

// Kind supplies Value, none() (the value that holds nothing) and release(value), which answers
// false when the release failed.
template <typename Kind> class Holder {
  public:
    using Value = typename Kind::Value;

    explicit Holder(Value value) : value_(value) {}
    ~Holder() { close(); }
    Holder(const Holder &) = delete;
    Holder &operator=(const Holder &) = delete;

    Value get() const { return value_; }
    bool held() const { return value_ != Kind::none(); }
    // Releases at once, for the callers to whom a failed release means lost data (a written
    // file's close); the holder then holds nothing. False when the release failed; true when
    // there was nothing to release.
    bool close() {
        Value value = value_;
        value_ = Kind::none();
        return value == Kind::none() || Kind::release(value);
    }

    // Gives up what is held without releasing it, for a caller that releases it elsewhere.
    Value take() {
        Value value = value_;
        value_ = Kind::none();
        return value;
    }
    // Releases what is held, unchecked, and holds value instead.
    void reset(Value value) {
        close();
        value_ = value;
    }

  private:
    Value value_;
};

// A block kept across the files of a run and replaced only by a larger one, so that a run
// pays for fresh pages only when a file is larger than every one before it. This one has no
// destructor: it is the type of the globals that live as long as the process, which eolfix
// (with no exit list) could not register for destruction; the process's end gives the heap
// back.
class ProcessBlock {
  public:
    ProcessBlock() = default;
    ProcessBlock(const ProcessBlock &) = delete;
    ProcessBlock &operator=(const ProcessBlock &) = delete;

    // At least size bytes; what they held before is not kept. Null, with no block held, when
    // no block that large can be had. A new block is rounded up (by less than 1 MiB), so that
    // files of nearly the same size share one block instead of each taking fresh pages.
    uint8_t *reserve(size_t size) {
        if (bytes_ != nullptr && size <= capacity_)
            return bytes_;
        release();
        const size_t step = size < (size_t{1} << 20) ? size_t{1} << 16 : size_t{1} << 20;
        size_t rounded = size <= SIZE_MAX - step ? (size + step - 1) / step * step : size;
        bytes_ = static_cast<uint8_t *>(memory_allocate(rounded));
        if (bytes_ != nullptr) {
            capacity_ = rounded;
        } else if (rounded != size) {
            bytes_ = static_cast<uint8_t *>(memory_allocate(size));
            if (bytes_ != nullptr)
                capacity_ = size;
        }
        return bytes_;
    }

    // Gives the block back; nothing is held afterwards.
    void release() {
        memory_release(bytes_);
        bytes_ = nullptr;
        capacity_ = 0;
    }

  private:
    uint8_t *bytes_ = nullptr;
    size_t capacity_ = 0;
};

#endif
