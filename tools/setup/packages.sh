#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and the Chinese locale Wine runs in.
set -euo pipefail

packages=(
  g++ cmake ninja-build
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 xvfb xdotool imagemagick
  fonts-wqy-zenhei
  libjpeg62-turbo-dev libmpg123-dev
  libogg-dev libvorbis-dev libflac-dev libopus-dev libopusfile-dev
  googletest
  espeak-ng lame sox twolame vorbis-tools flac opus-tools
  nsis unzip
  dpkg-dev locales libasound2 libasound2-plugins alsa-utils
  autoconf automake libtool pkg-config make
)

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "soundboard: installing ${missing[*]}"
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "soundboard: generating the zh_CN.UTF-8 locale"
  if grep -q '^# *zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  elif ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen
fi
