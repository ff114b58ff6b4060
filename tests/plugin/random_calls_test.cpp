// A seeded random sequence of export calls, as a script that does everything in any order
// would make them: valid and hostile variables and file names, the host destroying the control
// and replacing its objects, the plug-in released and loaded again. After every call the
// result must be the one a small model of the plug-in predicts, no byte outside the host's
// records and variables may have changed, and the control's text must come back whole through
// _REditGetText@16. The first fault stops the run and names its seed and call.
//
// More calls, another seed (from the repository, with build/win built):
//   . scripts/wine-env.sh && wine_prepare
//   export LUMBRA_RANDOM_SEED=7 LUMBRA_RANDOM_CALLS=100000
//   ctest --test-dir build/win -R random_calls_test --output-on-failure; wine_stop

#include <gtest/gtest.h>

#include <windows.h>

#include <richedit.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "code_page_932.h"
#include "host_variables.h"
#include "test_host.h"

namespace {

// The text without a lead byte left alone at its end.
std::string whole(const std::string &text) {
    size_t i = 0;
    while (i < text.size())
        i += cp932_lead(static_cast<unsigned char>(text[i])) ? 2 : 1;
    return i > text.size() ? text.substr(0, text.size() - 1) : text;
}

// A variable's text ends at its first zero; the control's can hold one (read as plain text
// from a file that has one, such as the control's RTF).
std::string visible(const std::string &text) {
    return text.substr(0, text.find('\0'));
}

// A text that every load gives back as it is: no zero byte, line breaks only as CR LF.
bool tame(const std::string &text) {
    for (size_t i = 0; i < text.size(); ++i) {
        bool pairStart = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        bool pairEnd = text[i] == '\n' && i > 0 && text[i - 1] == '\r';
        if (text[i] == '\0' || (text[i] == '\r' && !pairStart) || (text[i] == '\n' && !pairEnd))
            return false;
    }
    return true;
}

// What a cut to capacity bytes leaves of a variable's text: the text when it ends before the
// last byte, else its first capacity - 1 bytes without a split character.
std::string cut(const std::string &text, size_t capacity) {
    return text.size() < capacity ? text : whole(text.substr(0, capacity - 1));
}

// Characters that the control's code page conversion gives back unchanged, with backslashes as
// trail bytes (ソ, 表, 能, 十) among the double-byte characters.
const char *const characters[] = {"a",        "Z",        "0",        " ",        "\\",
                                  "\r\n",     "\xb1",     "\x82\xa0", "\x83\x5c", "\x95\x5c",
                                  "\x94\x5c", "\x8f\x5c", "\x93\xfa", "\x81\x5b", "\x8a\xbf"};
// Bytes that make a text hostile: lone lead bytes and single bytes without a character.
const char *const hostileBytes[] = {"\x82", "\x95 ", "\xe0\r\n", "\x80", "\xfd", "\x82\x0d"};

enum Slot { empty, live, stale };
enum FileKind { absent, plain, rich };

struct SavedFile {
    explicit SavedFile(const char *name) : file(name) {}
    TempFile file;
    FileKind kind = absent;
    std::string text; // the control's text when it was saved
};

class RandomCalls {
  public:
    explicit RandomCalls(unsigned seed) : seed(seed), random(seed) {
        files.emplace_back(new SavedFile("lumbra_random_a.txt"));
        files.emplace_back(new SavedFile("\x95\x5c_random.txt")); // 表: a 5Ch trail byte
        files.emplace_back(new SavedFile("lumbra_random_c.rtf"));
        locked.write("locked");
        lockedHandle = CreateFileA(locked.path(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        folder = std::string(locked.path()) + ".folder";
        CreateDirectoryA(folder.c_str(), nullptr);
        restart();
    }
    ~RandomCalls() {
        CloseHandle(lockedHandle);
        RemoveDirectoryA(folder.c_str());
    }

    // Runs until count calls were made or a fault was found; the fault, or "".
    std::string run(long count) {
        while (calls < count && fault.empty())
            step();
        return fault;
    }
    long calls = 0;

  private:
    int pick(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return pick(100) < percent; }

    void restart() {
        host.reset();
        host.reset(new TestHost);
        slot = empty;
        released = false;
        text.clear();
    }

    // Records a fault found beside the result, once.
    void faulty(const std::string &what) {
        if (!fault.empty())
            return;
        std::ostringstream where;
        where << "seed " << seed << ", call " << calls << ": " << what;
        fault = where.str();
    }
    void same(const char *what, const std::string &got, const std::string &wanted) {
        if (got != wanted)
            faulty(std::string(what) + " \"" + escaped(got) + "\", expected \"" + escaped(wanted) +
                   "\"");
    }
    static std::string escaped(const std::string &bytes) {
        std::string out;
        for (unsigned char b : bytes) {
            char hex[8];
            std::snprintf(hex, sizeof hex, b < 0x20 || b >= 0x7F ? "\\x%02x" : "%c", b);
            out += hex;
        }
        return out;
    }

    // Checks one call's result; then the records, and the round trip of the control's text.
    void expect(const char *what, int expected, int got) {
        if (!fault.empty())
            return;
        std::ostringstream line;
        if (got != expected)
            line << what << " answered " << got << ", expected " << expected;
        else if (!host->recordGuardsIntact())
            line << what << " wrote into the window record";
        for (int i = 0; i < hostObjectCount && line.str().empty(); ++i)
            if (host->info()->objects[i] != entries[i])
                line << what << " changed object entry " << i;
        for (TestVariable *v : used)
            if (line.str().empty() && !v->untouchedOutside())
                line << what << " wrote outside a variable";
        if (!line.str().empty())
            faulty(line.str());
        else if (slot == live)
            same((std::string(what) + " left the text").c_str(), shown(), text);
    }

    int call(const char *name, int a = 0, int b = 0, int c = 0, int d = 0) {
        ++calls;
        for (int i = 0; i < hostObjectCount; ++i)
            entries[i] = host->info()->objects[i];
        return host->call(name, a, b, c, d);
    }
    static int address(const void *p) { return static_cast<int>(reinterpret_cast<intptr_t>(p)); }

    std::string shown() {
        std::string s(GetWindowTextLengthA(control) * 2 + 1, '\0');
        s.resize(GetWindowTextA(control, &s[0], static_cast<int>(s.size())));
        return s;
    }
    bool modified() { return SendMessageA(control, EM_GETMODIFY, 0, 0) != 0; }

    // A guarded export met a stale slot or none: it empties the slot.
    int noControl(int code) {
        if (slot == stale)
            slot = empty;
        return code;
    }

    std::string randomText(bool hostile) {
        static const int lengths[] = {0, 1, 2, 5, 15, 16, 31, 32, 63, 64, 200, 5000};
        int length = lengths[pick(sizeof lengths / sizeof lengths[0])];
        std::string s;
        while (static_cast<int>(s.size()) < length)
            s += characters[pick(sizeof characters / sizeof characters[0])];
        if (hostile)
            s.insert(s.size() ? pick(static_cast<int>(s.size())) : 0,
                     hostileBytes[pick(sizeof hostileBytes / sizeof hostileBytes[0])]);
        return hostile && chance(50) ? s + "\x82" : s;
    }

    // A variable of any type and size, as scripts declare them and as they should not.
    std::unique_ptr<TestVariable> randomVariable() {
        static const uint16_t units[] = {0, 1, 2, 3, 4, 8, 16, 64, 255};
        static const int32_t recordUnits[] = {-1, 0, 1, 4, 16, 100};
        static const int32_t counts[] = {-5, 0, 1, 3};
        TestVariable *v;
        switch (pick(8)) {
        case 0:
            v = new TestVariable(TestVariable::integer());
            break;
        case 1:
            v = new TestVariable(TestVariable::otherType(static_cast<int16_t>(pick(7) - 1)));
            break;
        case 2:
            v = new TestVariable(
                TestVariable::recordString(recordUnits[pick(6)], counts[pick(4)], units[pick(9)]));
            break;
        default:
            v = new TestVariable(TestVariable::string(units[pick(9)], pick(4)));
        }
        used.push_back(v);
        return std::unique_ptr<TestVariable>(v);
    }

    static int32_t capacityOf(TestVariable &v) { return static_cast<int32_t>(v.storageSize()); }
    static bool isString(TestVariable &v) { return v.get()->type == hostTypeString; }

    // The paths a script may name: files saved before, a locked file, a folder, nothing.
    const char *randomPath(SavedFile **saved) {
        *saved = nullptr;
        switch (pick(6)) {
        case 0:
            return locked.path();
        case 1:
            return folder.c_str();
        case 2:
            return "lumbra_no_such_folder\\file.txt";
        default:
            *saved = files[pick(static_cast<int>(files.size()))].get();
            return (*saved)->file.path();
        }
    }

    void step() {
        used.clear();
        // The host loads the plug-in afresh some time after its end; scripts mostly work on a
        // control, so one is created again soon after it went.
        if (released && chance(10))
            return restart();
        int action = slot != live && chance(20) ? 0 : pick(100);
        if (action < 6)
            create();
        else if (action < 10)
            hostChangesObjects();
        else if (action < 11)
            freeAll();
        else if (action < 14)
            forget();
        else if (action < 18)
            guarded("_REditClear@16", 0);
        else if (action < 22)
            guarded("_SetREditMode@16", pick(3) - 1);
        else if (action < 40)
            setText();
        else if (action < 52)
            getText();
        else if (action < 58)
            count(pick(2) ? "_GetREditLength@16" : "_GetREditLines@16");
        else if (action < 70)
            stream(true);
        else if (action < 80)
            stream(false);
        else if (action < 90)
            setFont();
        else if (action < 95)
            guarded("_SetBackColor@16", static_cast<int>(random()));
        else
            guarded("_SetREditIMECol@16", static_cast<int>(random()));
        if (fault.empty() && slot == live)
            roundTrip();
    }

    void create() {
        static const int numbers[] = {-1, 0, 1, 2, 3, 10, 63, 64};
        int i = numbers[pick(8)];
        int expected = 0;
        if (i < 0 || i >= hostObjectCount)
            expected = 3;
        else if (slot != empty)
            expected = -255;
        else if (!IsWindow(host->info()->objects[i]))
            expected = -1;
        else if (released)
            expected = -3;
        int got = call("_CreateREdit@16", address(host->info()), i);
        if (got == 0 && expected == 0) {
            entries[i] = control = host->info()->objects[i];
            slot = live;
            text.clear();
        }
        expect("_CreateREdit@16", expected, got);
    }

    // The host destroys the control with its other objects, or puts new objects where the
    // old ones are gone. Not a call of the plug-in.
    void hostChangesObjects() {
        if (slot == live && chance(50)) {
            DestroyWindow(control);
            slot = stale;
            return;
        }
        for (int i = 0; i < testObjectCount; ++i)
            if (!IsWindow(host->info()->objects[i]))
                host->info()->objects[i] =
                    CreateWindowExA(0, "BUTTON", "object", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20,
                                    host->window, nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    // __FreeREdit@16 ends the plug-in's work, and may be called again.
    void freeAll() {
        bool wasLive = slot == live;
        if (wasLive)
            slot = stale;
        expect("__FreeREdit@16", 0, call("__FreeREdit@16"));
        released = true;
        if (wasLive && IsWindow(control))
            faulty("__FreeREdit@16 left the control");
    }

    void forget() {
        int expected = slot == live ? -2 : 0;
        int got = call("_REditFree@16");
        if (slot != live)
            slot = empty;
        expect("_REditFree@16", expected, got);
    }

    void guarded(const char *name, int argument) {
        int expected = slot == live ? 0 : noControl(-1);
        int got = call(name, argument, static_cast<int>(random()), static_cast<int>(random()),
                       static_cast<int>(random()));
        if (slot == live && std::string(name) == "_REditClear@16") {
            text.clear();
            if (modified())
                faulty("_REditClear@16 left the control modified");
        }
        if (slot == live && std::string(name) == "_SetREditMode@16") {
            bool readOnly = (SendMessageA(control, EM_GETOPTIONS, 0, 0) & ECO_READONLY) != 0;
            if (readOnly != (argument == 0))
                faulty("_SetREditMode@16 left the wrong mode");
        }
        expect(name, expected, got);
    }

    void setText() {
        std::unique_ptr<TestVariable> v = randomVariable();
        bool hostile = chance(25);
        std::string given = randomText(hostile);
        v->setText(given);
        std::string stored = v->text();
        int expected = 0;
        if (!isString(*v) || capacityOf(*v) <= 0)
            expected = -1;
        else if (slot != live)
            expected = noControl(-2);
        int got = call("_REditSetText@16", address(v->get()));
        if (expected == 0 && got == 0) {
            std::string kept = cut(stored, capacityOf(*v));
            same("_REditSetText@16 left the variable", v->text(), kept);
            // The control's own conversion decides what a hostile text becomes.
            text = hostile ? shown() : kept;
        } else if (expected != 0) {
            same("_REditSetText@16 refusing left the variable", v->text(), stored);
        }
        expect("_REditSetText@16", expected, got);
    }

    void getText() {
        std::unique_ptr<TestVariable> v = randomVariable();
        v->setText("old");
        std::string before = v->text();
        bool refused = !isString(*v) || capacityOf(*v) <= 0 || slot != live;
        int expected;
        std::string arrives = before;
        if (!isString(*v) || capacityOf(*v) <= 0)
            expected = -1;
        else if (slot != live)
            expected = noControl(-2);
        else {
            arrives = cut(visible(text), capacityOf(*v));
            expected = -static_cast<int>(arrives.size());
        }
        int got = call("_REditGetText@16", address(v->get()));
        same(refused ? "_REditGetText@16 refusing left the variable" : "_REditGetText@16 stored",
             v->text(), arrives);
        expect("_REditGetText@16", expected, got);
    }

    // After every call on a live control: the whole text comes back through the export.
    void roundTrip() {
        TestVariable v = TestVariable::string(16, 1000);
        used.assign(1, &v);
        int got = call("_REditGetText@16", address(v.get()));
        same("_REditGetText@16 round trip gave", v.text(), visible(text));
        expect("_REditGetText@16 round trip", -static_cast<int>(visible(text).size()), got);
    }

    void count(const char *name) {
        std::unique_ptr<TestVariable> v = randomVariable();
        int expected = 0;
        if (slot != live)
            expected = noControl(-1);
        else if (v->get()->type != hostTypeInteger)
            expected = -2;
        int got = call(name, address(v->get()));
        if (expected == 0 && got == 0) {
            int32_t value = v->integerValue();
            int32_t length = GetWindowTextLengthA(control);
            bool right = std::string(name) == "_GetREditLength@16"
                             ? value == length
                             : value >= 1 && value <= length + 1;
            if (!right)
                faulty(std::string(name) + " stored " + std::to_string(value));
        }
        expect(name, expected, got);
    }

    void stream(bool reading) {
        SavedFile *saved;
        const char *path = randomPath(&saved);
        int flag = pick(3) == 0 ? 0 : pick(3) - 1; // 0 plain text, anything else RTF
        const char *name = reading ? "_REditRead@16" : "_REditWrite@16";
        bool wasModified = slot == live && modified();
        int expected = 0;
        if (slot != live)
            expected = noControl(-1);
        else if (!saved || (reading && saved->kind == absent))
            expected = -3;
        else if (reading && flag != 0 && saved->kind == plain && !saved->text.empty() &&
                 saved->text.compare(0, 5, "{\\rtf") != 0)
            expected = -4; // the control refuses a file without RTF
        int got =
            call(name, static_cast<int>(random()), address(path), flag, static_cast<int>(random()));
        if (slot == live && got == expected && expected != -1 && expected != -3) {
            if (modified() != (expected == -4))
                faulty(std::string(name) + " left the wrong modified flag");
            if (!reading) {
                saved->kind = flag == 0 ? plain : rich;
                saved->text = text;
                if (flag == 0)
                    same("_REditWrite@16 saved", saved->file.read(), text);
            } else if (expected == 0 && saved->kind == (flag == 0 ? plain : rich) &&
                       tame(saved->text)) {
                text = saved->text;
            } else {
                // RTF shown as its source, a refused file, a zero byte or a lone line break
                // read as plain text: what the control makes of them is its business.
                text = shown();
            }
        } else if (slot == live && got == expected && expected == -3 && modified() != wasModified) {
            faulty(std::string(name) + " changed the modified flag");
        }
        expect(name, expected, got);
    }

    void setFont() {
        std::unique_ptr<TestVariable> v = randomVariable();
        v->setText(randomText(false).substr(0, 40) + (chance(30) ? "\x82" : ""));
        std::string stored = v->text();
        int32_t limit = isString(*v) ? v->get()->unitLength : 0;
        limit = limit < 32 ? limit : 32;
        limit = limit < capacityOf(*v) ? limit : capacityOf(*v);
        int expected = 0;
        if (slot != live)
            expected = noControl(-1);
        else if (!isString(*v) || limit <= 0)
            expected = -2;
        int got = call("_SetREditFont@16", address(v->get()), pick(100) - 10,
                       static_cast<int>(random()), static_cast<int>(random()));
        std::string kept = expected == 0 ? cut(stored, limit) : stored;
        same("_SetREditFont@16 left the face name", v->text(), kept);
        expect("_SetREditFont@16", expected, got);
    }

    unsigned seed;
    std::mt19937 random;
    std::unique_ptr<TestHost> host;
    HWND control = nullptr;
    Slot slot = empty;
    bool released = false;
    std::string text; // the control's text as the model knows it
    HWND entries[hostObjectCount] = {};
    std::vector<TestVariable *> used;
    std::vector<std::unique_ptr<SavedFile>> files;
    TempFile locked{"lumbra_random_locked.txt"};
    HANDLE lockedHandle = INVALID_HANDLE_VALUE;
    std::string folder;
    std::string fault;
};

long fromEnvironment(const char *name, long fallback) {
    const char *value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

} // namespace

TEST(RandomCalls, EveryResultTextAndRecordAsTheModelSays) {
    unsigned seed = static_cast<unsigned>(fromEnvironment("LUMBRA_RANDOM_SEED", 1));
    long count = fromEnvironment("LUMBRA_RANDOM_CALLS", 3000);
    RandomCalls driver(seed);
    std::string fault = driver.run(count);
    std::printf("random plug-in calls: %ld (seed %u), faults: %d\n", driver.calls, seed,
                fault.empty() ? 0 : 1);
    EXPECT_EQ("", fault);
}
