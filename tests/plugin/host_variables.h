// Script variables as the runtime hands them to the plug-in, and a spy on the control's
// messages. Every buffer sits between guard bytes so that a test sees any write outside it.
#ifndef TESTS_PLUGIN_HOST_VARIABLES_H
#define TESTS_PLUGIN_HOST_VARIABLES_H

#include <windows.h>

#include <richedit.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "plugin/host_records.h"

// One variable: its descriptor, an optional 32-bit size record, and storage of a given number
// of bytes with guard bytes on both sides.
class TestVariable {
  public:
    // A string variable described by the 16-bit fields, with exactly the storage they imply.
    static TestVariable string(uint16_t unitLength, uint16_t elementCount = 1);
    // A string variable whose sizes come from a size record; the 16-bit fields hold decoys,
    // by default ones that would give a far smaller capacity.
    static TestVariable recordString(int32_t unitLength, int32_t elementCount = 1,
                                     uint16_t fieldUnitLength = 1);
    // An integer variable whose storage starts as 0xEEEEEEEE.
    static TestVariable integer();
    // A variable of 16 bytes (unitLength 4) with any type code.
    static TestVariable otherType(int16_t type);

    // The descriptor and size record point into the object itself: it cannot move.
    TestVariable(const TestVariable &) = delete;
    TestVariable &operator=(const TestVariable &) = delete;

    // Writes the bytes into the storage (at most its size) and a zero after them when it fits.
    void setText(const std::string &text);
    // The storage up to its first zero, or all of it when there is none.
    std::string text() const;
    int32_t integerValue() const;
    uint8_t *storage() { return bytes.data() + guardSize; }
    size_t storageSize() const { return size; }

    // True when neither the guard bytes nor the descriptor and size record have changed.
    bool untouchedOutside() const;
    HostVariable *get() { return &variable; }

  private:
    enum : size_t { guardSize = 32 };
    TestVariable(int16_t type, uint16_t unitLength, uint16_t elementCount, size_t storageBytes,
                 const HostVariableSizes *record);
    HostVariable variable;
    HostVariableSizes sizes;
    size_t size;
    std::vector<uint8_t> bytes;
    HostVariable variableCopy;
    HostVariableSizes sizesCopy;
};

// One message that reached the control, with a copy of the record its lParam pointed to.
struct SpiedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::vector<uint8_t> record;
    const CHARFORMATA &format() const {
        return *reinterpret_cast<const CHARFORMATA *>(record.data());
    }
    const COMPCOLOR *colours() const { return reinterpret_cast<const COMPCOLOR *>(record.data()); }
};

// Subclasses the control for its lifetime and records every message. Character formats are
// copied as sent (EM_SETCHARFORMAT) or as answered (EM_GETCHARFORMAT), and IME colours as
// sent; EM_GETIMECOLOR can be answered by the spy, since not every control implements it.
class MessageSpy {
  public:
    explicit MessageSpy(HWND control);
    ~MessageSpy();
    MessageSpy(const MessageSpy &) = delete;
    MessageSpy &operator=(const MessageSpy &) = delete;

    std::vector<const SpiedMessage *> all(UINT message) const;
    // The last such message, or null.
    const SpiedMessage *last(UINT message) const;

    bool answerImeColours = false;
    COMPCOLOR imeColours[4] = {};
    // Runs before the control sees each message.
    std::function<void(UINT, WPARAM, LPARAM)> before;
    std::vector<SpiedMessage> messages;

  private:
    static LRESULT CALLBACK spy(HWND, UINT, WPARAM, LPARAM);
    HWND control;
    WNDPROC original;
};

// A file in the given folder (ending in a backslash) or else in the temporary folder, removed
// before and after use.
class TempFile {
  public:
    explicit TempFile(const char *name, const char *folder = nullptr);
    ~TempFile();
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;
    void write(const std::string &content) const;
    std::string read() const;
    bool exists() const;
    const char *path() const { return fullPath.c_str(); }

  private:
    std::string fullPath;
};

#endif
