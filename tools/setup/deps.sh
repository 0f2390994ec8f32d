#!/usr/bin/env bash
# Builds the Windows x64 static libraries of libjpeg-turbo, mpg123 and the Ogg Vorbis, FLAC and
# Opus decoders from Debian's source packages into .deps/win64. Each library is rebuilt only
# when its Debian version changes.
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
deps="$root/.deps"
prefix="$deps/win64"
work="$deps/src"
host=x86_64-w64-mingw32
mkdir -p "$prefix" "$work"

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# A deb-src entry copied from the machine's own deb entry, so the source comes from the same archive.
ensure_deb_src() {
  local list=/etc/apt/sources.list.d/soundboard-src.sources
  if apt-cache showsrc libjpeg-turbo 2>/dev/null | grep -q '^Package:'; then return; fi
  local src=/etc/apt/sources.list.d/debian.sources
  if [ -f "$src" ]; then
    sed 's/^Types: deb$/Types: deb-src/' "$src" | as_root tee "$list" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | as_root tee /etc/apt/sources.list.d/soundboard-src.list >/dev/null
  fi
  as_root apt-get update -q
}

source_version() {
  apt-cache showsrc "$1" | awk '/^Version:/ {print $2; exit}'
}

# Fetches and unpacks the source package; prints the unpacked directory.
fetch() {
  local name=$1 version=$2 dir="$work/$1"
  rm -rf "$dir" && mkdir -p "$dir"
  # The archive may lack a detached signature of the upstream tarball (a 404 for the .asc): apt
  # then reports failure although the .dsc and the tarballs arrived, so judge by the files.
  (cd "$dir" && apt-get source --download-only "$name=$version" >/dev/null 2>&1) || true
  local dsc
  dsc=$(ls "$dir"/*.dsc 2>/dev/null | head -1)
  if [ -z "$dsc" ]; then echo "soundboard: could not fetch the source of $name $version" >&2; exit 1; fi
  (cd "$dir" && dpkg-source --no-check -x "$(basename "$dsc")" unpacked >/dev/null)
  echo "$dir/unpacked"
}

build_libjpeg() {
  local tree=$1
  cmake -S "$tree" -B "$tree/build-win64" -G Ninja \
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=AMD64 \
    -DCMAKE_C_COMPILER=$host-gcc-posix -DCMAKE_RC_COMPILER=$host-windres \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF \
    -DWITH_JPEG8=OFF >/dev/null
  cmake --build "$tree/build-win64" --target jpeg-static >/dev/null
  mkdir -p "$prefix/lib" "$prefix/include"
  cp "$tree/build-win64/libjpeg.a" "$prefix/lib/"
  cp "$tree/jpeglib.h" "$tree/jmorecfg.h" "$tree/jerror.h" "$tree/build-win64/jconfig.h" "$prefix/include/"
}

build_mpg123() {
  local tree=$1
  (cd "$tree" &&
   ./configure --host=$host CC=$host-gcc-posix --prefix="$prefix" \
      --enable-static --disable-shared --disable-modules --with-cpu=x86-64 >/dev/null &&
   make -j"$(nproc)" >/dev/null && make install >/dev/null)
}

# The autotools packages, configured for MinGW against what is already in the prefix.
# Their compiler chatter goes to a log, shown only when the build fails.
configure_static() {
  local tree=$1 log="$1/../build.log"
  shift
  if ! (cd "$tree" &&
        PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH="" \
        ./configure --host=$host CC=$host-gcc-posix --prefix="$prefix" \
           CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib" \
           --enable-static --disable-shared "$@" &&
        make -j"$(nproc)" && make install) >"$log" 2>&1; then
    tail -40 "$log" >&2
    echo "soundboard: building $(basename "$(dirname "$tree")") failed" >&2
    exit 1
  fi
}

build_libogg() { configure_static "$1"; }
build_libvorbis() { configure_static "$1" --disable-docs --disable-examples --disable-oggtest; }
build_opus() { configure_static "$1" --disable-doc --disable-extra-programs; }
build_opusfile() { configure_static "$1" --disable-http --disable-examples --disable-doc; }
# The library alone: no programs, no C++ wrapper, no Ogg FLAC.
build_flac() {
  configure_static "$1" --disable-programs --disable-examples --disable-cpplibs --disable-ogg \
    --disable-doxygen-docs --disable-xmms-plugin --disable-stack-smash-protection
}

stamp_ok() { [ -f "$prefix/$1.stamp" ] && [ "$(cat "$prefix/$1.stamp")" = "$2" ]; }

# The licence notices of a part travel with the package: the Debian copyright file and the upstream
# licence files, kept in .deps/win64/licenses/<name>/ (the source tree itself is removed).
keep_notices() {  # name, unpacked tree
  local dest="$prefix/licenses/$1"
  rm -rf "$dest" && mkdir -p "$dest"
  find "$2" -maxdepth 1 -type f \( -iname "COPYING*" -o -iname "LICEN[CS]E*" -o -name README.ijg \) -exec cp {} "$dest/" \;
  cp "$2/debian/copyright" "$dest/debian-copyright"
}
notices_kept() { [ -f "$prefix/licenses/$1/debian-copyright" ]; }

need=()
# In build order: the Ogg container before the decoders that read it, opus before opusfile.
libraries=(libjpeg-turbo mpg123 libogg libvorbis flac opus opusfile)
for name in "${libraries[@]}"; do
  if [ ! -f "$prefix/$name.stamp" ] || ! notices_kept "$name"; then need+=("$name"); fi
done
# Stamps exist: compare with the archive's version only when apt knows the sources already.
if [ ${#need[@]} -eq 0 ] && ! apt-cache showsrc libjpeg-turbo 2>/dev/null | grep -q '^Package:'; then
  exit 0
fi

ensure_deb_src
for name in "${libraries[@]}"; do
  version=$(source_version "$name")
  if stamp_ok "$name" "$version"; then
    if notices_kept "$name"; then continue; fi
    tree=$(fetch "$name" "$version")
    keep_notices "$name" "$tree"
    rm -rf "$work/$name"
    continue
  fi
  echo "soundboard: building $name $version for Windows x64"
  tree=$(fetch "$name" "$version")
  case $name in
    libjpeg-turbo) build_libjpeg "$tree" ;;
    mpg123) build_mpg123 "$tree" ;;
    *) "build_$name" "$tree" ;;
  esac
  keep_notices "$name" "$tree"
  echo "$version" > "$prefix/$name.stamp"
  rm -rf "$work/$name"
done
