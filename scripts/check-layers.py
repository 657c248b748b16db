#!/usr/bin/env python3
"""Refuses includes against the direction of the project's layers.

Every top-level folder of code is one layer and may include only the layers
ALLOWED names for it (and itself). A folder's qt/ and ui/ subfolders may use
what the folder may use, and also the qt/ and ui/ folders of those layers;
viewer/ui, the desktop program, may use everything. No Qt header, and no
header of a qt/ or ui/ folder, is included outside a qt/ or ui/ folder.
Prints each offending include with its file and line; exit 1 when any.
"""
import os
import re
import sys

ALLOWED = {
    "model": set(),
    "blocks": {"model"},
    "table": {"model", "blocks"},
    "display": {"model", "blocks"},
    "object": {"model", "blocks", "display"},
    # The options of the table import are stored among the settings.
    "settings": {"model", "table"},
    "viewer": {"model", "blocks", "table", "display", "object", "settings"},
    "cli": {"model", "blocks", "table", "display", "object"},
}
# Folders whose qt/ or ui/ part may include anything of ours.
EVERYTHING = {("viewer", "ui")}

OURS = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/([^"]*)"')
QT = re.compile(r"^\s*#\s*include\s+<Q")
QT_PARTS = {"qt", "ui"}


def qt_part(parts):
    """The Qt subfolder ("qt" or "ui") a path below a layer lies in, or None."""
    return parts[1] if len(parts) > 2 and parts[1] in QT_PARTS else None


def check_include(layer, own_qt, top, rest):
    """The problem with including top/rest from a file of `layer`, or None."""
    if top not in ALLOWED:
        return None  # not a layer (tests/, system folders)
    target_qt = qt_part([top] + rest.split("/"))
    if own_qt and (layer, own_qt) in EVERYTHING:
        return None
    if top != layer and top not in ALLOWED[layer]:
        return f"{layer}/ may not include {top}/"
    if target_qt and not own_qt:
        return "Qt-free code includes a Qt folder"
    return None


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    problems = []
    for layer in ALLOWED:
        for folder, dirs, files in os.walk(os.path.join(root, layer)):
            dirs.sort()
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                rel = os.path.relpath(path, root)
                own_qt = qt_part(rel.split(os.sep))
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = OURS.match(line)
                        if m:
                            problem = check_include(layer, own_qt, m.group(1), m.group(2))
                            if problem:
                                problems.append(f"{rel}:{number}: {problem}: {line.strip()}")
                        elif QT.match(line) and not own_qt:
                            problems.append(f"{rel}:{number}: Qt-free code includes Qt: {line.strip()}")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
