#!/usr/bin/env bash
# Proves that a fresh Debian 12 needs nothing beyond what scripts/setup.sh
# installs: builds a minimal bookworm root with debootstrap, puts a clean clone
# of this repository's HEAD in it, and runs the README's two commands there.
#   bash scripts/run.sh    with no display must write a PNG and say where
#   bash scripts/test.sh   must pass
# While test.sh does not run scripts/package-tests.sh, this runs it too.
# Slow (tens of minutes) and needs root, so it is not one of the test steps.
#
# Usage: scripts/clean-machine-check.sh [--keep]
#   --keep                 leave the root in place afterwards, for a look inside
#   HALYARD_CLEAN_ROOT=DIR build the root in DIR (must not exist yet)
set -euo pipefail

keep=0
case "${1:-}" in
  --keep) keep=1 ;;
  '') ;;
  *) echo "usage: $0 [--keep]" >&2; exit 2 ;;
esac

[ "$(id -u)" -eq 0 ] || { echo "clean-machine: must run as root (debootstrap, mount, chroot)" >&2; exit 2; }

repo="$(cd "$(dirname "$0")/.." && pwd)"
started=$(date +%s)
say() { printf 'clean-machine [%4ds]: %s\n' "$(( $(date +%s) - started ))" "$*"; }

# --- tools this script needs on the host -------------------------------------
need=()
command -v debootstrap >/dev/null || need+=(debootstrap)
command -v git >/dev/null || need+=(git)
if [ "${#need[@]}" -gt 0 ]; then
  say "installing ${need[*]} on the host"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# --- the bookworm mirror, taken from this machine's own apt sources ----------
# Prints "URI KEYRING" for the first enabled deb source of suite bookworm with
# component main (KEYRING is "-" when the source names none).
find_mirror() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '
      function flush() {
        if (uris != "" && types ~ /(^| )deb( |$)/ && suites ~ /(^| )bookworm( |$)/ &&
            comps ~ /(^| )main( |$)/ && enabled !~ /^(no|false)$/) {
          split(uris, u, " "); print u[1], (keyring == "" ? "-" : keyring); found = 1; exit
        }
        types = uris = suites = comps = enabled = keyring = ""
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      {
        key = tolower($1); sub(/:$/, "", key)
        line = $0; sub(/^[^:]*:[ \t]*/, "", line); gsub(/[ \t]+/, " ", line)
        if (key == "types") types = line
        else if (key == "uris") uris = line
        else if (key == "suites") suites = line
        else if (key == "components") comps = line
        else if (key == "enabled") enabled = tolower(line)
        else if (key == "signed-by") keyring = line
      }
      END { if (!found) flush() }
    ' "$f" | head -n 1 | grep . && return 0
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    # deb [options] URI SUITE COMPONENT...
    sed -e 's/#.*//' -e 's/\[[^]]*\]//' "$f" |
      awk '$1 == "deb" && $3 == "bookworm" { for (i = 4; i <= NF; i++) if ($i == "main") { print $2, "-"; exit } }' |
      head -n 1 | grep . && return 0
  done
  return 1
}

if ! read -r mirror keyring < <(find_mirror); then
  echo "clean-machine: no 'deb ... bookworm main' source in /etc/apt/sources.list or /etc/apt/sources.list.d" >&2
  exit 1
fi
# A Signed-By that is a path is used as given; otherwise the Debian archive keyring.
if [ "$keyring" = "-" ] || [ ! -f "$keyring" ]; then
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
fi
keyring_arg=()
[ -f "$keyring" ] && keyring_arg=(--keyring="$keyring")
say "mirror $mirror"

# --- the root, and everything that must be undone ----------------------------
if [ -n "${HALYARD_CLEAN_ROOT:-}" ]; then
  root="$HALYARD_CLEAN_ROOT"
  [ ! -e "$root" ] || { echo "clean-machine: $root already exists" >&2; exit 2; }
  mkdir -p "$root"
else
  root="$(mktemp -d /var/tmp/halyard-clean-machine.XXXXXX)"
  chmod 755 "$root"  # it is /, and apt's _apt user must get through it
fi
root="$(cd "$root" && pwd)"
mounted=()  # in mount order; undone in reverse

mounts_under_root() { awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/mounts; }

cleanup() {
  local status=$? pid link i
  set +e
  # Daemons the tests may leave behind inside the root (wineserver, Xvfb) would
  # keep its mounts busy; end exactly those, by id.
  for pid in /proc/[0-9]*; do
    link="$(readlink "$pid/root" 2>/dev/null)" || continue
    if [ "$link" = "$root" ] || [ "${link#"$root"/}" != "$link" ]; then
      kill -TERM "${pid#/proc/}" 2>/dev/null
    fi
  done
  sleep 1
  for pid in /proc/[0-9]*; do
    link="$(readlink "$pid/root" 2>/dev/null)" || continue
    if [ "$link" = "$root" ] || [ "${link#"$root"/}" != "$link" ]; then
      kill -KILL "${pid#/proc/}" 2>/dev/null
    fi
  done
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null ||
      echo "clean-machine: could not unmount ${mounted[i]}" >&2
  done
  if [ -n "$(mounts_under_root)" ]; then
    echo "clean-machine: mounts remain under $root; leaving it in place:" >&2
    mounts_under_root >&2
  elif [ "$keep" -eq 1 ]; then
    echo "clean-machine: root kept at $root"
  else
    rm -rf --one-file-system "$root"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

mount_in_root() {  # TARGET (inside the root) MOUNT-ARGS...
  local target="$root$1"; shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounted+=("$target")
  # A bind mount joins its source's peer group; keep what happens below it in here.
  mount --make-private "$target"
}

# --- a minimal Debian 12 ------------------------------------------------------
say "debootstrap bookworm (minbase) into $root"
debootstrap --variant=minbase "${keyring_arg[@]}" bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 || {
  tail -n 30 "$root.debootstrap.log" >&2
  echo "clean-machine: debootstrap failed (log: $root.debootstrap.log)" >&2
  exit 1
}
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

# --- a clean clone of HEAD ----------------------------------------------------
head="$(git -C "$repo" rev-parse HEAD)"
say "cloning $head"
git clone -q --no-hardlinks "$repo" "$root/src/halyard"
git -C "$root/src/halyard" checkout -q --detach "$head"
rm -rf "$root/src/halyard/.git"  # a tarball-like tree: nothing may depend on git

# Runs a command in the root as on a console with no display.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c "cd /src/halyard && $1"
}

result=0

say "bash scripts/run.sh (no display)"
t0=$(date +%s)
set +e
in_root 'bash scripts/run.sh' 2>&1 | tee "$root/run.log"
run_status=${PIPESTATUS[0]}
set -e
png="$root/src/halyard/out/halyard-now.png"
if [ "$run_status" -ne 0 ]; then
  say "FAIL run.sh exited with $run_status"; result=1
elif ! grep -q 'wrote the current face to /src/halyard/out/halyard-now.png' "$root/run.log"; then
  say "FAIL run.sh did not say where it wrote the face"; result=1
elif [ "$(head -c 8 "$png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
  say "FAIL $png is missing or not a PNG"; result=1
else
  say "ok   run.sh wrote a PNG of $(stat -c %s "$png") bytes ($(( $(date +%s) - t0 ))s)"
fi

say "bash scripts/test.sh"
t0=$(date +%s)
set +e
in_root 'bash scripts/test.sh' 2>&1 | tee "$root/test.log"
test_status=${PIPESTATUS[0]}
set -e
summary="$(grep -E '^Test steps: ' "$root/test.log" | tail -n 1)"
if [ "$test_status" -eq 0 ] && [[ "$summary" =~ ^Test\ steps:\ [1-9][0-9]*\ passed,\ 0\ failed$ ]]; then
  say "ok   test.sh: $summary ($(( $(date +%s) - t0 ))s)"
else
  say "FAIL test.sh exited with $test_status: ${summary:-no summary line}"
  grep -E '^failed: ' "$root/test.log" || true
  result=1
fi

# The package checks, for as long as test.sh does not run them itself.
if [ -f "$root/src/halyard/scripts/package-tests.sh" ] &&
   ! grep -q 'package-tests\.sh' "$root/src/halyard/scripts/test.sh"; then
  say "bash scripts/package-tests.sh"
  t0=$(date +%s)
  set +e
  in_root 'bash scripts/package-tests.sh' 2>&1 | tee "$root/package.log"
  package_status=${PIPESTATUS[0]}
  set -e
  summary="$(grep -E '^Package checks: ' "$root/package.log" | tail -n 1)"
  if [ "$package_status" -eq 0 ]; then
    say "ok   package-tests.sh: $summary ($(( $(date +%s) - t0 ))s)"
  else
    say "FAIL package-tests.sh exited with $package_status: ${summary:-no summary line}"
    grep -E '^FAIL ' "$root/package.log" || true
    result=1
  fi
fi

if [ "$result" -eq 0 ]; then
  say "PASSED: a fresh Debian 12 runs both README commands"
else
  say "FAILED"
  keep=1  # the logs and the tree are the evidence
fi
exit "$result"
