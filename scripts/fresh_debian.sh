#!/usr/bin/env bash
# Runs a command (the README's test, web and Windows commands, in CI) on a
# clone of this checkout's last commit inside a minimal Debian 12 made anew for the run,
# so that nothing this machine happens to have installed can stand in for an
# install step the commands lack. Needs root and a network that reaches
# Debian's archive and the npm registry. The commands run in namespaces of
# their own: their mounts and processes end with them, and the root goes on
# every exit. A run killed outright leaves a root that the next run removes.
# Usage: fresh_debian.sh COMMAND   (run by bash in the clone's folder)
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
source scripts/packages.sh

[ $# -ge 1 ] || { echo "Usage: fresh_debian.sh COMMAND" >&2; exit 2; }
commands=$1
mirror=${KLIMORA_DEBIAN_MIRROR:-http://deb.debian.org/debian}
security=${KLIMORA_DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}
roots=${TMPDIR:-/var/tmp}/klimora-fresh-debian
# What is lent in changes no result: downloads, and the Qt for Windows whose
# folder is named after everything that decides its bytes.
cache=${XDG_CACHE_HOME:-$HOME/.cache}
lent=("$cache/klimora:/root/.cache/klimora" "$HOME/.npm:/root/.npm"
    "$cache/klimora-apt-archives:/var/cache/apt/archives")

fail() {
    echo "fresh_debian.sh: $*" >&2
    exit 1
}

# The mounts are the private mount namespace's, invisible here: nothing lent
# in is reached from the folder.
remove_root() {
    rm -rf --one-file-system "$1"
}

# Ends the commands first: with unshare (which ignores SIGTERM), the pid
# namespace's first process dies, and the kernel kills every other one in it.
# shellcheck disable=SC2317 # run by the trap
end_run() {
    if [ -n "${run:-}" ]; then
        kill -KILL "$run" 2>/dev/null || true
        wait "$run" 2>/dev/null || true
        sleep 2
    fi
    remove_root "$root"
}

# Inside the namespaces: the kernel's file systems and the lent caches, then
# the commands as a new user's shell would run them. The root becomes the
# namespace's own (pivot_root): a chrooted process may not make the user
# namespace that the stranger's build in the reproducibility tests needs.
if [ "${1:-}" = --inside ]; then
    root=$2
    commands=$3
    mount --bind "$root" "$root"
    mount -t proc proc "$root/proc"
    mount --rbind /sys "$root/sys"
    mount --rbind /dev "$root/dev"
    for pair in "${lent[@]}"; do
        mkdir -p "${pair%%:*}" "$root${pair#*:}"
        [[ ${pair#*:} != */apt/archives ]] || mkdir -p "${pair%%:*}/partial"
        mount --bind "${pair%%:*}" "$root${pair#*:}"
    done
    environment=(HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
        LANG=C.UTF-8 TERM=dumb CI="${CI:-}")
    [ -z "${NODE_EXTRA_CA_CERTS:-}" ] ||
        environment+=(NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt)
    mkdir "$root/.host"
    cd "$root"
    pivot_root . .host
    umount --lazy /.host
    rmdir /.host
    cd /root/klimora
    exec /usr/bin/env -i "${environment[@]}" bash -c "$commands" </dev/null
fi

[ "$(id -u)" -eq 0 ] || fail "a chroot needs root; run it as root."
ensure_packages mmdebstrap || fail "mmdebstrap cannot be installed here, so no chroot can be made."

mkdir -p "$roots"
# One run at a time: another run's root is no leftover.
exec {lock}>"$roots.lock"
flock -n "$lock" || { echo "Waiting for another run of fresh_debian.sh to end"; flock "$lock"; }
for earlier in "$roots"/*; do
    [ -d "$earlier" ] || continue
    echo "Removing a root left by an earlier run: $earlier"
    remove_root "$earlier"
done
root=$(mktemp -d "$roots/root.XXXXXX")
trap end_run EXIT
trap 'exit 143' TERM HUP
trap 'exit 130' INT

started=$(date +%s)
# As an installed Debian 12 has its archive: the release, its updates and
# its security fixes. How apt reaches it (a proxy, a mirror's dates) is the
# network's setting, not a package.
network=()
for file in /etc/apt/apt.conf /etc/apt/apt.conf.d/*; do
    [ -f "$file" ] && grep -qiE 'Acquire::.*(Proxy|Check-Valid-Until|Check-Date)' "$file" &&
        network+=(--aptopt="$file")
done
mmdebstrap --variant=minbase --include=git,ca-certificates --quiet "${network[@]}" bookworm "$root" \
    "deb $mirror bookworm main" "deb $mirror bookworm-updates main" \
    "deb $security bookworm-security main" >&2 || fail "making the Debian 12 root failed."

# The host's network settings: its name servers, and the certificate
# authorities its network needs.
cp /etc/resolv.conf "$root/etc/resolv.conf"
[ -s "$root/etc/hosts" ] || printf '127.0.0.1\tlocalhost\n::1\t\tlocalhost ip6-localhost ip6-loopback\n' \
    >"$root/etc/hosts"
if compgen -G '/usr/local/share/ca-certificates/*' >/dev/null; then
    cp -r /usr/local/share/ca-certificates/. "$root/usr/local/share/ca-certificates/"
    chroot "$root" update-ca-certificates >/dev/null 2>&1
fi
# What every installed system has and a bare root lacks: its own machine id,
# and (for a chroot only) no services started by the packages installed.
od -An -tx1 -N16 /dev/urandom | tr -d ' \n' >"$root/etc/machine-id"
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
git clone --quiet --no-hardlinks "$PWD" "$root/root/klimora"
echo "Debian 12 root ready in $(($(date +%s) - started)) s: $root"

started=$(date +%s)
status=0
# In the background, so that a signal to this script ends the run at once. The
# first process of the pid namespace is the commands' shell: when it ends, or
# unshare is killed, every process left (a test's daemon) is killed with it.
unshare --mount --propagation private --pid --fork --kill-child -- \
    bash "$PWD/scripts/fresh_debian.sh" --inside "$root" "$commands" &
run=$!
wait "$run" || status=$?
run=
echo "The commands ran in the fresh Debian 12 for $(($(date +%s) - started)) s; status $status"
exit "$status"
