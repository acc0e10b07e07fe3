#!/usr/bin/env bash
# Proves that the layering holds: each probe below adds one forbidden include to a
# layer and must be refused, by the compiler (the layer's include root does not hold
# the layer it reaches for) and by scripts/check-layers.sh, which every build runs
# first. A "../" path the compiler follows through the file system is refused by the
# script alone; the table says so.
# Usage: check-forbidden-includes.sh BUILD_DIR   (a configured build with compile_commands.json)
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:?usage: check-forbidden-includes.sh BUILD_DIR}"
commands="$build/compile_commands.json"
[[ -f "$commands" ]] || { echo "check-forbidden-includes: $commands is missing" >&2; exit 2; }

# folder | include | refused by the compiler too (yes/no)
probes=(
    "src/core/dictionary|core/shell/../app/workbench.h|no"
    "src/core/shell|../../gui/shell/main_window.h|yes"
    "src/core/dictionary|core/thesaurus/thesaurus_document.h|yes"
    "src/gui/shell|gui/dictionary/word_editor.h|yes"
)

# The compile command of a source of `folder`, with the probe compiled for syntax only.
compile_command() {
    python3 - "$commands" "$root/$1" "$2" <<'EOF'
import json, shlex, sys
entries, folder, probe = json.load(open(sys.argv[1])), sys.argv[2], sys.argv[3]
for e in entries:
    if e["file"].rsplit("/", 1)[0] == folder:
        args = shlex.split(e["command"])
        out = [a for i, a in enumerate(args) if a not in ("-o", "-c") and args[i - 1] not in ("-o", "-c")]
        print(shlex.join(out + ["-fsyntax-only", probe]))
        break
EOF
}

failures=0
for entry in "${probes[@]}"; do
    IFS='|' read -r folder include compiler_refuses <<<"$entry"
    probe="$root/$folder/forbidden_include_probe.cpp"
    printf '#include "%s"\n' "$include" >"$probe"
    layers_output="$(bash "$root/scripts/check-layers.sh" 2>&1)"
    layers_rc=$?
    command="$(compile_command "$folder" "$probe")"
    (cd "$build" && eval "$command") >/dev/null 2>&1
    compiler_rc=$?
    rm -f "$probe"

    verdict="refused"
    if ((layers_rc == 0)); then
        verdict="NOT refused by check-layers.sh"
    elif [[ "$compiler_refuses" == yes && $compiler_rc -eq 0 ]]; then
        verdict="NOT refused by the compiler"
    fi
    [[ -n "$command" ]] || verdict="no compile command for $folder"
    echo "$folder: #include \"$include\": $verdict (check-layers rc $layers_rc, compiler rc $compiler_rc)"
    [[ "$verdict" == refused ]] || failures=$((failures + 1))
    [[ "$verdict" == refused ]] || echo "$layers_output"
done
if ((failures > 0)); then
    echo "check-forbidden-includes: $failures probe(s) got through" >&2
    exit 1
fi
echo "check-forbidden-includes: OK"
