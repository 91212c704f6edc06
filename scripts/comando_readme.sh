#!/usr/bin/env bash
# Prints the Nth command (1 or 2) of README's Quick start, exactly as a user pastes it.
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
comando=$(awk '/^## Quick start/ {q = 1} /^## Command line/ {q = 0}
    q && /^```sh$/ {b = 1; next} q && /^```$/ {b = 0; next} q && b' "$radice/README.md" | sed -n "${1}p")
[ -n "$comando" ] || { echo "README's Quick start has no command $1" >&2; exit 1; }
printf '%s\n' "$comando"
