#!/usr/bin/env bash
# Makes the Windows zip and looks inside: the program, README and the example league, the
# text files with CR LF line ends and no LF alone.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$scratch/zip" >/dev/null
zip="$scratch/zip/turnolista-$2-win64.zip"
[ -f "$zip" ] || { echo "no $zip"; exit 1; }
(cd "$scratch" && cmake -E tar xf "$zip")
top="$scratch/turnolista-$2-win64"
for f in turnolista.exe README.txt esempio/originale.txt; do
    [ -f "$top/$f" ] || { echo "not in the zip: $f"; exit 1; }
done
for f in README.txt esempio/originale.txt; do
    lines=$(tr -cd '\n' <"$top/$f" | wc -c)
    crlf=$(grep -c $'\r$' "$top/$f" || true)
    [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] || { echo "$f: $crlf of $lines lines end in CR LF"; exit 1; }
done
# The program itself, byte for byte the one built.
cmp "$top/turnolista.exe" "$build/turnolista.exe"
echo "zipped: turnolista.exe README.txt esempio/originale.txt"
