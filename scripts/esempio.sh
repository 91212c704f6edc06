#!/usr/bin/env bash
# Runs the built program on the bundled example league in build/esempio/, so that the
# calendars it writes stay out of the source tree, and says where they went.
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
cartella=$radice/build/esempio
mkdir -p "$cartella"
cp "$radice/esempio/originale.txt" "$cartella/"
stato=0
(cd "$cartella" && "$radice/build/turnolista") || stato=$?
echo
echo "The example's calendars are in $cartella:"
for file in "$cartella"/calendario.* "$cartella"/temp.txt; do
    if [ -e "$file" ]; then
        echo "  ${file##*/}"
    fi
done
exit "$stato"
