#!/usr/bin/env bash
# Installs what building turnolista needs, and with --test what its tests need too, when
# it is missing. On Debian and Ubuntu it uses apt-get (through sudo when not root), asking
# no questions and never reading standard input, which may hold answers for the program;
# elsewhere it says what to install by hand. Installs nothing when everything is there.
set -euo pipefail

pacchetti=(cmake g++ make)
comandi=(cmake g++ make)
if [ "${1:-}" = --test ]; then
    # man-db, file and dpkg-dev serve the test of the installation and the Debian package;
    # strace lets the tests act at the moment the program makes a call; acl gives a folder
    # the default ACL a replaced file must not take; python3-icalendar is a real reader of
    # the calendar files.
    pacchetti+=(libgtest-dev man-db file dpkg-dev strace acl python3-icalendar)
    comandi+=(man file dpkg-deb strace setfacl)
fi

if ! command -v dpkg >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    mancanti=()
    for c in "${comandi[@]}"; do
        command -v "$c" >/dev/null 2>&1 || mancanti+=("$c")
    done
    if [ "${1:-}" = --test ] && [ ! -e /usr/include/gtest/gtest.h ] &&
        [ ! -e /usr/local/include/gtest/gtest.h ]; then
        mancanti+=(GoogleTest)
    fi
    if [ ${#mancanti[@]} -gt 0 ]; then
        echo "This is not a Debian or Ubuntu system: install ${mancanti[*]} by hand, then build." >&2
    fi
    exit 0
fi

mancanti=()
for p in "${pacchetti[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || mancanti+=("$p")
done
[ ${#mancanti[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    come=()
elif command -v sudo >/dev/null 2>&1; then
    come=(sudo)
else
    echo "Missing: ${mancanti[*]}. Install them as root (apt-get install ${mancanti[*]}), or install sudo." >&2
    exit 1
fi
echo "Installing ${mancanti[*]}"
"${come[@]}" apt-get update </dev/null
"${come[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${mancanti[@]}" </dev/null
