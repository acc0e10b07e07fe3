#!/usr/bin/env bash
# Checks every include of src/ against the layer table src/layers.txt:
#   - a file may include its own layer and the layers its line names ("core/*" and
#     "gui/*" stand for all of them); the table itself must have no circle;
#   - nothing in src/core uses QtWidgets or QtGui, and the core's CMake links neither.
# Includes are resolved as the compiler finds them (the file's own folder first, then
# src/) and compared by their real paths, so "core/shell/../app/x.h" and
# "../../gui/..." are seen for what they are. The build refuses most offences on its
# own (each layer's include root holds only the layers it may use); this script is
# the first step of `make test` and of every build, and catches the rest.
# Prints one line per offending include and exits 1 when there is any.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
src="$root/src"
table="$src/layers.txt"

declare -A uses=()
layers=()
while IFS= read -r line; do
    [[ "$line" =~ ^([a-z_/]+):(.*)$ ]] || continue
    layers+=("${BASH_REMATCH[1]}")
    uses["${BASH_REMATCH[1]}"]="${BASH_REMATCH[2]}"
done <"$table"

offences=0
offence() {
    echo "$1"
    offences=$((offences + 1))
}

# May `from` include `to`?
allowed() {
    local from="$1" to="$2" use
    [[ "$from" == "$to" ]] && return 0
    for use in ${uses[$from]}; do
        [[ "$use" == "$to" ]] && return 0
        [[ "$use" == */\* && "$to" == "${use%\*}"* ]] && return 0
    done
    return 1
}

# The layer a path of src/ belongs to, in $found: the longest layer of the table it
# lies in (empty for none).
layer_of() {
    local rel="$1" layer
    found=""
    for layer in "${layers[@]}"; do
        if [[ "$rel" == "$layer"/* && ${#layer} -gt ${#found} ]]; then
            found="$layer"
        fi
    done
}

# The table's edges in order must have no circle (wildcards name their whole floor).
edges=""
for from in "${layers[@]}"; do
    for to in "${layers[@]}"; do
        [[ "$from" != "$to" ]] && allowed "$from" "$to" && edges+="$to $from"$'\n'
    done
done
if ! printf '%s' "$edges" | tsort >/dev/null 2>&1; then
    offence "src/layers.txt: the table has a circle: $(printf '%s' "$edges" | tsort 2>&1 >/dev/null | head -n 3 | tr '\n' ' ')"
fi

# Class headers of QtGui and QtWidgets (<QWidget>, <QColor>, ...): taken from the
# installed Qt when it is found, with the common ones always checked.
gui_headers=" QWidget QApplication QGuiApplication QMainWindow QDialog QMessageBox QAction QColor QFont
 QFontMetrics QIcon QImage QPixmap QPainter QPalette QKeyEvent QKeySequence QShortcut QClipboard QCursor
 QTextDocument QValidator QRegularExpressionValidator QStandardItemModel QDesktopServices QScreen "
qt_headers="$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || true)"
for module in QtGui QtWidgets; do
    [[ -n "$qt_headers" && -d "$qt_headers/$module" ]] || continue
    while IFS= read -r name; do
        gui_headers+="$name "
    done < <(find "$qt_headers/$module" -maxdepth 1 -type f -name 'Q*' ! -name '*.h' -printf '%f\n')
done

while IFS= read -r file; do
    rel="${file#"$src"/}"
    layer_of "$rel"
    layer="$found"
    if [[ -z "$layer" ]]; then
        offence "src/$rel: lies in no layer of src/layers.txt"
        continue
    fi
    dir="${file%/*}"
    while IFS= read -r hit; do
        lineno="${hit%%:*}"
        line="${hit#*:}"
        [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*([\"\<])([^\"\>]+)[\"\>] ]] || continue
        kind="${BASH_REMATCH[1]}"
        included="${BASH_REMATCH[2]}"
        if [[ "$kind" == '<' ]]; then
            top="${included%%/*}"
            if [[ "$layer" == core/* ]] &&
                [[ "$top" == QtWidgets || "$top" == QtGui || ("$included" != */* && "$gui_headers" == *" $included "*) ]]; then
                offence "src/$rel:$lineno: includes <$included>: src/core uses QtCore only, never QtWidgets or QtGui"
            fi
            continue
        fi
        target=""
        for candidate in "$dir/$included" "$src/$included"; do
            if [[ -f "$candidate" ]]; then
                target="$(realpath "$candidate")"
                break
            fi
        done
        [[ -n "$target" ]] || continue # generated (moc) or outside src/
        if [[ "$target" != "$src"/* ]]; then
            offence "src/$rel:$lineno: includes \"$included\": it lies outside src/ ($target)"
            continue
        fi
        layer_of "${target#"$src"/}"
        to="$found"
        if [[ -z "$to" ]]; then
            offence "src/$rel:$lineno: includes \"$included\": src/${target#"$src"/} lies in no layer"
        elif ! allowed "$layer" "$to"; then
            offence "src/$rel:$lineno: includes \"$included\" (src/${target#"$src"/}): $layer/ may not include $to/"
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

# The core's libraries must not link the widget modules either.
while IFS= read -r hit; do
    offence "src/core/CMakeLists.txt:${hit%%:*}: links ${hit#*:}: src/core uses QtCore only, never QtWidgets or QtGui"
done < <(grep -noE 'Qt6?::(Widgets|Gui)\b' "$src/core/CMakeLists.txt" || true)

if ((offences > 0)); then
    echo "check-layers: $offences offence(s) against src/layers.txt" >&2
    exit 1
fi
echo "check-layers: OK"
