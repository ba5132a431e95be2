#!/usr/bin/env bash
# Proves that a fresh Debian 12 needs nothing beyond what scripts/setup.sh
# installs: in a minimal bookworm root (debootstrap) with a clean clone of HEAD,
# `bash scripts/run.sh` without a display must write a PNG and say where, and
# `bash scripts/test.sh` must pass. Slow and needs root: not a test step.
#   scripts/clean-machine-check.sh [--keep]   (--keep: leave the root in place)
#   HALYARD_CLEAN_ROOT=DIR builds the root in DIR (must not exist yet)
set -euo pipefail
me=clean-machine
. "$(dirname "$0")/lib.sh"

keep=0
case "${1:-}" in --keep) keep=1 ;; '') ;; *) die "usage: $0 [--keep]" ;; esac
[ "$(id -u)" -eq 0 ] || die "must run as root (debootstrap, mount, chroot)"
repo="$(cd "$(dirname "$0")/.." && pwd)"
say() { printf 'clean-machine [%4ds]: %s\n' "$SECONDS" "$*"; }

# --- tools this script needs on the host, and the bookworm mirror of its apt sources
need=()
for tool in debootstrap git; do command -v "$tool" >/dev/null || need+=("$tool"); done
if [ "${#need[@]}" -gt 0 ]; then
  say "installing ${need[*]} on the host"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Release: bookworm' 'Component: main' 'Target-Of: deb' | head -n 1)
[ -n "$mirror" ] || { echo "$me: no 'deb ... bookworm main' source in this machine's apt sources" >&2; exit 1; }
keyring_arg=()
[ -f /usr/share/keyrings/debian-archive-keyring.gpg ] && keyring_arg=(--keyring=/usr/share/keyrings/debian-archive-keyring.gpg)
say "mirror $mirror"

# --- the root, and everything that must be undone ----------------------------
if [ -n "${HALYARD_CLEAN_ROOT:-}" ]; then
  root="$HALYARD_CLEAN_ROOT"
  [ ! -e "$root" ] || die "$root already exists"
  mkdir -p "$root"
else
  root="$(mktemp -d /var/tmp/halyard-clean-machine.XXXXXX)"
  chmod 755 "$root"  # it is /, and apt's _apt user must get through it
fi
root="$(cd "$root" && pwd)"
mounts_under_root() { awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/mounts; }
remove_root() {
  if [ -n "$(mounts_under_root)" ]; then
    echo "$me: mounts remain under $root; leaving it in place:" >&2
    mounts_under_root >&2
  elif [ "$keep" -eq 1 ]; then
    echo "$me: root kept at $root"
  else
    rm -rf --one-file-system "$root"
  fi
}
# Daemons the tests may leave behind inside the root (wineserver, Xvfb) would
# keep its mounts busy; end exactly those, by id.
end_processes_in_root() {
  local signal pid link
  for signal in TERM KILL; do
    for pid in /proc/[0-9]*; do
      link="$(readlink "$pid/root" 2>/dev/null)" || continue
      [ "$link" = "$root" ] || [ "${link#"$root"/}" != "$link" ] && kill -"$signal" "${pid#/proc/}" 2>/dev/null
    done
    sleep 1
  done
}
on_exit remove_root
trap 'exit 130' HUP

mount_in_root() {  # TARGET (inside the root) MOUNT-ARGS...
  local target="$root$1"
  shift
  mkdir -p "$target"
  mount "$@" "$target"
  on_exit "umount '$target' 2>/dev/null || umount -l '$target' 2>/dev/null || echo '$me: could not unmount $target' >&2"
  # A bind mount joins its source's peer group; keep what happens below it in here.
  mount --make-private "$target"
}

# --- a minimal Debian 12 ------------------------------------------------------
say "debootstrap bookworm (minbase) into $root"
debootstrap --variant=minbase "${keyring_arg[@]}" bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
  { tail -n 30 "$root.debootstrap.log" >&2; echo "$me: debootstrap failed (log: $root.debootstrap.log)" >&2; exit 1; }
rm -f "$root.debootstrap.log"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
# Packages installed in the root must not start services on the host.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
mount_in_root /proc -t proc proc
mount_in_root /sys -t sysfs sysfs
mount_in_root /dev --bind /dev
mount_in_root /dev/pts --bind /dev/pts
mount_in_root /dev/shm -t tmpfs -o mode=1777 tmpfs
mount_in_root /tmp -t tmpfs -o mode=1777 tmpfs
on_exit end_processes_in_root

# --- a clean clone of HEAD ----------------------------------------------------
head="$(git -C "$repo" rev-parse HEAD)"
say "cloning $head"
git clone -q --no-hardlinks "$repo" "$root/src/halyard"
git -C "$root/src/halyard" checkout -q --detach "$head"
rm -rf "$root/src/halyard/.git"  # a tarball-like tree: nothing may depend on git

# in_root NAME COMMAND: runs the command in the root as on a console with no
# display, its output also in $root/NAME.log; true when it exits with 0.
in_root() {
  say "$2"
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c "cd /src/halyard && $2" 2>&1 | tee "$root/$1.log"
}
set +e
wrote_png() {
  [ "$run_status" -eq 0 ] && grep -q 'wrote the current face to /src/halyard/out/halyard-now.png' "$root/run.log" &&
    is_png "$root/src/halyard/out/halyard-now.png"
}
in_root run 'bash scripts/run.sh'
run_status=$?
check "run.sh exits with 0, writes a PNG of the face and says where" wrote_png
in_root test 'bash scripts/test.sh'
test_status=$?
steps="$(grep -E '^Test steps: ' "$root/test.log" | tail -n 1)"
check "test.sh exits with 0: ${steps:-no summary line}" \
  eval '[ $test_status -eq 0 ] && [[ "$steps" =~ ^Test\ steps:\ [1-9][0-9]*\ passed,\ 0\ failed$ ]]'
grep -E '^failed: ' "$root/test.log"

if summary "$me"; then
  say "PASSED: a fresh Debian 12 runs both README commands"
else
  say "FAILED"
  keep=1  # the logs and the tree are the evidence
  exit 1
fi
