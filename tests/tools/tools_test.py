#!/usr/bin/env python3
"""End-to-end tests of veldrin: play through the real plugin libraries
(natively, or the Windows program with the real DLLs under Wine) against a
golden transcript, and the check and map commands as an operator runs them.

Usage: tools_test.py --veldrin PROGRAM --examples DIR [--wine WINE] play NAME|check-golden
       tools_test.py --veldrin PROGRAM --examples DIR check-cli|check-golden|fix-encoding|map-svg|play-in-place
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "..", "..", "tools", "testdata", "check")
SKIP = 77

# Extra options of each playtest; every one runs on the bundled example.
PLAY_OPTIONS = {
    "ending": ["--no-pause"],
    "death": ["--no-pause"],
    "from": ["--no-pause", "--from", "1122", "--story", "迷雾森林"],
    "pause": [],
}


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def show_difference(expected, actual):
    for i, (e, a) in enumerate(zip(expected + [""] * len(actual), actual + [""] * len(expected))):
        if e != a:
            print("line %d\n  expected: %r\n  actual:   %r\n  actual bytes: %s" % (i + 1, e, a, a.encode("utf-8").hex(" ")))
            break


def play(args, name):
    with tempfile.TemporaryDirectory() as work:
        # A run directory of its own, with a Chinese name as operators have them.
        run_dir = os.path.join(work, "运行目录")
        shutil.copytree(args.examples, run_dir)
        play_in(args, name, run_dir)


def play_in(args, name, run_dir):
    command = [args.veldrin]
    encoding = "utf-8"
    dir_option = run_dir
    if args.wine:
        # The Windows program in the console's code page (936 under the zh_CN locale).
        command = [args.wine, args.veldrin]
        dir_option = subprocess.run([args.wine, "winepath", "-w", run_dir], capture_output=True, text=True).stdout.strip()
        encoding = "gbk"
    command += ["play", "--dir", dir_option, "--script", "-"] + PLAY_OPTIONS[name]
    with open(os.path.join(HERE, "play", name + ".in"), encoding="utf-8") as f:
        script = f.read()
    before = snapshot(run_dir)
    result = subprocess.run(command, input=script.encode(encoding), capture_output=True, timeout=300)
    if result.returncode != 0:
        fail("exit status %d\n%s" % (result.returncode, result.stderr.decode(encoding, "replace")))
    actual = result.stdout.decode(encoding).replace("\r", "").splitlines()
    with open(os.path.join(HERE, "play", name + ".txt"), encoding="utf-8") as f:
        expected = f.read().splitlines()
    if actual != expected:
        show_difference(expected, actual)
        fail("transcript differs from play/%s.txt" % name)
    if snapshot(run_dir) != before:
        fail("the playtest changed the game files of the run directory")


def play_in_place(args):
    """--in-place plays on the run directory's own files."""
    with tempfile.TemporaryDirectory() as work:
        run_dir = os.path.join(work, "运行目录")
        shutil.copytree(args.examples, run_dir)
        result = subprocess.run([args.veldrin, "play", "--dir", run_dir, "--in-place", "--no-pause", "--script", "-"],
                                input="#开始 迷雾森林\n2\n".encode("utf-8"), capture_output=True, timeout=300)
        with open(os.path.join(run_dir, "config", "Veldrin", "生存配置.ini"), "rb") as f:
            config = f.read().decode("gbk")
        if result.returncode != 0 or "[10001]" not in config or "进度=12" not in config:
            fail("the group's progress is not in the run directory's own file:\n" + config)


def snapshot(directory):
    files = {}
    for root, _, names in os.walk(directory):
        for n in names:
            with open(os.path.join(root, n), "rb") as f:
                files[os.path.join(root, n)] = f.read()
    return files


def run(args, *options):
    return subprocess.run([args.veldrin] + list(options), capture_output=True, timeout=120)


def check_cli(args):
    story = os.path.join(args.examples, "config", "Veldrin", "迷雾森林.ini")
    config = os.path.join(args.examples, "config", "Veldrin", "生存配置.ini")
    clean = run(args, "check", "--config", config, story)
    if clean.returncode != 0:
        fail("the bundled example is not clean:\n" + clean.stdout.decode())
    broken = run(args, "check", "--no-summary", os.path.join(FIXTURES, "no_start.ini"))
    if broken.returncode != 1:
        fail("an error must give exit status 1, not %d" % broken.returncode)
    warned = run(args, "check", os.path.join(FIXTURES, "gap.ini"))
    if warned.returncode != 0 or b" warning W130: " not in warned.stdout:
        fail("warnings inform but do not fail: status %d\n%s" % (warned.returncode, warned.stdout.decode()))
    report = json.loads(run(args, "check", "--json", "--lang", "en", os.path.join(FIXTURES, "no_start.ini")).stdout)
    codes = [d["code"] for d in report["diagnostics"] if d["severity"] != "note"]
    if codes != ["E102"] or report["diagnostics"][0]["line"] != 1:
        fail("JSON diagnostics: %r" % report["diagnostics"])


def fix_encoding(args):
    with tempfile.TemporaryDirectory() as work:
        for name in ("utf8.ini", "bom.ini"):
            path = os.path.join(work, name)
            shutil.copy(os.path.join(FIXTURES, name), path)
            with open(path, "rb") as f:
                original = f.read()
            result = run(args, "check", "--fix-encoding", "--no-summary", path)
            if result.returncode != 0 or b" note N005: " not in result.stdout:
                fail("%s: status %d\n%s" % (name, result.returncode, result.stdout.decode()))
            with open(path + ".bak", "rb") as f:
                if f.read() != original:
                    fail(name + ": the backup is not the original")
            with open(path, "rb") as f:
                converted = f.read()
            if converted.decode("gbk") != original.decode("utf-8-sig"):
                fail(name + ": the converted file does not hold the same text in GBK")
            again = run(args, "check", "--no-summary", path)
            if again.returncode != 0 or b" W001" in again.stdout or b" E002" in again.stdout:
                fail(name + ": still reported after the conversion:\n" + again.stdout.decode())
        # A character without a GBK form: refused, and the file is left alone.
        path = os.path.join(work, "emoji.ini")
        with open(path, "wb") as f:
            f.write("[1]\r\n开始=😀\r\n".encode("utf-8"))
        result = run(args, "check", "--fix-encoding", path)
        if result.returncode != 1 or b" error E004: " not in result.stdout or os.path.exists(path + ".bak"):
            fail("an unconvertible file: status %d\n%s" % (result.returncode, result.stdout.decode()))


def check_golden(args):
    """Every checker fixture, the bundled example with its summary and its
    map, against one golden file: the same for the native and the Windows
    program."""
    command = [args.wine, args.veldrin] if args.wine else [args.veldrin]
    command += ["--encoding", "utf-8"]
    runs = []
    for name in sorted(os.listdir(FIXTURES)):
        options = ["--config", name] if name.startswith("config_") else [name]
        runs.append((FIXTURES, ["check", "--no-summary"] + options))
    game = os.path.join(args.examples, "config", "Veldrin")
    runs.append((game, ["check", "--config", "生存配置.ini", "迷雾森林.ini"]))
    runs.append((game, ["map", "迷雾森林.ini"]))
    actual = []
    for directory, options in runs:
        result = subprocess.run(command + options, cwd=directory, capture_output=True, timeout=120)
        actual.append("$ veldrin %s  (exit %d)" % (" ".join(options), result.returncode))
        actual += result.stdout.decode("utf-8").replace("\r", "").splitlines()
    with open(os.path.join(HERE, "check_and_map.txt"), encoding="utf-8") as f:
        expected = f.read().splitlines()
    if actual != expected:
        show_difference(expected, actual)
        fail("output differs from check_and_map.txt")


def map_svg(args):
    story = os.path.join(args.examples, "config", "Veldrin", "迷雾森林.ini")
    with tempfile.TemporaryDirectory() as work:
        dot = os.path.join(work, "map.dot")
        result = run(args, "map", story, "-o", dot)
        with open(dot, encoding="utf-8") as f:
            if result.returncode != 0 or not f.read().startswith("digraph story {"):
                fail("-o must write the DOT graph")
    if shutil.which("dot") is None:
        print("Graphviz is not installed")
        sys.exit(SKIP)
    with tempfile.TemporaryDirectory() as work:
        svg = os.path.join(work, "map.svg")
        result = run(args, "map", story, "--svg", svg)
        if result.returncode != 0:
            fail(result.stderr.decode())
        with open(svg, encoding="utf-8") as f:
            text = f.read()
    counts = {kind: text.count('class="node %s"' % kind) for kind in ("root", "way_on", "dead_end", "ending", "unreached")}
    if counts != {"root": 1, "way_on": 13, "dead_end": 7, "ending": 3, "unreached": 0}:
        fail("node kinds in the SVG: %r" % counts)
    if text.count('class="edge"') != 23 or "你终于走出了迷雾" not in text:
        fail("edges or labels missing from the SVG")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--veldrin", required=True)
    parser.add_argument("--examples", required=True)
    parser.add_argument("--wine")
    parser.add_argument("test")
    parser.add_argument("name", nargs="?")
    args = parser.parse_args()
    if args.test == "play":
        play(args, args.name)
    else:
        {"check-cli": check_cli, "check-golden": check_golden, "fix-encoding": fix_encoding, "map-svg": map_svg,
         "play-in-place": play_in_place}[args.test](args)
    print("ok")


if __name__ == "__main__":
    main()
