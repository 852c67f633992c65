#!/usr/bin/env bash
# Checks the layers of src/: every #include "..." in a file of one layer must
# name a file of a layer that it may include, and nothing in the core (every
# folder but ui/ and cli/) includes a Qt Gui or Qt Widgets header. Lower
# layers never include higher ones:
#
#   ui/, cli/               the front ends; they never include each other
#   run/                    the run drivers; the whole core
#   rename/                 target list, renames: selection, matching, platform
#   selection/ settings/    filter, settings table: matching, platform
#   log/                    the log: settings, platform
#   matching/               the pattern engine, pure: nothing else
#   platform/               file-system service, paths, text codec: nothing else
#   ports/                  the interfaces the core talks through, and platform/ below them
#
# selection/, settings/, log/, rename/ and run/ also include ports/. A file
# outside these folders, or an include that names no file of src/, is a
# violation too. The libraries of the core layers that src/CMakeLists.txt
# makes (sorvane_layer(NAME PUBLIC ... PRIVATE ...)) may link only the layers
# of this same table, so that the build's link check enforces it too.
# Prints one line per violation and exits 1 when there is one.
# Usage: scripts/check-layers.sh [SRC_FOLDER]   (default: src/)
set -euo pipefail
src="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"
exec python3 - "$src" <<'PYTHON'
import os
import re
import sys

CORE = ["platform", "matching", "selection", "rename", "settings", "log", "run", "ports"]

# Which layers the files of each layer may include (their own layer included).
ALLOWED = {
    "platform": {"platform"},
    "matching": {"matching"},
    "ports": {"platform", "ports"},
    "selection": {"platform", "matching", "ports", "selection"},
    "settings": {"platform", "matching", "ports", "settings"},
    "log": {"platform", "ports", "settings", "log"},
    "rename": {"platform", "matching", "selection", "ports", "rename"},
    "run": set(CORE),
    "ui": set(CORE) | {"ui"},
    "cli": set(CORE) | {"cli"},
}
LAYERS = set(ALLOWED)

# Qt Gui and Qt Widgets class headers that the core must not include. The
# headers of the installed QtGui and QtWidgets modules are added to these.
GUI_HEADERS = {
    "QAction", "QApplication", "QBrush", "QCheckBox", "QClipboard", "QCloseEvent",
    "QColor", "QComboBox", "QCursor", "QDesktopServices", "QDialog",
    "QDialogButtonBox", "QFileDialog", "QFont", "QFontMetrics", "QFormLayout",
    "QFrame", "QGridLayout", "QGroupBox", "QGuiApplication", "QHBoxLayout",
    "QIcon", "QImage", "QInputDialog", "QKeyEvent", "QKeySequence", "QLabel",
    "QLayout", "QLineEdit", "QListView", "QListWidget", "QMainWindow", "QMenu",
    "QMenuBar", "QMessageBox", "QMouseEvent", "QPainter", "QPalette", "QPixmap",
    "QPlainTextEdit", "QProgressBar", "QProgressDialog", "QPushButton",
    "QRadioButton", "QScreen", "QScrollArea", "QShortcut", "QSpinBox",
    "QStatusBar", "QStyle", "QSystemTrayIcon", "QTabWidget", "QTableView",
    "QTableWidget", "QTextBrowser", "QTextCursor", "QTextDocument", "QTextEdit",
    "QToolBar", "QToolButton", "QTreeView", "QTreeWidget", "QVBoxLayout",
    "QValidator", "QWidget", "QWindow",
}
GUI_MODULES = ("QtGui", "QtWidgets", "QtOpenGL", "QtOpenGLWidgets", "QtPrintSupport")
QT_INCLUDE_DIRS = ["/usr/include/x86_64-linux-gnu/qt6", "/usr/include/aarch64-linux-gnu/qt6",
                   "/usr/include/qt6"]

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_SUFFIXES = (".cpp", ".h", ".hpp", ".cc", ".cxx", ".hxx", ".ipp", ".inl")


def installed_gui_headers():
    names = set()
    for base in QT_INCLUDE_DIRS:
        for module in ("QtGui", "QtWidgets"):
            folder = os.path.join(base, module)
            if os.path.isdir(folder):
                names.update(n for n in os.listdir(folder)
                             if n.startswith("Q") and "." not in n)
    return names


def strip_block_comments(text):
    # Keeps line numbers: a comment is replaced by its own newlines.
    return re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)


def layer_of_include(src, including_dir, name):
    """The layer of the file that `name` refers to, or None when it is not a
    file of src/ (a system or generated header)."""
    parts = name.split("/")
    if parts[0] in LAYERS:
        return parts[0]
    # A name relative to the including file, such as "RenameHelpers.h".
    candidate = os.path.normpath(os.path.join(including_dir, name))
    rel = os.path.relpath(candidate, src)
    if os.path.isfile(candidate) and not rel.startswith(".."):
        return rel.split(os.sep)[0]
    return None


def link_violations(src):
    """The layers that a core layer's library links in src/CMakeLists.txt
    and may not, and the core layers that have no library there."""
    path = os.path.join(src, "CMakeLists.txt")
    if not os.path.isfile(path):
        return []
    with open(path, encoding="utf-8") as f:
        text = re.sub(r"#.*", "", f.read())
    violations = []
    made = set()
    for m in re.finditer(r"^\s*sorvane_layer\(([^)]*)\)", text, flags=re.M):
        words = m.group(1).split()
        layer, links = words[0], [w for w in words[1:] if w not in ("PUBLIC", "PRIVATE")]
        where = f"src/CMakeLists.txt:{text.count(chr(10), 0, m.start()) + 1}"
        if layer not in CORE:
            violations.append(f"{where}: sorvane_layer({layer}) names no layer of the core")
            continue
        made.add(layer)
        for link in links:
            if link not in ALLOWED[layer] or link == layer:
                violations.append(f"{where}: the library of layer {layer} links {link} "
                                  f"(layer {layer} may not include layer {link})")
    for layer in CORE:
        if layer not in made:
            violations.append(f"src/CMakeLists.txt: layer {layer} has no sorvane_layer() library")
    return violations


def main():
    src = os.path.abspath(sys.argv[1])
    if not os.path.isdir(src):
        print(f"check-layers: no folder {src}", file=sys.stderr)
        return 2
    gui = GUI_HEADERS | installed_gui_headers()
    violations = []
    checked = 0
    for folder, dirs, files in os.walk(src):
        dirs.sort()
        for file in sorted(files):
            if not file.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(folder, file)
            shown = os.path.relpath(path, os.path.dirname(src))
            rel = os.path.relpath(path, src).split(os.sep)
            layer = rel[0] if len(rel) > 1 else None
            if layer not in LAYERS:
                violations.append(f"{shown}: is in no known layer "
                                  f"(known: {', '.join(sorted(LAYERS))})")
                continue
            checked += 1
            with open(path, encoding="utf-8", errors="replace") as f:
                lines = strip_block_comments(f.read()).splitlines()
            for number, line in enumerate(lines, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                quote, name = m.groups()
                where = f"{shown}:{number}"
                if quote == "<":
                    first = name.split("/")[0]
                    is_gui = name in gui or first in GUI_MODULES
                    if layer in CORE and is_gui:
                        violations.append(f"{where}: includes <{name}> (layer {layer} is in the "
                                          f"core, which may not include Qt Gui or Widgets)")
                        continue
                    if first not in LAYERS or "/" not in name:
                        continue  # a system or Qt header
                target = layer_of_include(src, folder, name)
                if target is None:
                    if layer == "ui" and re.fullmatch(r"ui_\w+\.h", name):
                        continue  # made from a .ui file by uic
                    violations.append(f"{where}: includes {name} (not a file of src/; "
                                      f"project headers are named from src/, system ones in <>)")
                    continue
                if target not in ALLOWED[layer]:
                    violations.append(f"{where}: includes {name} "
                                      f"(layer {layer} may not include layer {target})")
    violations += link_violations(src)
    for v in violations:
        print(v)
    if violations:
        print(f"check-layers: {len(violations)} violation(s) in {checked} files")
        return 1
    print(f"check-layers: {checked} files keep to their layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
PYTHON
