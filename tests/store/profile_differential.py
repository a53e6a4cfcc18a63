#!/usr/bin/env python3
"""Runs the profile cases through the Windows probe under Wine and through the
native probe, and reports every read result and final file that differ.

Exit status 0 when every case agrees, apart from the cases listed with
"differs" in the case file (known differences, each with its reason).
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile


def run(command, cwd):
    done = subprocess.run(command, cwd=cwd, capture_output=True, timeout=600)
    if done.returncode != 0:
        sys.exit("%s failed (%d): %s" % (command[0], done.returncode, done.stderr.decode(errors="replace")))
    return done.stdout.decode("ascii")


def parse(output):
    """The cases in order, each (name, lines of results)."""
    cases = []
    for line in output.splitlines():
        if line.startswith("case "):
            cases.append((line[5:], []))
        elif cases:
            cases[-1][1].append(line)
    return cases


def readable(hex_text):
    data = bytes.fromhex(hex_text)
    if len(data) > 300:
        return "%d bytes: %s ... %s" % (len(data), readable(data[:120].hex()), readable(data[-120:].hex()))
    out = []
    for b in data:
        c = chr(b)
        out.append(c if 0x20 <= b < 0x7F and c != "\\" else "\\x%02X" % b)
    return "".join(out)


def known_differences(path):
    """For each case of the file in order, its listed reason or None."""
    known = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("case "):
                known.append(None)
            elif line.startswith("differs ") and known:
                known[-1] = line[len("differs "):]
    return known


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--cases", required=True)
    p.add_argument("--windows", required=True)
    p.add_argument("--native", required=True)
    p.add_argument("--wine", default="wine")
    a = p.parse_args()
    a.cases, a.windows, a.native = (os.path.abspath(x) for x in (a.cases, a.windows, a.native))

    with tempfile.TemporaryDirectory() as wdir, tempfile.TemporaryDirectory() as ndir:
        windows = parse(run([a.wine, a.windows, a.cases, "Z:" + wdir.replace("/", "\\")], wdir))
        native = parse(run([a.native, a.cases, ndir], ndir))
    known = known_differences(a.cases)

    failures = 0
    if [n for n, _ in windows] != [n for n, _ in native]:
        print("the two probes ran different cases")
        return 1
    for (name, expected), (_, got), reason in zip(windows, native, known):
        if got == expected:
            if reason:
                print("note: case '%s' is listed as differing but agrees" % name)
            continue
        if reason:
            print("known difference in '%s': %s" % (name, reason))
            continue
        failures += 1
        print("DIFFERENT: %s" % name)
        for i in range(max(len(expected), len(got))):
            e = expected[i] if i < len(expected) else "(nothing)"
            n = got[i] if i < len(got) else "(nothing)"
            if e == n:
                continue
            label = e.split(":")[0]
            print("  %s" % label)
            for who, line in (("windows", e), ("native ", n)):
                value = line.split(": ", 1)[1] if ": " in line else line
                shown = value if value == "none" or not re.fullmatch(r"[0-9A-F]*", value) else readable(value)
                print("    %s: %s" % (who, shown))
                if value != "none" and re.fullmatch(r"[0-9A-F]*", value) and len(value) <= 200:
                    print("             hex %s" % value)
    print("%d cases, %d different, %d known differences" % (len(windows), failures, sum(1 for r in known if r)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
