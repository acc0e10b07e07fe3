#!/usr/bin/env bash
# The layers of src/core, from the ground up:
#   shell/       base pieces every subsystem may use (Ui port, LongTask, EntryStore, ...)
#   subsystems   dictionary/, thesaurus/, ... : may include shell/ and each other
#   app/         the Workbench and everything that knows all subsystems
# and none of it may use QtWidgets or QtGui. Prints one line per include that
# breaks a rule and exits 1 when there is any; reads the sources only, no build.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
core="$root/src/core"

# The named subsystems, plus any other folder of src/core that is neither layer.
subsystems=(dictionary dictionary_tools thesaurus hyphenation autocorrect languagetool extensions)
for dir in "$core"/*/; do
    name="$(basename "$dir")"
    [[ "$name" == shell || "$name" == app ]] && continue
    [[ " ${subsystems[*]} " == *" $name "* ]] || subsystems+=("$name")
done

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

offences=0
offence() {
    echo "$1"
    offences=$((offences + 1))
}

while IFS= read -r file; do
    rel="${file#"$root"/}"
    layer="${rel#src/core/}"
    layer="${layer%%/*}"
    while IFS= read -r hit; do
        lineno="${hit%%:*}"
        line="${hit#*:}"
        [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*([\"\<])([^\"\>]+)[\"\>] ]] || continue
        included="${BASH_REMATCH[2]}"
        shown="${BASH_REMATCH[1]}$included$([[ ${BASH_REMATCH[1]} == '<' ]] && echo '>' || echo '"')"
        # "../app/x.h" and "./app/x.h" name the same folder as "app/x.h".
        path="$included"
        while [[ "$path" == ../* || "$path" == ./* ]]; do path="${path#*/}"; done
        top="${path%%/*}"
        [[ "$path" == */* ]] || top=""

        if [[ "$top" == QtWidgets || "$top" == QtGui || "$path" == QtWidgets || "$path" == QtGui ]] ||
            [[ "${BASH_REMATCH[1]}" == '<' && "$path" != */* && "$gui_headers" == *" $path "* ]]; then
            offence "$rel:$lineno: includes $shown: src/core uses QtCore only, never QtWidgets or QtGui"
        fi
        if [[ "$layer" == shell && -n "$top" ]]; then
            if [[ "$top" == app ]]; then
                offence "$rel:$lineno: includes $shown: shell/ must not include the application layer app/"
            elif [[ " ${subsystems[*]} " == *" $top "* ]]; then
                offence "$rel:$lineno: includes $shown: shell/ must not include the subsystem $top/"
            fi
        elif [[ "$layer" != app && "$top" == app ]]; then
            offence "$rel:$lineno: includes $shown: the subsystem $layer/ must not include the application layer app/"
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done < <(find "$core" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.hpp' -o -name '*.cc' \) | sort)

# The core library itself must not link the widget modules either.
while IFS= read -r hit; do
    offence "src/core/CMakeLists.txt:${hit%%:*}: links ${hit#*:}: src/core uses QtCore only, never QtWidgets or QtGui"
done < <(grep -noE 'Qt6?::(Widgets|Gui)\b' "$core/CMakeLists.txt" || true)

if ((offences > 0)); then
    echo "check-layers: $offences offence(s) against the layering of src/core" >&2
    exit 1
fi
echo "check-layers: OK"
