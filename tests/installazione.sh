#!/usr/bin/env bash
# Installs the build into a scratch prefix and makes the Debian package: the program, its
# manual page and the example league must be in both.
set -euo pipefail
build=$1
for tool in man file dpkg-deb cpack; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "this test needs $tool (scripts/prepara.sh --test installs it)"
        exit 1
    }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
files=(bin/turnolista share/man/man1/turnolista.1 share/doc/turnolista/originale.txt)
for f in "${files[@]}"; do
    [ -f "$scratch/prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
[ "$("$scratch/prefix/bin/turnolista" --version)" = "turnolista $2" ] || { echo "wrong --version"; exit 1; }
MANPAGER=cat man -l "$scratch/prefix/share/man/man1/turnolista.1" >"$scratch/man.txt" 2>/dev/null
for section in NOME SINOSSI DESCRIZIONE FILE "STATO D'USCITA" ESEMPI; do
    grep -q "^$section\$" "$scratch/man.txt" || { echo "manual page lacks $section"; exit 1; }
done

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >/dev/null
dpkg-deb -c "$scratch"/deb/turnolista_*.deb >"$scratch/deb.txt"
for f in "${files[@]}"; do
    grep -q " \./usr/$f\$" "$scratch/deb.txt" || { echo "not packaged: $f"; exit 1; }
done
echo "installed and packaged: ${files[*]}"
