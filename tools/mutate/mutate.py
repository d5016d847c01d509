#!/usr/bin/env python3
"""Mutation runs: how many realistic faults does the suite catch?

Applies each edit of a list, one at a time, to a scratch copy of the project,
builds it, runs the tests that need no display and reports every edit the
tests did not catch. Edits marked `equivalent:` change no behaviour (the
reason says why); they are listed by name and not run.

The list is a text file of blocks:

    [name]
    kind: what sort of fault this is
    file: path/relative/to/the/project.cpp
    find: text that occurs exactly once in the file (\\n for a line break)
    replace: what it becomes (empty: the text is removed)
    equivalent: why it changes nothing     (optional)

Usage: mutate.py [--list FILE] [--work DIR] [--only NAME ...] [--check]
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def parse_edits(path):
    edits, current = [], None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            header = re.fullmatch(r"\[([A-Za-z0-9_.-]+)\]", line.strip())
            if header:
                current = {"name": header.group(1), "line": number}
                edits.append(current)
                continue
            field = re.fullmatch(r"(kind|file|find|replace|equivalent):(?: (.*))?", line)
            if not field or current is None:
                sys.exit(f"{path}:{number}: expected '[name]' or 'field: value', got {line!r}")
            value = (field.group(2) or "").replace("\\n", "\n")
            current[field.group(1)] = value
    names = set()
    for e in edits:
        for key in ("kind", "file", "find"):
            if key not in e:
                sys.exit(f"{path}:{e['line']}: edit [{e['name']}] has no '{key}:'")
        e.setdefault("replace", "")
        if e["name"] in names:
            sys.exit(f"{path}:{e['line']}: a second edit named [{e['name']}]")
        names.add(e["name"])
    return edits


def check_applies(edit, root):
    path = os.path.join(root, edit["file"])
    if not os.path.exists(path):
        return f"{edit['file']} does not exist"
    count = open(path, encoding="utf-8").read().count(edit["find"])
    if count != 1:
        return f"its text occurs {count} times in {edit['file']}, not once"
    return None


def run(cmd, cwd, timeout=None):
    return subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, timeout=timeout)


def project_files():
    out = run(["git", "ls-files", "-co", "--exclude-standard"], ROOT).stdout.split("\n")
    return [f for f in out if f and os.path.isfile(os.path.join(ROOT, f))]


def sync_copy(src_dir):
    """Copies the project's files into src_dir, touching only files that differ."""
    wanted = set(project_files())
    for rel in wanted:
        src, dst = os.path.join(ROOT, rel), os.path.join(src_dir, rel)
        if os.path.exists(dst) and open(src, "rb").read() == open(dst, "rb").read():
            continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copy2(src, dst)
    for base, _, files in os.walk(src_dir):
        for name in files:
            rel = os.path.relpath(os.path.join(base, name), src_dir)
            if rel not in wanted:
                os.remove(os.path.join(base, name))


def failing_test(output):
    m = re.search(r"Test\s+#\d+: (\S+) \.+\s*\*+(?:Failed|Timeout|Exception)", output)
    if m:
        return m.group(1)
    m = re.search(r"The following tests FAILED:\s*\n\s*\d+ - (\S+)", output)
    return m.group(1) if m else "?"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--list", default=os.path.join(ROOT, "tools", "mutate", "edits.txt"))
    parser.add_argument("--work", default=os.environ.get("MK_MUTATE_DIR", "/tmp/mk-mutate"))
    parser.add_argument("--only", nargs="*", default=None, help="run only these edits")
    parser.add_argument("--check", action="store_true", help="only check that every edit applies")
    parser.add_argument("--jobs", default=str(os.cpu_count() or 2))
    args = parser.parse_args()

    edits = parse_edits(args.list)
    if args.only is not None:
        unknown = set(args.only) - {e["name"] for e in edits}
        if unknown:
            sys.exit(f"no such edits: {', '.join(sorted(unknown))}")
        edits = [e for e in edits if e["name"] in args.only]
    problems = [(e["name"], p) for e in edits if (p := check_applies(e, ROOT))]
    for name, problem in problems:
        print(f"[{name}] does not apply: {problem}")
    if problems:
        sys.exit(2)
    active = [e for e in edits if "equivalent" not in e]
    equivalent = [e for e in edits if "equivalent" in e]
    print(f"{len(edits)} edits: {len(active)} to run, {len(equivalent)} equivalent")
    if args.check:
        return

    src, build = os.path.join(args.work, "src"), os.path.join(args.work, "build")
    os.makedirs(src, exist_ok=True)
    sync_copy(src)
    if not os.path.exists(os.path.join(build, "build.ninja")):
        corpus = os.path.normpath(os.path.join(ROOT, "..", "shared", "corpus"))
        r = run(["cmake", "-S", src, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                 f"-DMK_CORPUS_DIR={corpus}"], ROOT)
        if r.returncode != 0:
            sys.exit("configure failed:\n" + r.stdout[-3000:])
    build_cmd = ["cmake", "--build", build, "-j", args.jobs]
    test_cmd = ["ctest", "-LE", "e2e", "-j", args.jobs, "--timeout", "120", "--stop-on-failure"]

    print("building and testing the unchanged copy ...", flush=True)
    r = run(build_cmd, ROOT)
    if r.returncode != 0:
        sys.exit("the unchanged copy does not build:\n" + r.stdout[-3000:])
    r = run(test_cmd, build)
    if r.returncode != 0:
        sys.exit(f"the unchanged copy fails its tests ({failing_test(r.stdout)}): fix that first")

    results = []
    for i, e in enumerate(active, 1):
        path = os.path.join(src, e["file"])
        original = open(path, encoding="utf-8").read()
        started = time.time()
        try:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original.replace(e["find"], e["replace"], 1))
            r = run(build_cmd, ROOT)
            if r.returncode != 0:
                outcome, detail = "no-build", "does not compile"
            else:
                try:
                    t = run(test_cmd, build, timeout=900)
                    outcome, detail = ("killed", failing_test(t.stdout)) if t.returncode != 0 else ("survived", "")
                except subprocess.TimeoutExpired:
                    outcome, detail = "killed", "the tests hung"
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)
            os.utime(path)  # newer than the mutant's object, so it is rebuilt
        results.append((e, outcome, detail))
        print(f"[{i}/{len(active)}] {e['name']}: {outcome} {detail} ({time.time() - started:.0f} s)", flush=True)

    killed = [r for r in results if r[1] == "killed"]
    survived = [r for r in results if r[1] == "survived"]
    broken = [r for r in results if r[1] == "no-build"]
    print()
    print("Survived (the tests did not notice):")
    for e, _, _ in survived:
        print(f"  {e['name']}  ({e['kind']}; {e['file']})")
    if not survived:
        print("  none")
    if broken:
        print("Did not compile (fix the edit):")
        for e, _, _ in broken:
            print(f"  {e['name']}")
    print("Equivalent, not run:")
    for e in equivalent:
        print(f"  {e['name']}: {e['equivalent']}")
    counted = len(killed) + len(survived)
    rate = 100.0 * len(killed) / counted if counted else 0.0
    print(f"\nkilled {len(killed)} of {counted} ({rate:.1f} %)")
    sys.exit(0 if not broken else 1)


if __name__ == "__main__":
    main()
