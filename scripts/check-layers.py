#!/usr/bin/env python3
"""Refuses includes against the direction of the project's layers.

model/ uses nothing of ours; blocks/ uses model/; table/ and display/ use
both; app/ uses everything. Outside the Qt folders (display/qt/ and every
ui/ folder) the core includes no Qt header and no header of a Qt folder.
Prints each offending include with its file and line; exit 1 when any.
"""
import os
import re
import sys

ALLOWED = {
    "model": {"model"},
    "blocks": {"model", "blocks"},
    "table": {"model", "blocks", "table"},
    "display": {"model", "blocks", "display"},
}
OURS = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/([^"]*)"')
QT = re.compile(r"^\s*#\s*include\s+<Q")


def in_qt_folder(parts):
    return "ui" in parts[1:-1] or (parts[0] == "display" and len(parts) > 2 and parts[1] == "qt")


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    problems = []
    for layer, allowed in ALLOWED.items():
        for folder, _, files in os.walk(os.path.join(root, layer)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                rel = os.path.relpath(path, root)
                parts = rel.split(os.sep)
                qt_allowed = in_qt_folder(parts)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = OURS.match(line)
                        if m:
                            top, rest = m.group(1), m.group(2)
                            target = rest.split("/")
                            into_qt = "ui" in target[:-1] or (top == "display" and target[0] == "qt")
                            if top not in allowed:
                                problems.append(f"{rel}:{number}: {layer}/ may not include {top}/: {line.strip()}")
                            elif into_qt and not qt_allowed:
                                problems.append(f"{rel}:{number}: Qt-free code includes a Qt folder: {line.strip()}")
                        elif QT.match(line) and not qt_allowed:
                            problems.append(f"{rel}:{number}: Qt-free code includes Qt: {line.strip()}")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
