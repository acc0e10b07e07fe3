#!/usr/bin/env bash
# Renders the main window as it looks at start-up into docs/images/main_window.png,
# without a display: the program's --screenshot option on the offscreen platform.
# Usage: scripts/screenshot.sh [build-dir]   (default: build)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-${BUILD_DIR:-build}}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
program="$build/src/gui/lexaloom"
if [ ! -x "$program" ]; then
    echo "screenshot: $program not found; build first (make build)." >&2
    exit 1
fi

out="$root/docs/images/main_window.png"
mkdir -p "$(dirname "$out")"
# The program folder is the current directory: run in a scratch one so that the
# settings folder it creates does not land in the source tree.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch" "$program" --screenshot "$out")
echo "screenshot: wrote $out"
