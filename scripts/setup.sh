#!/usr/bin/env bash
# Installs what building and testing the launcher needs on a Debian 12 machine, and fetches the
# source of libjpeg-turbo that the Windows builds compile; installs and fetches only what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake g++ libgtest-dev libjpeg62-turbo-dev clang libclang-rt-14-dev valgrind
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb xdotool x11-apps x11-utils imagemagick fp-utils dpkg-dev python3 libx11-dev
  libgtk-3-dev shared-mime-info dbus nsis xorriso osslsigncode openssl debootstrap locales openbox weston xwayland
  at-spi2-core python3-pyatspi
)

updated=false
apt_update() {
  $updated && return 0
  apt-get update -q
  updated=true
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt_update
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The unit tests fold Wine's key names under a Turkish locale, where the C library's tolower('I') is 'I'.
if ! locale -a 2>/dev/null | grep -qi '^tr_TR\.utf-\?8$'; then
  localedef -i tr_TR -f UTF-8 tr_TR.UTF-8
fi

# Debian ships no libjpeg for MinGW: the Windows builds compile Debian's own libjpeg-turbo source
# package, unpacked once into build/deps. apt-get source needs deb-src entries: they are derived from
# the machine's own deb entries, never from a host name written here.
source_dir=build/deps/libjpeg-turbo
if [[ ! -f "$source_dir/CMakeLists.txt" ]]; then
  if ! apt-get source --print-uris -q libjpeg-turbo >/dev/null 2>&1; then
    list=/etc/apt/sources.list.d/vantrel-deb-src.sources
    : >"$list"
    for f in /etc/apt/sources.list.d/*.sources; do
      [[ "$f" == "$list" ]] && continue
      sed -n '/^Types:.*\bdeb\b/,/^$/p' "$f" | sed 's/^Types:.*/Types: deb-src/' >>"$list"
      echo >>"$list"
    done
    if [[ -f /etc/apt/sources.list ]]; then
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/vantrel-deb-src.list || true
    fi
    updated=false
    apt_update
  fi
  work=$(mktemp -d)
  (cd "$work" && apt-get source -q --download-only libjpeg-turbo >/dev/null && dpkg-source -q -x ./*.dsc src >/dev/null 2>&1)
  mkdir -p "$(dirname "$source_dir")"
  rm -rf "$source_dir"
  mv "$work/src" "$source_dir"
  rm -rf "$work"
fi
