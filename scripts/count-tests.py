#!/usr/bin/env python3
"""Counts passed and failed test cases of one CTest run.

Usage: count-tests.py JUNIT_FILE GTEST_XML_DIR

JUNIT_FILE is CTest's --output-junit report (one entry per test program). GTEST_XML_DIR holds the
XML reports the GoogleTest programs wrote (GTEST_OUTPUT=xml:DIR/), named after their program.
A program with a GoogleTest report counts its individual cases; a program without one (it
crashed, timed out, or is not a GoogleTest program) counts as one case with CTest's verdict.
Prints "PASSED FAILED".
"""
import os
import sys
import xml.etree.ElementTree as ET


def gtest_counts(path):
    passed = failed = 0
    for case in ET.parse(path).getroot().iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("status", "run") == "run" and case.get("result", "completed") == "completed":
            passed += 1
    return passed, failed


def main(junit, xml_dir):
    passed = failed = 0
    if not os.path.exists(junit):
        print(0, 0)
        return
    for entry in ET.parse(junit).getroot().iter("testcase"):
        name = entry.get("name")
        status = entry.get("status")
        report = os.path.join(xml_dir, name + ".xml")
        if status == "disabled" or status == "notrun" and entry.find("skipped") is not None:
            continue
        if os.path.exists(report):
            p, f = gtest_counts(report)
            # A program that failed without a failing case (a crash after the report, say) still fails.
            if status != "run" and f == 0:
                f = 1
            passed += p
            failed += f
        elif status == "run":
            passed += 1
        else:
            failed += 1
    print(passed, failed)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
