#!/usr/bin/python3
"""Checks the #include lines of src/ against the program's layering rules.

usage: check-layering.py SRC_DIR QT_HEADERS_DIR   prints every broken rule, exit 1 if any
       check-layering.py --self-test QT_HEADERS_DIR plants one break of each rule in a
                                                    small tree and expects each to be found

Paths in src/ are written from src/ ("ui/app/MeterTask.h", "print/…") or, in core, from
src/core ("app/Ui.h"); both name the same folders, so a path is resolved against either.
"""
import os
import re
import sys
import tempfile

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
CORE_FOLDERS = ("app", "archive", "calibration", "data", "meter", "programs", "qc")
SOURCE_SUFFIXES = (".h", ".cpp")

# Who may build the program's whole bag of services: Services itself and the two
# composition roots (the desktop's shell, the command line's context and start).
SERVICES_ROOTS = ("core/app/Services.h", "ui/shell/", "cli/CliContext.cpp", "cli/main.cpp")


def qt_module_headers(qt_headers, modules):
    """Class headers (<QWidget>, <QtWidgets/QWidget>) of the given Qt modules."""
    names = set()
    for module in modules:
        folder = os.path.join(qt_headers, module)
        if not os.path.isdir(folder):
            sys.exit(f"check-layering: no Qt headers in {folder}")
        for name in os.listdir(folder):
            names.add(name)
            names.add(f"{module}/{name}")
    return names


def normalised(path):
    """The include path from src/: core's own folders get their "core/" back."""
    first = path.split("/", 1)[0]
    return f"core/{path}" if first in CORE_FOLDERS else path


def sources(src):
    for folder, _, files in os.walk(src):
        for name in files:
            if name.endswith(SOURCE_SUFFIXES):
                full = os.path.join(folder, name)
                yield os.path.relpath(full, src).replace(os.sep, "/"), full


def includes(full):
    with open(full, encoding="utf-8", errors="replace") as f:
        for kind, path in INCLUDE.findall(f.read()):
            yield kind, path


def ui_folder(path):
    parts = path.split("/")
    return parts[1] if len(parts) > 2 and parts[0] == "ui" else None


def broken_rules(file, kind, path, gui_headers):
    """Every rule that `file` (from src/) breaks by including `path`."""
    if kind == "<":
        if file.startswith("core/") and path in gui_headers:
            yield "core uses no Qt Gui, Widgets or PrintSupport"
        return
    target = normalised(path)
    if file.startswith("core/") and target.startswith(("ui/", "print/", "cli/")):
        yield "core includes only core"
    if file.startswith("print/") and target.startswith(("ui/", "cli/")):
        yield "print includes only core and print"
    if file.startswith("cli/") and target.startswith("ui/"):
        yield "the command line never includes a window"
    if target.endswith("/frmMain.h") and not (file.startswith("ui/shell/") or file == "main.cpp"):
        yield "only the shell knows the main window"
    if target.endswith("app/Services.h") and not file.startswith(SERVICES_ROOTS):
        yield "only the composition roots include Services.h"
    folder = ui_folder(file)
    if folder and folder != "shell" and target.startswith("ui/shell/"):
        yield "no ui folder depends on the shell"
    if folder == "app" and target.startswith("ui/") and ui_folder(target) not in ("app", None):
        yield "ui/app depends on no other ui folder"


def check(src, qt_headers):
    gui = qt_module_headers(qt_headers, ("QtGui", "QtWidgets", "QtPrintSupport"))
    found = []
    for file, full in sorted(sources(src)):
        for kind, path in includes(full):
            for rule in broken_rules(file, kind, path, gui):
                found.append(f"src/{file}: #include {path}: {rule}")
    return found


# One break of each rule, and the includes the rules allow.
PLANTED = {
    "core/data/A.cpp": ['"ui/app/MeterTask.h"', "<QWidget>", '"print/PdfLinePrinter.h"'],
    "core/meter/B.cpp": ["<QtWidgets/QDialog>", '"app/Services.h"'],
    "print/C.cpp": ['"ui/app/Controls.h"', '"data/LinePrinter.h"'],
    "cli/D.cpp": ['"ui/data/frmDocument.h"', '"app/Ui.h"'],
    "ui/data/E.cpp": ['"ui/shell/frmMain.h"', '"ui/app/MeterTask.h"', '"app/Services.h"'],
    "ui/app/F.cpp": ['"ui/data/frmDocument.h"', '"ui/app/Controls.h"'],
    "ui/shell/G.cpp": ['"ui/shell/frmMain.h"', '"app/Services.h"', '"ui/data/frmDocument.h"'],
    "cli/CliContext.cpp": ['"app/Services.h"'],
    "cli/E.cpp": ['"app/Services.h"'],
    "main.cpp": ['"ui/shell/frmMain.h"'],
}
EXPECTED = {
    ("core/data/A.cpp", "ui/app/MeterTask.h"),
    ("core/data/A.cpp", "QWidget"),
    ("core/data/A.cpp", "print/PdfLinePrinter.h"),
    ("core/meter/B.cpp", "QtWidgets/QDialog"),
    ("core/meter/B.cpp", "app/Services.h"),
    ("print/C.cpp", "ui/app/Controls.h"),
    ("cli/D.cpp", "ui/data/frmDocument.h"),
    ("cli/E.cpp", "app/Services.h"),
    ("ui/data/E.cpp", "ui/shell/frmMain.h"),
    ("ui/data/E.cpp", "app/Services.h"),
    ("ui/app/F.cpp", "ui/data/frmDocument.h"),
}


def self_test(qt_headers):
    with tempfile.TemporaryDirectory() as src:
        for file, lines in PLANTED.items():
            os.makedirs(os.path.dirname(os.path.join(src, file)) or src, exist_ok=True)
            with open(os.path.join(src, file), "w", encoding="utf-8") as f:
                f.write("".join(f"#include {line}\n" for line in lines))
        found = {(line.split(": ")[0][4:], line.split(": ")[1][len("#include "):])
                 for line in check(src, qt_headers)}
    missed = EXPECTED - found
    extra = found - EXPECTED
    for file, path in sorted(missed):
        print(f"not found: {file} including {path}")
    for file, path in sorted(extra):
        print(f"wrongly found: {file} including {path}")
    return 1 if missed or extra else 0


def main(argv):
    if len(argv) == 3 and argv[1] == "--self-test":
        return self_test(argv[2])
    if len(argv) != 3:
        print(__doc__)
        return 2
    found = check(argv[1], argv[2])
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
