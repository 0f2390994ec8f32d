#!/usr/bin/env bash
# The packages the package tests work on: ./soundboard package's release build and packing, the zip
# unpacked into a fresh folder, and a newer-numbered installer made from that folder.
#   make_packages.sh BUILD_ROOT WORK_FOLDER NAME VERSION NEXT_VERSION
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build_root=$1 work=$2 name=$3 version=$4 next=$5
SB_BUILD="$build_root" "$here/../package.sh"
rm -rf "$work" && mkdir -p "$work/unpacked"
unzip -q "$build_root/release/$name-$version-win64.zip" -d "$work/unpacked"
# Exactly one folder at the top of the zip.
[ "$(ls -A "$work/unpacked")" = "$name" ] || { echo "the zip does not hold exactly the folder $name"; exit 1; }
"$here/../make_installer.sh" "$work/unpacked/$name" "$next" "$work/$name-$next-setup.exe" \
  "$build_root/release-tree/app/program.ico"
