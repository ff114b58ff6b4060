#include "host_variables.h"

#include <cstring>

enum : uint8_t { guardByte = 0xA5, descriptorFill = 0x5A, unwrittenInteger = 0xEE };

TestVariable::TestVariable(int16_t type, uint16_t unitLength, uint16_t elementCount,
                           size_t storageBytes, const HostVariableSizes *record)
    : size(storageBytes), bytes(storageBytes + 2 * guardSize, guardByte) {
    // The unused bytes carry a pattern too, so that a write into them shows.
    std::memset(&variable, descriptorFill, sizeof variable);
    std::memset(&sizes, descriptorFill, sizeof sizes);
    variable.type = type;
    variable.unitLength = unitLength;
    variable.elementCount = elementCount;
    variable.sizeRecordFlag = record ? 1 : 0;
    variable.data = storage();
    variable.sizeRecord = &sizes;
    if (record) {
        sizes.unitLength = record->unitLength;
        sizes.elementCount = record->elementCount;
    }
    // An integer starts as a value that no count can have, so that a missing store shows.
    std::memset(storage(), type == hostTypeInteger ? unwrittenInteger : 0, size);
    variableCopy = variable;
    sizesCopy = sizes;
}

static size_t impliedStorage(int32_t unitLength, int32_t elementCount) {
    if (unitLength <= 0)
        return 0;
    return 4 * static_cast<size_t>(unitLength) * (elementCount > 1 ? elementCount : 1);
}

TestVariable TestVariable::string(uint16_t unitLength, uint16_t elementCount) {
    return TestVariable(hostTypeString, unitLength, elementCount,
                        impliedStorage(unitLength, elementCount), nullptr);
}

TestVariable TestVariable::recordString(int32_t unitLength, int32_t elementCount,
                                        uint16_t fieldUnitLength) {
    HostVariableSizes record;
    record.unitLength = unitLength;
    record.elementCount = elementCount;
    return TestVariable(hostTypeString, fieldUnitLength, 1,
                        impliedStorage(unitLength, elementCount), &record);
}

TestVariable TestVariable::integer() {
    return TestVariable(hostTypeInteger, 1, 1, sizeof(int32_t), nullptr);
}

TestVariable TestVariable::otherType(int16_t type) {
    return TestVariable(type, 4, 1, 16, nullptr);
}

void TestVariable::setText(const std::string &text) {
    size_t n = text.size() < size ? text.size() : size;
    std::memcpy(storage(), text.data(), n);
    if (n < size)
        storage()[n] = 0;
}

std::string TestVariable::text() const {
    const char *begin = reinterpret_cast<const char *>(bytes.data() + guardSize);
    size_t n = 0;
    while (n < size && begin[n] != '\0')
        ++n;
    return std::string(begin, n);
}

int32_t TestVariable::integerValue() const {
    int32_t value;
    std::memcpy(&value, bytes.data() + guardSize, sizeof value);
    return value;
}

bool TestVariable::untouchedOutside() const {
    for (size_t i = 0; i < guardSize; ++i)
        if (bytes[i] != guardByte || bytes[guardSize + size + i] != guardByte)
            return false;
    return std::memcmp(&variable, &variableCopy, sizeof variable) == 0 &&
           std::memcmp(&sizes, &sizesCopy, sizeof sizes) == 0;
}

static const char spyProperty[] = "LumbraTestSpy";

MessageSpy::MessageSpy(HWND control) : control(control) {
    SetPropA(control, spyProperty, this);
    original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(spy)));
}

MessageSpy::~MessageSpy() {
    if (IsWindow(control)) {
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(control, spyProperty);
    }
}

static std::vector<uint8_t> copyRecord(LPARAM address, size_t size) {
    const uint8_t *from = reinterpret_cast<const uint8_t *>(address);
    return address ? std::vector<uint8_t>(from, from + size) : std::vector<uint8_t>();
}

LRESULT CALLBACK MessageSpy::spy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageSpy *self = static_cast<MessageSpy *>(GetPropA(window, spyProperty));
    if (self->before)
        self->before(message, wParam, lParam);
    SpiedMessage seen = {message, wParam, lParam, {}};
    if (message == EM_SETCHARFORMAT)
        seen.record = copyRecord(lParam, sizeof(CHARFORMATA));
    if (message == EM_SETIMECOLOR)
        seen.record = copyRecord(lParam, 4 * sizeof(COMPCOLOR));
    LRESULT answer;
    if (message == EM_GETIMECOLOR && self->answerImeColours) {
        std::memcpy(reinterpret_cast<void *>(lParam), self->imeColours, sizeof self->imeColours);
        answer = TRUE;
    } else {
        answer = CallWindowProcA(self->original, window, message, wParam, lParam);
    }
    if (message == EM_GETCHARFORMAT)
        seen.record = copyRecord(lParam, sizeof(CHARFORMATA));
    self->messages.push_back(seen);
    return answer;
}

std::vector<const SpiedMessage *> MessageSpy::all(UINT message) const {
    std::vector<const SpiedMessage *> found;
    for (const SpiedMessage &m : messages)
        if (m.message == message)
            found.push_back(&m);
    return found;
}

const SpiedMessage *MessageSpy::last(UINT message) const {
    std::vector<const SpiedMessage *> found = all(message);
    return found.empty() ? nullptr : found.back();
}

TempFile::TempFile(const char *name, const char *folder) {
    if (folder) {
        fullPath = folder;
    } else {
        char temp[MAX_PATH];
        DWORD n = GetTempPathA(sizeof temp, temp);
        fullPath.assign(temp, n < sizeof temp ? n : 0);
    }
    fullPath += name;
    DeleteFileA(path());
}

TempFile::~TempFile() {
    DeleteFileA(path());
}

void TempFile::write(const std::string &content) const {
    HANDLE file = CreateFileA(path(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
}

std::string TempFile::read() const {
    std::string content;
    HANDLE file = CreateFileA(path(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return content;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        content.append(chunk, got);
    CloseHandle(file);
    return content;
}

bool TempFile::exists() const {
    return GetFileAttributesA(path()) != INVALID_FILE_ATTRIBUTES;
}
