#!/usr/bin/env bash
# Proves a newcomer's commands on a fresh minimal Debian 12: makes a minbase bookworm system
# in a temporary folder (the mirrors of this machine's apt sources), gives it what a newcomer
# has (git ca-certificates make sudo), clones this checkout into it and runs `make test`
# there. Reports pass or fail and the time taken. Not part of CI (it takes long): run it when
# the dependencies change. Needs root (debootstrap, mounts, chroot).
set -euo pipefail

usage() {
    cat <<'EOF'
usage: check-fresh-machine.sh [options]
  --ref REF          commit to check (default: the committed HEAD of this checkout;
                     changes not committed are not part of the check)
  --jobs N           JOBS for make (default: 2)
  --share-ccache     bind-mount this machine's ccache folder into the fresh system. It only
                     caches compiler output: the packages are still installed from the
                     mirror, and configuring, linking and the tests still run there.
  --demo             run `xvfb-run make demo` instead of `make test` (xvfb, xauth and xdotool
                     are installed in the fresh system for this check only); passes when the
                     main window still exists DEMO_SECONDS after it appeared, then stops it
  --demo-seconds N   (default: 20)
  --package          run `make package`, install the package, edit
                     /etc/mervex/Settings.ini, reinstall it and check that the edit is kept
                     and that lintian -I shows no hardening tag
  --run-with CMD     run the checked command through CMD, e.g. a guard that limits how
                     many builds run at once on a shared machine (the set-up runs outside it)
  --keep             keep the fresh system's folder afterwards (its path is printed)
EOF
}

ref=HEAD
jobs=2
share_ccache=false
mode=test
demo_seconds=20
keep=false
run_with=()
while [ $# -gt 0 ]; do
    case "$1" in
    --ref) ref=$2; shift ;;
    --jobs) jobs=$2; shift ;;
    --share-ccache) share_ccache=true ;;
    --demo) mode=demo ;;
    --demo-seconds) demo_seconds=$2; shift ;;
    --package) mode=package ;;
    --keep) keep=true ;;
    --run-with) read -r -a run_with <<<"$2"; shift ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
    esac
    shift
done

[ "$(id -u)" -eq 0 ] || { echo "check-fresh-machine: run as root" >&2; exit 2; }
source_dir=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
commit=$(git -C "$source_dir" rev-parse --verify "$ref^{commit}")

if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q debootstrap
fi

# The Debian repositories this machine uses, e.g. "http://deb.debian.org/debian/ bookworm".
mapfile -t repos < <(apt-get indextargets --format '$(ORIGIN) $(REPO_URI) $(RELEASE)' |
    awk '$1 == "Debian" && $3 ~ /^bookworm/ { print $2, $3 }' | sort -u)
mirror=$(printf '%s\n' "${repos[@]}" | awk '$2 == "bookworm" { print $1; exit }')
[ -n "$mirror" ] || { echo "check-fresh-machine: no bookworm mirror in the apt sources" >&2; exit 1; }

work=$(mktemp -d /var/tmp/mervex-fresh.XXXXXX)
root=$work/root
log=$work/check.log
mounts=()

# A newcomer's environment: no inherited variables beyond these.
newcomer_env=(/usr/bin/env -i HOME=/root "TERM=${TERM:-dumb}"
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
in_root() {
    chroot "$root" "${newcomer_env[@]}" "$@"
}

bind() {
    mkdir -p "$2"
    mount "${@:3}" --bind "$1" "$2"
    mounts+=("$2")
}

cleanup() {
    local rc=$? pid
    # Whatever still runs inside (a server a test started, the demo) holds the mounts.
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        if [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ]; then
            kill -KILL "$pid" 2>/dev/null || true
        fi
    done
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" || true
    done
    # And whatever else was mounted below it meanwhile (debootstrap mounts its own /proc).
    grep -o " $root/[^ ]*" /proc/mounts | sort -r | while read -r m; do
        umount "$m" 2>/dev/null || umount -l "$m" || true
    done || true
    if grep -q " $root" /proc/mounts; then
        echo "check-fresh-machine: still mounted below $root; left in place" >&2
    elif $keep; then
        echo "fresh system kept in $root"
    else
        rm -rf "$work"
    fi
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start=$(date +%s)
elapsed() { local s=$(($(date +%s) - start)); printf '%dm%02ds' $((s / 60)) $((s % 60)); }
step() { echo "== [$(elapsed)] $*"; }

step "debootstrap --variant=minbase bookworm from $mirror"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -20 "$work/debootstrap.log"; exit 1; }
for repo in "${repos[@]}"; do
    echo "deb ${repo} main"
done >"$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# No service starts inside the folder (postgresql would, and hold its mounts).
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

mount -t proc proc "$root/proc" && mounts+=("$root/proc")
mount -t sysfs sysfs "$root/sys" && mounts+=("$root/sys")
bind /dev "$root/dev"
bind /dev/pts "$root/dev/pts"
mount -t tmpfs shm "$root/dev/shm" && mounts+=("$root/dev/shm")
ccache_env=()
if $share_ccache; then
    bind "$(ccache -k cache_dir)" "$root/root/.cache/ccache"
    # Same depth below the same base as this machine's work trees: same cache keys.
    ccache_env=(CCACHE_DIR=/root/.cache/ccache CCACHE_BASEDIR=/work)
fi

step "what a newcomer has: git ca-certificates make sudo"
in_root apt-get update -q >"$work/apt.log" 2>&1 || { tail "$work/apt.log"; exit 1; }
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q git ca-certificates make sudo \
    >>"$work/apt.log" 2>&1 || { tail "$work/apt.log"; exit 1; }

step "clone $commit"
git clone -q --no-checkout "$source_dir" "$root/work/mervex"
git -C "$root/work/mervex" checkout -q --detach "$commit"

case $mode in
test)
    command=(make test "JOBS=$jobs")
    ;;
demo)
    in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q xvfb xauth xdotool \
        >>"$work/apt.log" 2>&1 || { tail "$work/apt.log"; exit 1; }
    # The demo runs until its window is closed: look for it, then stop the whole demo.
    command=(xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
        setsid make demo "JOBS=$1" &
        demo=$!
        while kill -0 $demo 2>/dev/null; do
            if xdotool search --onlyvisible --name "^Mervex" >/dev/null 2>&1; then
                echo "== main window shown; waiting $2 s"
                sleep "$2"
                for w in $(xdotool search --onlyvisible --name .); do
                    echo "window: $(xdotool getwindowname "$w")"
                done
                shown=$(xdotool search --onlyvisible --name "^Mervex" || true)
                kill -TERM -- -$demo
                wait $demo || true
                [ -n "$shown" ] && { echo "== demo started and ran for $2 s"; exit 0; }
                echo "== the main window went away"; exit 1
            fi
            sleep 2
        done
        echo "== make demo ended before its window appeared"; exit 1' demo "$jobs" "$demo_seconds")
    ;;
package)
    command=(bash -c '
        set -e
        make package "JOBS=$1"
        deb=$(ls build/deb/mervex_*.deb)
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$deb"
        sed -i "s/^OnlyArdel60=.*/OnlyArdel60=True/" /etc/mervex/Settings.ini
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "./$deb" </dev/null
        grep -q "^OnlyArdel60=True" /etc/mervex/Settings.ini ||
            { echo "== the reinstall replaced /etc/mervex/Settings.ini"; exit 1; }
        echo "== /etc/mervex/Settings.ini kept its edit through the reinstall"
        lintian -I "$deb" | tee lintian.txt
        if grep -i hardening lintian.txt; then echo "== hardening tags remain"; exit 1; fi
        echo "== no hardening tag"' package "$jobs")
    ;;
esac

step "$mode check (JOBS=$jobs$($share_ccache && echo ', shared ccache'))"
set +e
"${run_with[@]}" chroot "$root" "${newcomer_env[@]}" "${ccache_env[@]}" bash -c 'cd /work/mervex && "$@"' check "${command[@]}" 2>&1 |
    tee "$log"
status=${PIPESTATUS[0]}
set -e
summary=$(grep -E 'tests passed|tests failed' "$log" | tr '\n' ' ' || true)
if [ "$status" -eq 0 ]; then
    echo "check-fresh-machine: PASS ($mode, $commit) in $(elapsed). $summary"
else
    echo "check-fresh-machine: FAIL ($mode, $commit, exit $status) after $(elapsed). $summary"
    cp "$log" "/var/tmp/mervex-fresh-$mode.log"
    echo "log: /var/tmp/mervex-fresh-$mode.log"
fi
exit "$status"
