#!/usr/bin/env python3
"""Checks a plugin DLL's PE export directory and import list.

The export directory must name the library, start its ordinals at 1 and hold
exactly the five exports, their names as code-page-936 bytes in ascending byte
order with the ordinals following that order. The import list may name
Windows system libraries only, so the DLL works when dropped alone into the
host's folder.

Usage: pe_check.py <plugin.dll> <library name>
"""
import struct
import sys

EXPORTS = [b"info", b"plugmain", "获取昵称".encode("gbk"), "取文本之间".encode("gbk"), "去空格换行".encode("gbk")]
SYSTEM_LIBRARIES = {"kernel32.dll", "user32.dll", "msvcrt.dll", "wininet.dll", "advapi32.dll",
                    "ws2_32.dll", "shell32.dll", "ole32.dll", "gdi32.dll", "ntdll.dll"}


class Pe:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        machine, nsections, _, _, _, opt_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        if machine != 0x14C:
            raise ValueError("not a 32-bit x86 image (machine %#x)" % machine)
        opt = pe + 24
        if struct.unpack_from("<H", data, opt)[0] != 0x10B:
            raise ValueError("not a PE32 optional header")
        self.directories = [struct.unpack_from("<II", data, opt + 96 + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(nsections):
            off = opt + opt_size + 40 * i
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, off + 8)
            self.sections.append((va, max(vsize, rawsize), rawptr))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError("RVA %#x outside every section" % rva)

    def u32(self, rva):
        return struct.unpack_from("<I", self.data, self.offset(rva))[0]

    def u16(self, rva):
        return struct.unpack_from("<H", self.data, self.offset(rva))[0]

    def cstr(self, rva):
        off = self.offset(rva)
        return self.data[off:self.data.index(b"\0", off)]


def check(path, library):
    pe = Pe(open(path, "rb").read())
    problems = []
    rva, size = pe.directories[0]
    if rva == 0:
        return ["no export directory"]
    (_, _, _, _, name_rva, base, nfunctions, nnames, functions, names, ordinals) = struct.unpack_from(
        "<IIHHIIIIIII", pe.data, pe.offset(rva))
    name = pe.cstr(name_rva)
    if name != library.encode():
        problems.append("library name %r, expected %r" % (name, library))
    if base != 1:
        problems.append("ordinal base %d, expected 1" % base)
    if nfunctions != len(EXPORTS) or nnames != len(EXPORTS):
        problems.append("%d functions and %d names, expected %d" % (nfunctions, nnames, len(EXPORTS)))
    got = [pe.cstr(pe.u32(names + 4 * i)) for i in range(nnames)]
    if got != EXPORTS:
        problems.append("names %s, expected %s" % ([n.hex(" ") for n in got], [n.hex(" ") for n in EXPORTS]))
    if got != sorted(got):
        problems.append("names not in ascending byte order")
    for i in range(nnames):
        index = pe.u16(ordinals + 2 * i)
        if index != i:
            problems.append("name %d has ordinal %d, expected %d" % (i, base + index, base + i))
    for i in range(nfunctions):
        target = pe.u32(functions + 4 * i)
        if target == 0 or rva <= target < rva + size:
            problems.append("ordinal %d is empty or forwarded" % (base + i))

    rva, _ = pe.directories[1]
    imported = []
    while rva:
        lookup, _, _, name_rva, thunks = struct.unpack_from("<IIIII", pe.data, pe.offset(rva))
        if name_rva == 0:
            break
        imported.append(pe.cstr(name_rva).decode("ascii", "replace").lower())
        rva += 20
    for lib in imported:
        if lib not in SYSTEM_LIBRARIES and not lib.startswith("api-ms-win-"):
            problems.append("imports %s, which is not a Windows system library" % lib)
    if pe.directories[13][0]:
        problems.append("has a delay-load import table")
    print("%s: exports %s; imports %s" % (path, ", ".join(n.decode("gbk") for n in got), ", ".join(imported)))
    return problems


if __name__ == "__main__":
    problems = check(sys.argv[1], sys.argv[2])
    for p in problems:
        print("FAIL", p)
    sys.exit(1 if problems else 0)
