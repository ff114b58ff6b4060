// Checks the two programs of an unpacked release from the folder they were unpacked into:
// eolfix.exe's version block in both languages, and that Lumbra.hpi loads there, offers every
// export by its exact name and puts its rich edit control in place of an object, as a script's
// runtime would see it, and that the shipped lumbra.as and sample.as declare and call those
// exports as the runtime passes their arguments. Prints one line per fault; exit code 0 when there
// is none.
//   package_check <unpacked folder> <version, for example 0.4.5.1>
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "plugin/host_records.h"

static int faults = 0;

static void expect(bool ok, const std::string &what) {
    if (!ok) {
        std::printf("FAULT: %s\n", what.c_str());
        ++faults;
    }
}

static std::string versionString(std::vector<char> &block, const char *table, const char *key) {
    std::string path = std::string("\\StringFileInfo\\") + table + "\\" + key;
    char *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void **>(&value), &length))
        return "(missing)";
    return value;
}

static void checkEolfix(const std::string &folder, const std::string &version) {
    std::string program = folder + "\\eolfix.exe";
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    std::vector<char> block(size);
    expect(size && GetFileVersionInfoA(program.c_str(), 0, size, block.data()),
           "eolfix.exe has a version block");
    if (!size)
        return;
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(version.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    expect(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length) &&
               fixed->dwFileVersionMS == (a << 16 | b) && fixed->dwFileVersionLS == (c << 16 | d) &&
               fixed->dwProductVersionMS == (a << 16 | b) &&
               fixed->dwProductVersionLS == (c << 16 | d) && fixed->dwFileType == VFT_APP,
           "eolfix.exe's fixed version part is " + version + ", a program");
    WORD *translations = nullptr;
    expect(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                          reinterpret_cast<void **>(&translations), &length) &&
               length == 8 && translations[0] == 0x0411 && translations[2] == 0x0409,
           "eolfix.exe lists a Japanese and an English table");
    for (const char *table : {"041104b0", "040904b0"}) {
        const struct {
            const char *key, *value;
        } entries[] = {{"FileVersion", version.c_str()},
                       {"ProductVersion", version.c_str()},
                       {"OriginalFilename", "eolfix.exe"},
                       {"InternalName", "eolfix"}};
        for (const auto &entry : entries)
            expect(versionString(block, table, entry.key) == entry.value,
                   std::string(table) + "\\" + entry.key + " of eolfix.exe is " + entry.value);
        for (const char *key : {"FileDescription", "ProductName"}) {
            std::string value = versionString(block, table, key);
            expect(value != "(missing)" && !value.empty(),
                   std::string(table) + "\\" + key + " of eolfix.exe is there");
        }
    }
}

// What each export reads in its four arguments: w the window record, v a variable descriptor,
// s a string's address, i an integer, - nothing. _MyCopyRight_ takes no arguments at all.
static const struct {
    const char *name, *reads;
} exportUses[] = {
    {"_CreateREdit@16", "wi--"},   {"__FreeREdit@16", "----"},     {"_REditFree@16", "----"},
    {"_REditClear@16", "----"},    {"_SetREditMode@16", "i---"},   {"_REditSetText@16", "v---"},
    {"_REditGetText@16", "v---"},  {"_GetREditLength@16", "v---"}, {"_GetREditLines@16", "v---"},
    {"_REditRead@16", "-si-"},     {"_REditWrite@16", "-si-"},     {"_SetREditFont@16", "viii"},
    {"_SetREditFont2@16", "----"}, {"_SetBackColor@16", "iii-"},   {"_SetREditIMECol@16", "iii-"}};

// What the runtime passes for each #func TYPE (its cleanup mark $100 taken off), in the same
// letters; it supplies the window record itself, and the script writes the other arguments.
static const char *passedFor(long type) {
    static const char *const passed[8] = {"iiii",  nullptr, "wiii", "viii",
                                          nullptr, nullptr, "wsii", "vsii"};
    return (type & 0xFF) < 8 ? passed[type & 0xFF] : nullptr;
}

static std::vector<std::string> readLines(const std::string &path) {
    std::vector<std::string> lines;
    std::ifstream file(path, std::ios::binary);
    expect(file.good(), path + " is in the archive");
    for (std::string line; std::getline(file, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

static std::string trimmed(const std::string &text) {
    size_t first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// Splits at each separator outside string literals and parentheses, up to a ; comment; steps
// over the second byte of a Shift-JIS character and of a \ escape in a literal.
static std::vector<std::string> split(const std::string &line, char separator) {
    std::vector<std::string> parts(1);
    bool quoted = false;
    int depth = 0;
    for (size_t i = 0; i < line.size() && (quoted || line[i] != ';'); ++i) {
        char c = line[i];
        if (!quoted && depth == 0 && c == separator) {
            parts.emplace_back();
            continue;
        }
        quoted ^= c == '"';
        depth += quoted ? 0 : (c == '(') - (c == ')');
        parts.back() += c;
        if (i + 1 < line.size() && (IsDBCSLeadByteEx(932, c) || (quoted && c == '\\')))
            parts.back() += line[++i];
    }
    for (std::string &part : parts)
        part = trimmed(part);
    return parts;
}

static std::string lowered(std::string name) {
    CharLowerBuffA(&name[0], static_cast<DWORD>(name.size()));
    return name;
}

// What a script might write for an export: any letter case, no leading underscores, no @16.
static std::string plainName(std::string name) {
    name.erase(0, name.find_first_not_of('_') % (name.size() + 1));
    if (name.size() > 3 && name.compare(name.size() - 3, 3, "@16") == 0)
        name.resize(name.size() - 3);
    return lowered(name);
}

// Every #func of lumbra.as names an export of the plug-in, each but the notice once, with a
// TYPE that passes what the export reads; sample.as calls only declared names, with the
// number and kind of arguments their TYPE lets a script write.
static void checkScripts(HMODULE plugin, const std::string &folder) {
    std::map<std::string, long> typeOf; // by command name, in lower case
    std::map<std::string, int> declarations;
    bool uselib = false, included = false;
    for (const std::string &line : readLines(folder + "\\lumbra.as")) {
        std::istringstream words(split(line, ';')[0]);
        std::string keyword, name, bare, type;
        words >> keyword >> name >> bare >> type;
        uselib |= keyword == "#uselib" && name == "\"Lumbra.hpi\"";
        if (keyword != "#func")
            continue;
        std::string exportName = "_" + bare + "@16";
        long number =
            std::strtol(type.c_str() + (type[0] == '$'), nullptr, type[0] == '$' ? 16 : 10);
        typeOf[lowered(name)] = number;
        ++declarations[exportName];
        const char *passed = passedFor(number);
        expect(GetProcAddress(plugin, exportName.c_str()) && passed,
               "lumbra.as declares " + name + " as " + exportName +
                   ", which Lumbra.hpi exports, with a TYPE the runtime knows");
        expect(((number & 0x100) != 0) == (exportName == "__FreeREdit@16"),
               "lumbra.as marks " + name + " as the cleanup only if it is __FreeREdit@16");
        for (const auto &use : exportUses)
            for (int i = 0; passed && exportName == use.name && i < 4; ++i)
                expect(use.reads[i] == '-' || use.reads[i] == passed[i],
                       "lumbra.as: TYPE " + type + " passes in argument " + std::to_string(i + 1) +
                           " what " + use.name + " reads");
    }
    expect(uselib, "lumbra.as loads Lumbra.hpi with #uselib");
    for (const auto &use : exportUses)
        expect(declarations[use.name] == 1, std::string("lumbra.as declares ") + use.name +
                                                " once, not " +
                                                std::to_string(declarations[use.name]));

    int calls = 0;
    for (const std::string &line : readLines(folder + "\\sample.as")) {
        for (const std::string &statement : split(line, ':')) {
            size_t end = statement.find_first_of(" \t");
            std::string word = statement.substr(0, end);
            std::string rest = end == std::string::npos ? "" : trimmed(statement.substr(end));
            included |= word == "#include" && rest == "\"lumbra.as\"";
            auto found = typeOf.find(lowered(word));
            bool anExport = plainName(word) == plainName("_MyCopyRight_");
            for (const auto &use : exportUses)
                anExport |= plainName(word) == plainName(use.name);
            expect(found != typeOf.end() || !anExport,
                   "sample.as calls " + word + ", which lumbra.as does not declare");
            if (found == typeOf.end() || !passedFor(found->second))
                continue;
            ++calls;
            std::string writes = passedFor(found->second);
            writes.erase(0, writes[0] == 'w');
            std::vector<std::string> arguments = split(rest, ',');
            arguments.resize(rest.empty() ? 0 : arguments.size());
            expect((found->second & 0x100) == 0 && arguments.size() <= writes.size(),
                   "sample.as gives " + word + " at most " + std::to_string(writes.size()) +
                       " arguments and leaves the cleanup to the runtime: " + statement);
            for (size_t i = 0; i < writes.size(); ++i) {
                std::string argument = i < arguments.size() ? arguments[i] : "";
                bool literal = !argument.empty() && argument[0] == '"';
                bool variable = !argument.empty() && !std::isdigit(BYTE(argument[0])) &&
                                argument.find_first_not_of(
                                    "abcdefghijklmnopqrstuvwxyz"
                                    "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") == std::string::npos;
                bool fits = writes[i] == 'v'   ? variable
                            : writes[i] == 's' ? literal || variable
                                               : !literal;
                expect(fits || (argument.empty() && writes[i] == 'i'),
                       "sample.as gives " + word + " argument " + std::to_string(i + 1) +
                           " of the kind its TYPE passes: " + statement);
            }
        }
    }
    expect(included && calls > 0, "sample.as includes lumbra.as and calls its commands");
}

static void checkPlugin(const std::string &folder) {
    HMODULE plugin = LoadLibraryA((folder + "\\Lumbra.hpi").c_str());
    expect(plugin != nullptr, "Lumbra.hpi loads from the unpacked folder");
    if (!plugin)
        return;
    expect(GetProcAddress(plugin, "_MyCopyRight_") != nullptr, "Lumbra.hpi exports _MyCopyRight_");
    for (const auto &use : exportUses)
        expect(GetProcAddress(plugin, use.name) != nullptr,
               std::string("Lumbra.hpi exports ") + use.name);
    checkScripts(plugin, folder);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PackageCheckHost";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    HostWindowInfo record = {};
    record.dc = GetDC(window);
    record.window = window;
    record.objects[0] = CreateWindowExA(0, "BUTTON", "object", WS_CHILD | WS_VISIBLE, 10, 10, 200,
                                        100, window, nullptr, wc.hInstance, nullptr);
    typedef int(__stdcall * Export)(int, int, int, int);
    auto call = [plugin](const char *name, int a) {
        Export f =
            reinterpret_cast<Export>(reinterpret_cast<void (*)()>(GetProcAddress(plugin, name)));
        return f ? f(a, 0, 0, 0) : 0x7fffffff;
    };
    int status = call("_CreateREdit@16", static_cast<int>(reinterpret_cast<intptr_t>(&record)));
    expect(status == 0, "_CreateREdit@16 returns 0, got " + std::to_string(status));
    char className[32] = {};
    GetClassNameA(record.objects[0], className, sizeof className);
    expect(lstrcmpiA(className, "RICHEDIT") == 0,
           std::string("object 0 is now a RICHEDIT control, got ") + className);
    expect(call("__FreeREdit@16", 0) == 0, "__FreeREdit@16 returns 0");
    ReleaseDC(window, record.dc);
    DestroyWindow(window);
    FreeLibrary(plugin);
}

int main(int argc, char **argv) {
    if (argc != 3) {
        std::printf("usage: package_check <unpacked folder> <version>\n");
        return 2;
    }
    checkEolfix(argv[1], argv[2]);
    checkPlugin(argv[1]);
    std::printf("%s\n", faults ? "package check failed" : "package check passed");
    return faults ? 1 : 0;
}
