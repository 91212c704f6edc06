#!/usr/bin/env bash
# Measures a whole pass of turnolista against `grep -F NAME originale.txt > out.txt` on the
# same file, side by side in one run: median wall times and their ratio (hyperfine), the
# instructions of one t pass and of grep (callgrind), and the peak memory of the long-lines
# passes (/usr/bin/time). Timings are ratios on this machine, not absolute figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

need=()
command -v hyperfine >/dev/null || need+=(hyperfine)
command -v valgrind >/dev/null || need+=(valgrind)
[ -x /usr/bin/time ] || need+=(time)
command -v jq >/dev/null || need+=(jq)
if [ ${#need[@]} -gt 0 ]; then
    echo "installing ${need[*]} (or install them yourself: apt-get install ${need[*]})"
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
fi

cmake --preset release -S "$root" >/dev/null
cmake --build "$root/build-release" -j2 >/dev/null
exe=$root/build-release/turnolista
export LC_ALL=C

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# realistic: 24 rounds of a nine-team league, a rest line and four matches each: 120 lines;
# and the same league over 2,000 rounds, 10,000 lines, to see time grow with the list.
lega() {  # folder, rounds
    mkdir "$scratch/$1"
    awk -v giornate="$2" 'BEGIN {
    split("Lupi Falchi Aquile Tori Volpi Orsi Cinghiali Cervi Gufi", t, " ");
    n = 0;
    for (g = 1; g <= giornate; g++) {
        printf "Giornata %d: Riposa %s\n", g, t[(g % 9) + 1];
        for (p = 0; p < 4; p++) {
            n++;
            a = t[((g + p) % 9) + 1]; b = t[((g + 8 - p) % 9) + 1];
            printf "%d %02d/%02d 15:30 Comunale%d %s-%s\n", n, (g % 28) + 1, (g % 12) + 1, p, a, b;
        }
    }
}' >"$scratch/$1/originale.txt"
}
lega realistico 24
lega diecimila 2000

# regionale: a region's season as its federation exports it, a ";" CSV with a header, 2,000
# matches of 20 teams, so that the layout reader works on every line.
mkdir "$scratch/regionale"
awk 'BEGIN {
    split("Lupi Falchi Aquile Tori Volpi Orsi Cinghiali Cervi Gufi Lepri " \
          "Tassi Linci Api Castori Daini Faine Grilli Istrici Lontre Marmotte", t, " ");
    print "Data;Ora;Campo;Casa;Ospite";
    for (i = 0; i < 2000; i++) {
        a = t[(i % 20) + 1]; b = t[((i * 7 + 3) % 19 + (i % 20) + 1) % 20 + 1];
        printf "%02d/%02d/2026;%d:%s;Palestra Comunale %d;%s;%s\n", (i % 28) + 1, (i % 4) + 9,
               17 + i % 5, (i % 2 ? "30" : "00"), i % 6 + 1, a, b;
    }
}' >"$scratch/regionale/originale.txt"

# long lines: 120 lines of about 100,000 characters, one in three naming the team; in the
# first a sixth of the bytes are "&" or "<", in the second a quarter are "&", "<", ">" or
# spaces, all of which the web page escapes or the column rule looks at.
lunghe() {  # folder, the repeated unit of the filler
    mkdir "$scratch/$1"
    awk -v unita="$2" 'BEGIN {
        riempi = unita;
        while (length(riempi) < 100000) riempi = riempi riempi;
        riempi = substr(riempi, 1, 100000);
        for (i = 1; i <= 120; i++) {
            squadra = (i % 3 == 0) ? "Lupi" : "Volpi";
            printf "%d 12/10 15:30 %s Orsi-%s\n", i, riempi, squadra;
        }
    }' >"$scratch/$1/originale.txt"
}
lunghe righe_lunghe 'abcde&fghij<'
lunghe righe_speciali '&abc<def>ghi jkl'

for caso in realistico regionale diecimila righe_lunghe righe_speciali; do
    for f in t x h c; do printf '%s\nLupi\nn\n' "$f" >"$scratch/$caso/in_$f"; done
done

printf 'turnolista %s, grep: %s\n' "$("$exe" --version | cut -d' ' -f2)" "$(grep --version | head -1)"
printf '%-14s %-6s %-12s %-12s %-8s %s\n' file format turnolista grep ratio target

# Each timed command runs REPEAT passes in a row, so that the shell's own start-up, which
# hyperfine can only estimate, weighs little; the figures are per pass. The two commands
# take turns, eight rounds of ten runs each, and each figure is the median of all its runs,
# so that a machine that slows down or speeds up during the measurement weighs on both alike.
confronta() {  # case, format, target, passes per timed command
    local caso=$1 f=$2 obiettivo=$3 ripeti=$4
    local nostro="for i in \$(seq $ripeti); do $exe < in_$f > /dev/null; done"
    local suo="for i in \$(seq $ripeti); do grep -F Lupi originale.txt > out.txt; done"
    (
        cd "$scratch/$caso"
        hyperfine --style none --warmup 3 --runs 10 --export-json "$scratch/$caso-$f.json" \
            "$nostro" "$suo" "$nostro" "$suo" "$nostro" "$suo" "$nostro" "$suo" \
            "$nostro" "$suo" "$nostro" "$suo" "$nostro" "$suo" "$nostro" "$suo" \
            >/dev/null 2>&1
    )
    jq -r --arg caso "$caso" --arg f "$f" --arg obiettivo "$obiettivo" --argjson n "$ripeti" '
        def median: sort | if length % 2 == 1 then .[length / 2 | floor]
                           else (.[length / 2 - 1] + .[length / 2]) / 2 end;
        def ms: . * 1000 / $n | . * 1000 | round / 1000 | tostring | . + " ms";
        .results as $r |
        ([range(0; $r | length; 2) | $r[.].times[]] | median) as $a |
        ([range(1; $r | length; 2) | $r[.].times[]] | median) as $b |
        "\($caso | . + "               " | .[0:14]) \($f | . + "      " | .[0:6]) " +
        "\($a | ms | . + "            " | .[0:12]) \($b | ms | . + "            " | .[0:12]) " +
        "\($a / $b * 100 | round / 100 | tostring | . + "        " | .[0:8]) \($obiettivo)"' \
        "$scratch/$caso-$f.json"
}

# The lists members have: at or below grep.
for f in t x h c; do confronta realistico $f "<= 1.0" 20; done
for f in t x h c; do confronta regionale $f "<= 1.0" 20; done
# Lists no member has: a guard against a step that grows faster than the list.
for f in t x h c; do confronta diecimila $f "<= 4" 10; done
for caso in righe_lunghe righe_speciali; do
    for f in t x h c; do confronta $caso $f "<= 4" 4; done
done

# Both counted in the same minimal environment: glibc's start-up scans the environment, so
# its size alone moves either count by thousands of instructions.
istruzioni() {
    env -i LC_ALL=C PATH="$PATH" valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
        awk '/Collected/ {print $NF}'
}
cd "$scratch/realistico"
nostre=$(istruzioni "$exe" <in_t)
sue=$(istruzioni grep -F Lupi originale.txt)
echo
echo "instructions (callgrind), realistic file:"
echo "  turnolista t pass: $nostre"
echo "  grep -F:           $sue"
awk -v a="$nostre" -v b="$sue" 'BEGIN { printf "  ratio:             %.2f      <= 0.3\n", a / b }'

# A pass holds the list, temp.txt and the table at worst: three times the list, and a few
# MiB of the program's own, whatever the name typed (LUPI matches nothing, so every line is
# looked at for another spelling).
for caso in regionale diecimila righe_lunghe righe_speciali; do
    cd "$scratch/$caso"
    printf 't\nLUPI\nn\n' >in_nessuna
    lista=$(stat -c %s originale.txt)
    limite=$(( (3 * lista + 8 * 1048576) / 1024 ))
    echo
    echo "peak memory, $caso ($lista bytes; limit 3 x that + 8 MiB = $limite KB):"
    for f in t x h c nessuna; do
        kb=$(/usr/bin/time -v "$exe" <"in_$f" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {print $2}')
        echo "  $f pass: $kb KB"
    done
done
