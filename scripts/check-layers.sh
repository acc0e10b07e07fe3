#!/usr/bin/env bash
# Checks every include of src/ against the layer table src/layers.txt (see
# check_layers.py beside this script for the rules). The first step of `make test`
# and of every build; prints one line per offending include and exits 1 when there is any.
exec python3 "$(dirname "${BASH_SOURCE[0]}")/check_layers.py" "$@"
