#!/usr/bin/env bash
# Checks README's two Quick start commands the way a new user meets them: in a minimal
# Debian 12 root file system with nothing installed, one after the other in one shell,
# twice, then the tree must be clean and .ci/run must pass. Needs root, mmdebstrap and the
# network to Debian's package archive; not part of .ci/run.
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "run as root" >&2; exit 1; }
command -v mmdebstrap >/dev/null || {
    apt-get update </dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends mmdebstrap </dev/null
}

nuova=$(mktemp -d)
pulisci() {
    umount "$nuova/proc" "$nuova/dev/pts" "$nuova/dev" 2>/dev/null || true
    rm -rf "$nuova"
}
trap pulisci EXIT

mmdebstrap --variant=minbase --include=git,ca-certificates bookworm "$nuova"
mount --bind /dev "$nuova/dev"
mount --bind /dev/pts "$nuova/dev/pts"
mount -t proc proc "$nuova/proc"
cp /etc/resolv.conf "$nuova/etc/resolv.conf"
# The checkout as a clone would give it, with what is not yet committed.
git -C "$radice" ls-files -z --cached --others --exclude-standard |
    (cd "$radice" && tar --null -T - -cf -) | (mkdir -p "$nuova/turnolista" && tar -C "$nuova/turnolista" -xf -)
mkdir -p "$nuova/shared"
[ -d "$radice/../shared" ] && cp -r "$radice/../shared/." "$nuova/shared/"
chroot "$nuova" sh -c 'cd /turnolista && git init -q && git add -A && git -c user.email=a@b -c user.name=prova commit -qm prova'

primo=$("$radice/scripts/comando_readme.sh" 1)
secondo=$("$radice/scripts/comando_readme.sh" 2)

for giro in 1 2; do
    echo "== round $giro: the two commands in one shell"
    printf 't\nLupi\nn\n' >"$nuova/risposte"
    chroot "$nuova" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root bash -euc "
        cd /turnolista
        ( $primo ) < /risposte
        test -s build/esempio/calendario.txt
        $secondo
        test -z \"\$(git status --porcelain)\" || { git status; exit 1; }
    "
done
echo "== .ci/run"
chroot "$nuova" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root CI=true \
    bash -c 'cd /turnolista && bash .ci/run </dev/null'
echo "fresh machine: both commands, twice, and .ci/run passed"
