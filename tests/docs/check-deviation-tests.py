#!/usr/bin/python3
"""Every deviation in docs/decisions.md names the tests that show it; this check fails
when a cited test no longer exists, when an entry cites none without saying "no test",
or when an id is used twice, so the list cannot drift away from the suite.

Usage: check-deviation-tests.py DEVIATIONS.md TESTS_DIR
"""
import pathlib
import re
import sys

ENTRY = re.compile(r"^- \*\*(D-[A-Z]+-\d+)\*\*(.*?)(?=^- \*\*D-|^#|\Z)", re.M | re.S)
CITED = re.compile(r"`([A-Za-z_]\w*)\.(\*|[A-Za-z_]\w*)`")
DEFINED = re.compile(r"\b(?:TEST|TEST_F|TEST_P|TYPED_TEST)\(\s*(\w+)\s*,\s*(\w+)\s*\)")


def defined_tests(tests_dir):
    names = set()
    for source in pathlib.Path(tests_dir).rglob("*.cpp"):
        names.update(DEFINED.findall(source.read_text(encoding="utf-8", errors="replace")))
    return names


def check(deviations_file, tests_dir):
    tests = defined_tests(tests_dir)
    suites = {suite for suite, _ in tests}
    text = pathlib.Path(deviations_file).read_text(encoding="utf-8")
    problems, seen = [], set()
    entries = ENTRY.findall(text)
    if not entries:
        problems.append("no deviation entries found")
    for ident, body in entries:
        if ident in seen:
            problems.append(f"{ident}: id used twice")
        seen.add(ident)
        tests_part = body.split("Tests:", 1)
        if len(tests_part) < 2:
            if "No test" not in body:
                problems.append(f"{ident}: neither 'Tests:' nor 'No test'")
            continue
        cited = CITED.findall(tests_part[1])
        if not cited:
            problems.append(f"{ident}: 'Tests:' cites no Suite.Name")
        for suite, name in cited:
            found = suite in suites if name == "*" else (suite, name) in tests
            if not found:
                problems.append(f"{ident}: `{suite}.{name}` is not a test in {tests_dir}")
    for problem in problems:
        print(problem, file=sys.stderr)
    print(f"{len(entries)} deviations, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(check(sys.argv[1], sys.argv[2]))
