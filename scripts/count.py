#!/usr/bin/env python3
"""Adds up GoogleTest XML reports (and plain result lines) into one closing count."""
import sys
import xml.etree.ElementTree as ET

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
print(f"{passed} passed, {failed} failed, {skipped} skipped")
sys.exit(1 if failed else 0)
