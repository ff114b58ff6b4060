#!/usr/bin/env python3
"""Checks a built eolfix.exe or Lumbra.hpi against what Windows 95, 98, Me and NT 4.0 on a
Pentium accept, reading it with i686-w64-mingw32-objdump. Prints one line per fault,
"FAULT <kind>: <file>: <what>", and exits with 1 when there is any.

  check_binaries.py [--stripped] [--allowlist FILE] [--list NAME] [--expect KIND,...]
                    SHIPPED [SYMBOLS]

SHIPPED is the file that ships; SYMBOLS the same link with its symbols (default
SHIPPED.symbols, which the build keeps beside it), from which function names and the
constructor list are read. Both must hold the same code and data.

Kinds:
  import       an import that is not on the shipped file's list (--list eolfix or plugin, the
               default) in the allowlist (binary_check/allowed_imports.txt)
  version      subsystem or OS version above 4.0, or a section layout old loaders refuse
  tls          a TLS directory in a DLL: Windows 95 refuses LoadLibrary of it (KB 118816)
  initialiser  start-up work that no start-up code does: static constructors in a DLL or in an
               exe without __main, a .CRT table of C-runtime initialisers or pseudo-relocations
               without their relocator
  instruction  a Pentium Pro or later instruction (cmov, fcmov, fcomi, fucomi, long NOPs and
               the 0F 18-1F hints, fxsave, ldmxcsr, rdpmc, MMX, SSE ...) outside a function
               whose name ends in _sse2 (those run after a CPUID check)
  strip        with --stripped: symbols or debug sections left in SHIPPED
  mismatch     SHIPPED and SYMBOLS differ in code or data

--expect turns the check around for its own tests: the exit code is 0 when exactly the given
kinds of fault were found."""
import argparse
import bisect
import os
import re
import subprocess
import sys

OBJDUMP = "i686-w64-mingw32-objdump"
NM = "i686-w64-mingw32-nm"
HERE = os.path.dirname(os.path.abspath(__file__))

# Pentium Pro and later: conditional moves, the FPU's flag compares, and the later
# extensions that compilers or hand-written code may bring in. The Pentium's own set
# (cmpxchg8b, rdtsc, cpuid) is fine.
LATER_MNEMONIC = re.compile(
    r"^(cmov\w+|fcmov\w+|fu?comip?|popcnt|lzcnt|movbe|crc32|[lms]fence|clflush\w*"
    r"|prefetch\w*|fisttp\w*|movnti|sysenter|sysexit|emms|femms)$")
# Any use of an MMX, SSE or AVX register.
LATER_REGISTER = re.compile(r"%(x|y|z)?mm\d")
PREFIXES = {"lock", "rep", "repz", "repe", "repnz", "repne", "data16", "addr16", "addr32",
            "cs", "ds", "es", "fs", "gs", "ss", "notrack", "bnd"}
# Opcodes after 0Fh that a Pentium does not know, by byte, because objdump names them in too
# many ways (nopl, nopw, nop with an operand, endbr32, bndmov, prefetch ...):
#   18h-1Fh  the hint space: the long NOPs (0F 1F) that assemblers pad with, prefetch, endbr
#   AEh      fxsave, fxrstor, ldmxcsr, stmxcsr, the fences, clflush, xsave
#   33h      rdpmc
LATER_OPCODES = set(range(0x18, 0x20)) | {0xAE, 0x33}
PREFIX_BYTES = {0xF0, 0xF2, 0xF3, 0x2E, 0x36, 0x3E, 0x26, 0x64, 0x65, 0x66, 0x67}


def later_opcode(raw):
    """True when the instruction's bytes (legacy prefixes skipped) open with 0Fh and an opcode
    of LATER_OPCODES."""
    code = [int(b, 16) for b in raw.split()]
    while code and code[0] in PREFIX_BYTES:
        code = code[1:]
    return len(code) >= 2 and code[0] == 0x0F and code[1] in LATER_OPCODES


def run(*command):
    # The tools' own texts ("no symbols", header names) are read, so they must not be translated.
    environment = dict(os.environ, LC_ALL="C", LANGUAGE="C")
    done = subprocess.run(command, capture_output=True, text=True, env=environment)
    if done.returncode != 0:
        sys.exit(f"FAULT tool: {' '.join(command)} failed: {done.stderr.strip()}")
    return done.stdout


def read_allowlist(path, name):
    """The list called name: the entries "DLL function source" whose DLL its line "list NAME:
    DLL ..." names. Every entry must name a source given in the file, and name must have a
    list. Returns the list's DLLs and its (dll, function) pairs, DLL names in lower case."""
    sources, entries, lists = set(), [], {}
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.split("#")[0].strip()
        if not line:
            continue
        if line.startswith("source "):
            sources.add(line.split()[1].rstrip(":"))
            continue
        if line.startswith("list "):
            fields = line.split()
            lists[fields[1].rstrip(":")] = {dll.lower() for dll in fields[2:]}
            continue
        fields = line.split()
        if len(fields) != 3 or fields[2] not in sources:
            sys.exit(f"FAULT allowlist: {path}:{number}: want 'DLL function source' with a "
                     f"source named above: {line}")
        entries.append((fields[0].lower(), fields[1]))
    if name not in lists:
        sys.exit(f"FAULT allowlist: {path}: no list named {name}")
    dlls = lists[name]
    return dlls, {entry for entry in entries if entry[0] in dlls}


def read_imports(headers):
    imports, dll = [], None
    for line in headers.splitlines():
        found = re.match(r"\s*DLL Name: (\S+)", line)
        if found:
            dll = found.group(1)
            continue
        found = re.match(r"\s*[0-9a-f]+\s+\d+\s+(\S+)\s*$", line)
        if dll and found:
            imports.append((dll, found.group(1)))
        elif dll and line.strip() and not line.startswith("\t") and "vma:" not in line:
            dll = None
    return imports


def header_field(headers, name):
    found = re.search(rf"^{name}\s+([0-9a-fA-F]+)", headers, re.M)
    return int(found.group(1), 16) if found else None


def section_names(path):
    return re.findall(r"^\s*\d+\s+(\S+)\s+[0-9a-f]{8}\s", run(OBJDUMP, "-h", path), re.M)


def base_name(label):
    """The function's own name from objdump's demangled label: without arguments, clone
    suffixes, stdcall's @N and enclosing scopes."""
    name = re.sub(r" \[clone [^\]]*\]", "", label)
    name = re.sub(r"@\d+$", "", name)
    depth, cut = 0, len(name)
    for i, c in enumerate(name):
        if c in "<(":
            if c == "(" and depth == 0:
                cut = i
                break
            depth += 1
        elif c in ">)":
            depth -= 1
    name = name[:cut]
    name = re.sub(r"(\.(part|constprop|isra|cold|lto_priv)(\.\d+)?)+$", "", name)
    return name.split("::")[-1]


def constructor_names(path, start, end, names):
    """The functions listed between the constructor list's -1 and 0 words, by name."""
    dump = run(OBJDUMP, "-s", f"--start-address={start + 4:#x}", f"--stop-address={end - 4:#x}",
               path)
    data = bytes.fromhex("".join("".join(re.findall(r"^ [0-9a-f]+((?: [0-9a-f]{2,8}){1,4})",
                                                    dump, re.M)).split()))
    by_address = {address: name for name, address in names.items() if not name.startswith(".")}
    words = [int.from_bytes(data[i:i + 4], "little") for i in range(0, len(data) - 3, 4)]
    return [by_address.get(word, f"{word:#x}") for word in words]


def functions(path):
    """Sorted start addresses of the code symbols and, for each, the demangled names there
    (a static function can share its address with markers the linker places)."""
    names = {}
    for line in run(NM, "-C", path).splitlines():
        found = re.match(r"^([0-9a-f]+) [tTW] (.+)$", line)
        if found and not found.group(2).startswith("."):
            names.setdefault(int(found.group(1), 16), []).append(found.group(2))
    return sorted(names), names


def later_instructions(path):
    """{start address: [(address, instruction)]} for every Pentium Pro or later instruction,
    by the code symbol that precedes it."""
    starts, _ = functions(path)
    found = {}
    # Wide: each instruction's bytes on its one line, between tabs.
    for line in run(OBJDUMP, "-d", "-w", path).splitlines():
        code = re.match(r"^\s*([0-9a-f]+):\t([0-9a-f ]+)\t(.*)$", line)
        if not code:
            continue
        text = re.sub(r"<[^>]*>", "", code.group(3)).strip()
        words = text.split()
        while words and words[0] in PREFIXES:
            words = words[1:]
        if words and (LATER_MNEMONIC.match(words[0]) or LATER_REGISTER.search(text)
                      or later_opcode(code.group(2))):
            address = int(code.group(1), 16)
            at = bisect.bisect_right(starts, address) - 1
            found.setdefault(starts[at] if at >= 0 else None, []).append((code.group(1), text))
    return found


def check(shipped, symbols, allowlist, stripped):
    faults = []

    def fault(kind, what):
        faults.append((kind, f"FAULT {kind}: {shipped}: {what}"))

    headers = run(OBJDUMP, "-p", shipped)
    is_dll = bool(re.search(r"^Characteristics 0x[0-9a-f]+\n(\t.*\n)*\tDLL$", headers, re.M))

    list_name, dlls, allowed = allowlist
    for dll, function in read_imports(headers):
        if dll.lower() not in dlls:
            fault("import", f"{dll}!{function}: the {list_name} list allows no import from "
                            f"{dll}, only from {' '.join(sorted(dlls))}")
        elif (dll.lower(), function) not in allowed:
            fault("import", f"{dll}!{function} is not on the {list_name} list of functions "
                            "that Windows 95 and NT 4.0 export")

    for what in ("Subsystem", "OSystem"):
        major = header_field(headers, f"Major{what}Version")
        minor = header_field(headers, f"Minor{what}Version")
        if (major, minor) > (4, 0):
            fault("version", f"{what} version {major}.{minor} is above 4.0")
    if header_field(headers, "SectionAlignment") != 0x1000:
        fault("version", "section alignment is not 0x1000")
    if header_field(headers, "FileAlignment") != 0x200:
        fault("version", "file alignment is not 0x200")

    tls = re.search(r"^Entry 9 ([0-9a-f]+) ([0-9a-f]+)", headers, re.M)
    if is_dll and tls and int(tls.group(2), 16) != 0:
        fault("tls", "a TLS directory: Windows 95 refuses to load the DLL")

    shipped_sections = section_names(shipped)
    if ".CRT" in shipped_sections:
        fault("initialiser", "a .CRT table of C-runtime initialisers, which no start-up runs")
    names = {}
    for line in run(NM, symbols).splitlines():
        parts = line.split()
        if len(parts) == 3:
            names.setdefault(parts[2], int(parts[0], 16))
    relocations = (names.get("___RUNTIME_PSEUDO_RELOC_LIST_END__", 0) -
                   names.get("___RUNTIME_PSEUDO_RELOC_LIST__", 0))
    if relocations > 0 and "__pei386_runtime_relocator" not in names:
        fault("initialiser", "pseudo-relocations for imported data, which no start-up applies")
    # A DLL without start-up code, and an exe whose own start-up calls no __main (eolfix), never
    # run the constructor list.
    if is_dll or "___main" not in names:
        start, end = names.get("___CTOR_LIST__"), names.get("___DTOR_LIST__")
        if start is None or end is None:
            fault("initialiser", "no constructor list found in the symbols")
        elif (end - start) // 4 > 2:
            fault("initialiser", "static constructors, which a file without start-up code never "
                                 f"runs: {' '.join(constructor_names(symbols, start, end, names))}")

    _, code_names = functions(symbols)
    for start, hits in later_instructions(symbols).items():
        labels = code_names.get(start, ["(no symbol)"])
        if any(base_name(label).endswith("_sse2") for label in labels):
            continue
        function = next((label for label in labels if "(" in label), labels[0])
        address, text = hits[0]
        more = f" and {len(hits) - 1} more" if len(hits) > 1 else ""
        fault("instruction", f"{function}: '{text}' at {address}{more} needs a Pentium Pro "
                             "or later")

    if stripped:
        if "no symbols" not in run(OBJDUMP, "-t", shipped):
            fault("strip", "symbols left in the shipped file")
        debug = [s for s in shipped_sections if s.startswith(".debug")]
        if debug:
            fault("strip", f"debug sections left: {' '.join(debug)}")

    def contents(path):
        sections = [a for s in shipped_sections if not s.startswith(".debug") for a in ("-j", s)]
        return run(OBJDUMP, "-s", *sections, path).split("\n", 2)[-1]

    if contents(shipped) != contents(symbols):
        fault("mismatch", f"code or data differ from {symbols}")
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--stripped", action="store_true")
    parser.add_argument("--allowlist", default=os.path.join(HERE, "allowed_imports.txt"))
    parser.add_argument("--list", default="plugin")
    parser.add_argument("--expect", default=None)
    parser.add_argument("shipped")
    parser.add_argument("symbols", nargs="?")
    args = parser.parse_args()
    faults = check(args.shipped, args.symbols or args.shipped + ".symbols",
                   (args.list, *read_allowlist(args.allowlist, args.list)), args.stripped)
    for _, line in faults:
        print(line)
    kinds = {kind for kind, _ in faults}
    if args.expect is not None:
        expected = set(filter(None, args.expect.split(",")))
        if kinds != expected:
            print(f"check_binaries: expected faults {sorted(expected)}, found {sorted(kinds)}")
            return 1
        print(f"check_binaries: {args.shipped}: found the expected faults {sorted(expected)}")
        return 0
    if not faults:
        print(f"check_binaries: {args.shipped}: ok")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
