#!/usr/bin/env bash
# Makes the Windows zip and looks inside: the program, stripped and with its resources, the
# Italian guide in UTF-8 with its BOM, and the example league, the text files with CR LF
# line ends and no LF alone. The developers' README is not in it.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$scratch/zip" >/dev/null
zip="$scratch/zip/turnolista-$2-win64.zip"
[ -f "$zip" ] || { echo "no $zip"; exit 1; }
# At the zip's root, so that "Estrai tutto" gives one folder.
top="$scratch/estratto"
mkdir "$top"
(cd "$top" && cmake -E tar xf "$zip")
contenuto=$(cd "$top" && find . -type f | sort | tr '\n' ' ')
[ "$contenuto" = "./LEGGIMI.txt ./esempio/originale.txt ./turnolista.exe " ] ||
    { echo "the zip holds: $contenuto"; exit 1; }
for f in LEGGIMI.txt esempio/originale.txt; do
    lines=$(tr -cd '\n' <"$top/$f" | wc -c)
    crlf=$(grep -c $'\r$' "$top/$f" || true)
    [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] || { echo "$f: $crlf of $lines lines end in CR LF"; exit 1; }
done
[ "$(head -c 3 "$top/LEGGIMI.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || { echo "LEGGIMI.txt: no BOM"; exit 1; }
if grep -q '`\|^```\|^|' "$top/LEGGIMI.txt"; then
    echo "LEGGIMI.txt: Markdown in a plain text guide"; exit 1
fi
grep -q "@" "$top/LEGGIMI.txt" && { echo "LEGGIMI.txt: a name left unreplaced"; exit 1; }
# The program itself, byte for byte the one built: stripped, with its version and manifest.
cmp "$top/turnolista.exe" "$build/turnolista.exe"
size=$(stat -c %s "$top/turnolista.exe")
# 1.5 MiB: std::filesystem brings libstdc++'s locale and codecvt code into a static build (0.6 MB).
[ "$size" -lt 1572864 ] || { echo "turnolista.exe: $size bytes"; exit 1; }
sezioni=$(x86_64-w64-mingw32-objdump -h "$top/turnolista.exe")
intestazioni=$(x86_64-w64-mingw32-objdump -p "$top/turnolista.exe")
[[ "$sezioni" != *.debug_* ]] || { echo "turnolista.exe: not stripped"; exit 1; }
[[ "$intestazioni" == *"Resource Directory"* ]] || { echo "turnolista.exe: no resources"; exit 1; }
echo "zipped: turnolista.exe ($size bytes) LEGGIMI.txt esempio/originale.txt"
