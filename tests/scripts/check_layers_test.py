#!/usr/bin/env python3
"""The layer check against a small tree of its own: the includes it must
refuse (the probe: Qt and a dialog in the document's rules, Qt in the
object data) and the ones it must let through."""
import os
import subprocess
import sys
import tempfile

CHECK = sys.argv[1]

ALLOWED_FILES = {
    "model/CJwwDoc.cpp": ['#include "model/JwwStream.h"', "#include <vector>"],
    "table/CCsvDoc.cpp": ['#include "blocks/BlockRegistry.h"'],
    "settings/AppSettings.h": ['#include "table/TableOptions.h"'],
    "object/ui/CCopyDlg.cpp": ["#include <QDialog>", '#include "display/qt/QtCanvas.h"'],
    "viewer/DrawingDocument.cpp": ['#include "settings/AppSettings.h"', '#include "object/NativeData.h"'],
    "viewer/ui/CTolvaniApp.cpp": ['#include "cli/CliSupport.h"', '#include "settings/ui/CPropSheet.h"'],
    "cli/qt/CmdRender.cpp": ['#include "display/qt/DrawingExport.h"', "#include <QImage>"],
}
PROBE_FILES = {
    "viewer/DrawingDocument.cpp": ["#include <QWidget>", '#include "viewer/ui/CAboutDlg.h"'],
    "object/NativeData.cpp": ["#include <QImage>"],
    "model/CJwwDoc.cpp": ['#include "blocks/BlockRegistry.h"'],
    "settings/ui/CPropSheet.cpp": ['#include "viewer/ui/CMainFrame.h"'],
    "cli/CmdInfo.cpp": ['#include "settings/AppSettings.h"'],
    "display/qt/QtCanvas.cpp": ['#include "object/qt/ObjectPicture.h"'],
}


def run(files):
    with tempfile.TemporaryDirectory() as root:
        for path, lines in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as f:
                f.write("\n".join(lines) + "\n")
        r = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
        return r.returncode, r.stdout.splitlines()


def main():
    failures = []
    code, out = run(ALLOWED_FILES)
    if code != 0 or out:
        failures.append(f"allowed includes refused (exit {code}): {out}")
    code, out = run(PROBE_FILES)
    expected = [
        "viewer/DrawingDocument.cpp:1: Qt-free code includes Qt: #include <QWidget>",
        'viewer/DrawingDocument.cpp:2: Qt-free code includes a Qt folder: #include "viewer/ui/CAboutDlg.h"',
        "object/NativeData.cpp:1: Qt-free code includes Qt: #include <QImage>",
        'model/CJwwDoc.cpp:1: model/ may not include blocks/: #include "blocks/BlockRegistry.h"',
        'settings/ui/CPropSheet.cpp:1: settings/ may not include viewer/: #include "viewer/ui/CMainFrame.h"',
        'cli/CmdInfo.cpp:1: cli/ may not include settings/: #include "settings/AppSettings.h"',
        'display/qt/QtCanvas.cpp:1: display/ may not include object/: #include "object/qt/ObjectPicture.h"',
    ]
    if code != 1:
        failures.append(f"the probe passed the check (exit {code})")
    for line in expected:
        if line not in out:
            failures.append(f"not reported: {line}")
    for line in out:
        if line not in expected:
            failures.append(f"reported without reason: {line}")
    for f in failures:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
