#!/usr/bin/env python3
"""Checks every include of src/ against the layer table src/layers.txt.

- A file may include its own layer and the layers its line names ("core/*" and
  "gui/*" stand for all of them); the table itself must have no circle.
- Nothing in src/core uses QtWidgets or QtGui, and the core's CMake links neither.

Includes are resolved as the compiler finds them (the file's own folder first, then
src/) and compared by their real paths, so "core/shell/../app/x.h" and "../../gui/..."
are seen for what they are. The build refuses most offences on its own (each layer's
include root holds only the layers it may use); this check is the first step of
`make test` and of every build, and catches the rest.
Prints one line per offending include and exits 1 when there is any.
Usage: check_layers.py [SRC_DIR]   (default: the src/ beside this script's folder)
"""
import os
import re
import subprocess
import sys

COMMON_GUI_HEADERS = """QWidget QApplication QGuiApplication QMainWindow QDialog QMessageBox QAction
 QColor QFont QFontMetrics QIcon QImage QPixmap QPainter QPalette QKeyEvent QKeySequence QShortcut
 QClipboard QCursor QTextDocument QValidator QRegularExpressionValidator QStandardItemModel
 QDesktopServices QScreen""".split()

INCLUDE = re.compile(r'^\s*#\s*include\s*(["<])([^">]+)[">]')


def read_table(path):
    layers, uses = [], {}
    with open(path, encoding="utf-8") as table:
        for line in table:
            match = re.match(r"^([a-z_/]+):(.*)$", line.rstrip("\n"))
            if match:
                layers.append(match.group(1))
                uses[match.group(1)] = match.group(2).split()
    return layers, uses


def allowed(uses, source, target):
    if source == target:
        return True
    for use in uses.get(source, []):
        if use == target or (use.endswith("/*") and target.startswith(use[:-1])):
            return True
    return False


def layer_of(layers, rel):
    """The longest layer of the table that `rel` (a path under src/) lies in, or ""."""
    found = ""
    for layer in layers:
        if rel.startswith(layer + "/") and len(layer) > len(found):
            found = layer
    return found


def find_circle(layers, uses):
    """A circle of the table's edges as a list of layers, or None."""
    edges = {a: [b for b in layers if a != b and allowed(uses, a, b)] for a in layers}
    state = {}

    def visit(node, path):
        state[node] = "open"
        path.append(node)
        for nxt in edges[node]:
            if state.get(nxt) == "open":
                return path[path.index(nxt):] + [nxt]
            if nxt not in state:
                circle = visit(nxt, path)
                if circle:
                    return circle
        state[node] = "done"
        path.pop()
        return None

    for layer in layers:
        if layer not in state:
            circle = visit(layer, [])
            if circle:
                return circle
    return None


def gui_header_names():
    """Class headers of QtGui and QtWidgets (<QWidget>, <QColor>, ...): taken from the
    installed Qt when it is found, with the common ones always checked."""
    names = set(COMMON_GUI_HEADERS)
    try:
        qt = subprocess.run(["qmake6", "-query", "QT_INSTALL_HEADERS"], capture_output=True,
                            text=True, check=False).stdout.strip()
    except OSError:
        qt = ""
    for module in ("QtGui", "QtWidgets"):
        folder = os.path.join(qt, module) if qt else ""
        if folder and os.path.isdir(folder):
            for name in os.listdir(folder):
                if name.startswith("Q") and not name.endswith(".h") and os.path.isfile(os.path.join(folder, name)):
                    names.add(name)
    return names


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    src = os.path.realpath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "src"))
    layers, uses = read_table(os.path.join(src, "layers.txt"))
    offences = []

    circle = find_circle(layers, uses)
    if circle:
        offences.append("src/layers.txt: the table has a circle: " + " -> ".join(circle))

    gui_headers = gui_header_names()
    files = []
    for folder, _, names in os.walk(src):
        files += [os.path.join(folder, n) for n in names if n.endswith((".h", ".cpp"))]
    for path in sorted(files):
        rel = os.path.relpath(path, src)
        layer = layer_of(layers, rel)
        if not layer:
            offences.append(f"src/{rel}: lies in no layer of src/layers.txt")
            continue
        folder = os.path.dirname(path)
        with open(path, encoding="utf-8", errors="surrogateescape") as source:
            for lineno, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                kind, included = match.groups()
                if kind == "<":
                    top = included.split("/", 1)[0]
                    if layer.startswith("core/") and (
                            top in ("QtWidgets", "QtGui") or ("/" not in included and included in gui_headers)):
                        offences.append(f"src/{rel}:{lineno}: includes <{included}>: "
                                        "src/core uses QtCore only, never QtWidgets or QtGui")
                    continue
                target = ""
                for candidate in (os.path.join(folder, included), os.path.join(src, included)):
                    if os.path.isfile(candidate):
                        target = os.path.realpath(candidate)
                        break
                if not target:
                    continue  # generated (moc) or outside src/
                if not target.startswith(src + "/"):
                    offences.append(f'src/{rel}:{lineno}: includes "{included}": it lies outside src/ ({target})')
                    continue
                target_rel = os.path.relpath(target, src)
                to = layer_of(layers, target_rel)
                if not to:
                    offences.append(f'src/{rel}:{lineno}: includes "{included}": src/{target_rel} lies in no layer')
                elif not allowed(uses, layer, to):
                    offences.append(f'src/{rel}:{lineno}: includes "{included}" (src/{target_rel}): '
                                    f"{layer}/ may not include {to}/")

    # The core's libraries must not link the widget modules either.
    with open(os.path.join(src, "core", "CMakeLists.txt"), encoding="utf-8") as cmake:
        for lineno, line in enumerate(cmake, 1):
            for link in re.findall(r"Qt6?::(?:Widgets|Gui)\b", line):
                offences.append(f"src/core/CMakeLists.txt:{lineno}: links {link}: "
                                "src/core uses QtCore only, never QtWidgets or QtGui")

    for offence in offences:
        print(offence)
    if offences:
        print(f"check-layers: {len(offences)} offence(s) against src/layers.txt", file=sys.stderr)
        return 1
    print("check-layers: OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
