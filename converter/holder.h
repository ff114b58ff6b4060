// The converter's one holder of handles and blocks: it releases what it holds on every way out
// of the code that took it. Platform-free; each kind of handle supplies its release.
#ifndef CONVERTER_HOLDER_H
#define CONVERTER_HOLDER_H

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

  private:
    Value value_;
};

struct MemoryBlockKind {
    using Value = uint8_t *;
    static Value none() { return nullptr; }
    static bool release(Value block) {
        memory_release(block);
        return true;
    }
};

// A block from memory_allocate.
using MemoryBlock = Holder<MemoryBlockKind>;

#endif
