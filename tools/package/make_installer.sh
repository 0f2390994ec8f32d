#!/usr/bin/env bash
# Makes the per-user installer of a staged package folder with Debian's makensis.
#   make_installer.sh STAGED_FOLDER VERSION OUTPUT_EXE PROGRAM_ICON
# The folder's name is the package's ASCII name (and the install folder's); its one .exe is the
# program. The file lists come from the folder itself.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
stage=$(cd "$1" && pwd) version=$2 out=$3 icon=$(realpath "$4")
mkdir -p "$(dirname "$out")"
out="$(cd "$(dirname "$out")" && pwd)/$(basename "$out")"

product=$(sed -n 's/^set(SB_PRODUCT_NAME "\(.*\)")$/\1/p' "$root/cmake/version.cmake")
program=$(cd "$stage" && ls *.exe | head -1) && program=${program%.exe}
# The installer finds a running board by its main window: the runtime's window class and the title
# the window layout gives it.
board_class=$(sed -n 's/.*kDefaultWindowClass\[\] = "\(.*\)";.*/\1/p' "$root/controls/window_unit.cpp")
board_title=$(awk '/^window MainWindow/ {on = 1} on && /caption="/ {sub(/.*caption="/, ""); sub(/".*/, ""); print; exit}' \
  "$root/forms/layout/windows.layout")
for value in "$product" "$program" "$board_class" "$board_title"; do
  [ -n "$value" ] || { echo "make_installer: a name could not be read from the sources" >&2; exit 1; }
done

# Text as an NSIS string: $ and " escaped.
nsis_text() { local t=${1//\$/\$\$}; printf '%s' "${t//\"/\$\\\"}"; }

generated=$(mktemp --suffix=.nsh)
trap 'rm -f "$generated"' EXIT
{
  echo "!define PRODUCT_NAME \"$(nsis_text "$product")\""
  echo "!define PRODUCT_VERSION \"$version\""
  echo "!define PACKAGE_NAME \"$(basename "$stage")\""
  echo "!define PROGRAM \"$program\""
  echo "!define PROGRAM_ICON \"$icon\""
  echo "!define BOARD_CLASS \"$(nsis_text "$board_class")\""
  echo "!define BOARD_TITLE \"$(nsis_text "$board_title")\""
  echo "!define STAGE \"$stage\""
  echo "!define OUTFILE \"$out\""
  echo '!macro DEMO_SOUNDS'
  if [ -d "$stage/data/music" ]; then
    (cd "$stage/data/music" && find . -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort) | while IFS= read -r name; do
      echo "  !insertmacro DEMO_SOUND \"$(nsis_text "$name")\""
    done
  fi
  echo '!macroend'
  # Everything the installer put there apart from the sounds: files first, then the folders,
  # deepest first, each only when empty.
  echo '!macro PROGRAM_FILES_REMOVE'
  (cd "$stage" && find . -path ./data -prune -o -type f -printf '%P\n' | LC_ALL=C sort) | while IFS= read -r file; do
    echo "  Delete \"\$INSTDIR\\$(nsis_text "${file//\//\\}")\""
  done
  (cd "$stage" && find . -path ./data -prune -o -mindepth 1 -type d -printf '%P\n' | LC_ALL=C sort -r) | while IFS= read -r dir; do
    echo "  RMDir \"\$INSTDIR\\$(nsis_text "${dir//\//\\}")\""
  done
  echo '!macroend'
} > "$generated"

makensis -V2 -INPUTCHARSET UTF8 -DGENERATED="$generated" "$here/installer.nsi"
