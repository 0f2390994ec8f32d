#!/usr/bin/env bash
# Builds the release (optimised, stripped; its own tree, $SB_BUILD/release-tree) and packs it into
# $SB_BUILD/release: <name>-<version>-win64.zip (one folder) and <name>-<version>-setup.exe.
# The packed folder is what the release build puts in its dist folder, with the demo sounds and
# the licence notices of every outside part it carries.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
: "${SB_BUILD:=$root/build}"
tree="$SB_BUILD/release-tree" out="$SB_BUILD/release"
triple=x86_64-w64-mingw32

# The screenshot test's dialog program shows the hotkey dialog for the manual's pictures.
bash tools/setup/release_tree.sh package_files hotkey_dialog_over_board

cache() { sed -n "s/^$1:[A-Z]*=//p" "$tree/CMakeCache.txt"; }
name=$(cache CMAKE_PROJECT_NAME) version=$(cache CMAKE_PROJECT_VERSION)
dist="$tree/dist"
tools/demo/make_demo_sounds.sh forms/layout/windows.layout "$dist/data/music"

# The manual's pictures: the screenshot test run on the release build, each cut to what it shows.
shots="$tree/screenshots"
rm -f "$dist/diRaConfig.ini"
screens=(bash app/tests/window_screens.sh "$dist/soundboard.exe" "$tree/app/hotkey_dialog_over_board.exe" "$shots")
if [ -n "${SB_WINE_SESSION:-}" ]; then "${screens[@]}"; else tools/wine/with-session "${screens[@]}"; fi

stage="$out/stage/$name"
rm -rf "$out/stage" && mkdir -p "$stage"
# Whatever the board made of the dist folder when someone ran it there stays behind.
(cd "$dist" && find . -type f ! -name diRaConfig.ini ! -name '*.lnk' -printf '%P\n') | while IFS= read -r file; do
  mkdir -p "$stage/$(dirname "$file")"
  cp "$dist/$file" "$stage/$file"
done
mkdir -p "$stage/manual"
for picture in main-window:main-window page-6:custom-page hotkey-dialog:hotkey-dialog; do
  convert "$shots/${picture%%:*}.png" -trim +repage "$stage/manual/${picture#*:}.png"
done
find "$stage" -iname '*.exe' -o -iname '*.dll' | while IFS= read -r module; do
  $triple-strip --strip-unneeded "$module"
done

# Licence notices: each part tools/setup/deps.sh built, and the compiler's runtime libraries that
# the static link puts into every module.
notices="$stage/licenses"
mkdir -p "$notices"
deps=.deps/win64
parts=""
for stamp in "$deps"/*.stamp; do
  part=$(basename "$stamp" .stamp)
  if [ ! -f "$deps/licenses/$part/debian-copyright" ]; then
    echo "package: no licence notices of $part in $deps/licenses (run tools/setup/deps.sh)" >&2; exit 1
  fi
  cp -r "$deps/licenses/$part" "$notices/$part"
  # freepats (the MIDI patch set, data) comes from Debian's binary package; the rest from source packages.
  kind=源码包
  if [ -f "$deps/$part.binary" ]; then kind=软件包; fi
  parts+="  $part：Debian $kind $part $(cat "$stamp")"$'\n'
done
for lib in libstdc++.a libgcc.a libwinpthread.a; do
  file=$(realpath "$($triple-g++-posix -print-file-name=$lib)")
  package=$(dpkg -S "$file" | head -1 | cut -d: -f1)
  mkdir -p "$notices/$package"
  cp "/usr/share/doc/$package/copyright" "$notices/$package/debian-copyright"
  parts+="  $package（$lib，静态链接）：Debian 软件包 $package $(dpkg-query -W -f='${Version}' "$package")"$'\n'
done
lgpl=$(cd "$stage" && ls lib*-0.dll 2>/dev/null | tr '\n' ' ')
product=$(sed -n 's/^set(SB_PRODUCT_NAME "\(.*\)")$/\1/p' cmake/version.cmake)
cat > "$notices/README.txt" <<NOTE
$product $version 所含的第三方组件。每个组件的版权与许可声明在同名的文件夹中
（debian-copyright 是 Debian 整理的完整版权说明，其余是组件自带的许可文件）。

$parts
mpg123 以 GNU 宽通用公共许可证 2.1 版（LGPL-2.1，全文见 mpg123\\COPYING）发布。它没有编进
bass.dll，而是作为单独的 DLL 放在程序 soundboard.exe 的旁边（$lgpl），由上面列出的
Debian 源码包原样编译而成。您可以用自己编译的 mpg123 以相同的文件名替换这些 DLL。

libsdl2-mixer 中只用了它的 MIDI 合成器 TiMidity（src/codecs/timidity，原样编译，静态链接在
plugins\\bass.dll 中）；作者允许在 GPL、LGPL 和 Perl 艺术许可证中任选其一（见
libsdl2-mixer\\timidity-README），本程序按艺术许可证（libsdl2-mixer\\timidity-COPYING）使用它。
freepats 是 MIDI 音色库（GPL-2 或更新版本，附加例外，见 freepats\\debian-copyright），
原样放在 plugins\\midi\\freepats 中：配置文件 crude.cfg 与它列出的音色文件。
NOTE
sed -i 's/$/\r/' "$notices/README.txt"

rm -f "$out/$name-$version-win64.zip" "$out/$name-$version-setup.exe"
# libarchive marks the Chinese file names as UTF-8, so that Explorer unpacks them by their names.
(cd "$out/stage" && cmake -E tar cf "$out/$name-$version-win64.zip" --format=zip "$name")
tools/package/make_installer.sh "$stage" "$version" "$out/$name-$version-setup.exe" "$tree/app/program.ico"
ls -l "$out/$name-$version-win64.zip" "$out/$name-$version-setup.exe"
