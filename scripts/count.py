#!/usr/bin/env python3
"""Adds up GoogleTest XML reports (and plain result lines) into one closing count, and says how
much of the C++ code is tests: non-blank lines that are not // comments, of .c, .cpp and .h files
under src and hooklib (the product) against tests and fuzz."""
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def code_lines(*folders):
    try:
        files = subprocess.run(["git", "-C", ROOT, "ls-files", "--", *folders], check=True,
                               capture_output=True, text=True).stdout.split()
    except (OSError, subprocess.CalledProcessError):  # not a git checkout: every file there
        files = [os.path.relpath(os.path.join(d, f), ROOT) for folder in folders
                 for d, _, names in os.walk(os.path.join(ROOT, folder)) for f in names]
    total = 0
    for f in files:
        if re.search(r"\.(c|cc|cpp|h|hpp)$", f) and os.path.isfile(os.path.join(ROOT, f)):
            with open(os.path.join(ROOT, f), encoding="utf-8", errors="replace") as text:
                total += sum(1 for line in text if not re.match(r"^\s*(//.*)?$", line))
    return total


passed = failed = skipped = 0
for path in sys.argv[1:]:
    if path.endswith(".txt"):
        for line in open(path):
            word, _, name = line.strip().partition(" ")
            if word == "PASS":
                passed += 1
            elif word == "FAIL":
                failed += 1
                print(f"FAILED: {name}")
        continue
    try:
        root = ET.parse(path).getroot()
    except Exception as e:  # a runner that crashed left no report: count it as one failure
        print(f"FAILED: {path}: no readable report ({e})")
        failed += 1
        continue
    for case in root.iter("testcase"):
        name = f"{case.get('classname')}.{case.get('name')}"
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
            print(f"FAILED: {name}")
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
product, tests = code_lines("src", "hooklib"), code_lines("tests", "fuzz")
if product + tests:
    print(f"code: {product} lines of product (src, hooklib), {tests} of tests (tests, fuzz): "
          f"tests are {100 * tests // (product + tests)}% (aim: 25-33%)")
print(f"{passed} passed, {failed} failed, {skipped} skipped")
sys.exit(1 if failed else 0)
