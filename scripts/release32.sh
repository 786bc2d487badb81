#!/usr/bin/env bash
# usage: release32.sh [NAME...]   (only the lane's tests whose names contain a NAME)
# The release lane: the shipped 32-bit build/win32/bin/Launch.exe itself, clicked through by the
# end-to-end harness (tests/e2e/run.py --lane) under Wine 8's classic WoW64 in a Debian 12 chroot,
# where Wine's 64-bit side runs natively and 32-bit programs run natively where the kernel can, else
# through qemu-i386, registered only in a private binfmt_misc of the run's own user namespace.
#
# Set-up, once per machine, cached in $VANTREL_WOW64_CACHE (default /var/cache/vantrel-wow64): the
# chroot (debootstrap from the machine's own Debian mirror, then wine, wine64, wine32:i386 and
# fonts-wine in it), qemu-user-static unpacked there (never installed on the host), and a WoW64
# prefix. Needs root, unprivileged user namespaces, and without 32-bit support in the kernel Linux
# 6.7 or later (binfmt_misc of a user namespace's own). Where the lane cannot run, it fails under CI
# (CI=true) and is skipped elsewhere, saying why.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
cache=${VANTREL_WOW64_CACHE:-/var/cache/vantrel-wow64}
root=$cache/root
prefix=$cache/prefix
qemu=$cache/qemu/usr/bin/qemu-i386-static

cannot() {
  if [[ "${CI:-}" == true ]]; then
    echo "release32: the lane cannot run here: $1" >&2
    echo "release32: 0 passed, 1 failed"
    exit 1
  fi
  echo "release32: skipped: $1"
  exit 0
}

[[ -f build/win32/bin/Launch.exe && -f build/win64/bin/peek.exe ]] ||
  { echo "release32: build the win32 and win64 presets first" >&2; exit 1; }
[[ $(id -u) == 0 ]] || cannot "the chroot needs root"
unshare --user --map-root-user --mount true 2>/dev/null || cannot "user namespaces are not available"

# The Debian mirror this machine's own apt uses, for the suite the chroot gets.
mirror() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f "$f" ]] || continue
    awk '/^Types:/{deb=0; for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1}
         /^URIs:/{uri=$2}
         /^Suites:/{for (i = 2; i <= NF; i++) if (deb && $i == "bookworm") {print uri; exit}}' "$f"
  done
  if [[ -f /etc/apt/sources.list ]]; then awk '$1 == "deb" && $3 == "bookworm" {print $2; exit}' /etc/apt/sources.list; fi
  return 0
}

in_chroot() {  # a command in the chroot, with /proc, /dev and /sys there for package scripts
  unshare --mount --propagation private bash -c '
    root=$1; shift
    for d in proc dev sys; do mount --rbind "/$d" "$root/$d"; done
    cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
    chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"' _ "$root" "$@"
}

if [[ ! -f $cache/ready ]]; then
  started=$SECONDS
  command -v debootstrap >/dev/null || cannot "debootstrap is missing: run scripts/setup.sh"
  url=$(mirror | head -1)
  [[ -n "$url" ]] || cannot "no Debian bookworm mirror in this machine's apt sources"
  rm -rf "$cache"
  mkdir -p "$cache"
  echo "release32: setting up the WoW64 chroot in $cache from $url (about 5 minutes, once)"
  debootstrap --variant=minbase bookworm "$root" "$url" >"$cache/debootstrap.log" 2>&1 ||
    { tail -20 "$cache/debootstrap.log"; exit 1; }
  # The host's apt settings about the mirror's release files hold for the chroot too.
  apt-config dump | grep -E '^Acquire::Check-(Valid-Until|Date) ' >"$root/etc/apt/apt.conf.d/99vantrel" || true
  in_chroot dpkg --add-architecture i386
  in_chroot apt-get update -q >"$cache/apt.log" 2>&1
  in_chroot apt-get install -y -q --no-install-recommends wine wine64 wine32:i386 fonts-wine >>"$cache/apt.log" 2>&1 ||
    { tail -20 "$cache/apt.log"; exit 1; }
  in_chroot apt-get clean
  (cd "$cache" && { apt-get download -q qemu-user-static >/dev/null 2>&1 ||
                    { apt-get update -q >/dev/null && apt-get download -q qemu-user-static >/dev/null; }; } &&
   dpkg -x qemu-user-static_*.deb qemu && rm -f qemu-user-static_*.deb)
  [[ -x $qemu ]] || { echo "release32: qemu-i386-static not unpacked" >&2; exit 1; }
  mkdir -p "$prefix"
  touch "$cache/ready"
  echo "release32: chroot ready in $((SECONDS - started)) s"
fi

# Inside a user namespace of its own: binfmt_misc of its own (only where the kernel cannot run 32-bit
# code itself), the paths the tests use bind-mounted into the chroot at the same places, then the
# harness's release lane. Every mount ends with the namespace.
exec unshare --user --map-root-user --mount --propagation private bash -c '
  set -euo pipefail
  repo=$1 cache=$2 root=$3 prefix=$4 qemu=$5
  shift 5
  for d in proc dev sys; do mount --rbind "/$d" "$root/$d"; done
  mkdir -p /tmp/.X11-unix "$root/tmp/.X11-unix" "$root$repo" "$root$prefix"
  mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  mount --bind "$repo" "$root$repo"
  mount --bind "$prefix" "$root$prefix"
  if chroot "$root" /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "release32: this kernel runs 32-bit code itself: no qemu"
  else
    misc=$cache/binfmt
    mkdir -p "$misc"
    mount -t binfmt_misc binfmt_misc "$misc" 2>/dev/null || {
      echo "release32: the lane cannot run here: no binfmt_misc of a user namespace of its own (Linux 6.7 or later)" >&2
      [[ "${CI:-}" == true ]] && { echo "release32: 0 passed, 1 failed"; exit 1; }
      exit 0
    }
    # i386 ELF executables and shared objects, to qemu opened now (F): the chroot need not hold it.
    printf "%s" ":vantrel-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$qemu:F" >"$misc/register"
    chroot "$root" /usr/lib/wine/wine --version >/dev/null 2>&1 ||
      { echo "release32: the 32-bit Wine loader does not run, even through qemu" >&2; exit 1; }
  fi
  VANTREL_LANE_ROOT=$root VANTREL_LANE_PREFIX=$prefix exec python3 tests/e2e/run.py --lane "$@"
' _ "$repo" "$cache" "$root" "$prefix" "$qemu" "$@"
