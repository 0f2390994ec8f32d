#!/usr/bin/env bash
# Builds the Windows x64 static libraries of libjpeg-turbo, mpg123 and the Ogg Vorbis, FLAC and
# Opus decoders from Debian's source packages into .deps/win64. Each library is rebuilt only
# when its Debian version changes.
# MIDI: the small synthesizer inside SDL_mixer's source (src/codecs/timidity, from the source
# package libsdl2-mixer) is built alone against our SDL stand-in (tools/setup/timidity-shim) into
# libtimidity.a, for Windows and for the host's tests (.deps/host) and fuzzer (.deps/host-fuzz,
# with clang's sanitizers, when clang is there); its General MIDI patch set is Debian's freepats
# package (data only), unpacked into .deps/win64/share/midi/freepats.
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
  if [ "$1" = libsdl2-mixer ]; then
    # Only the MIDI synthesizer is used: its own licence file, and its README, which states its
    # choice of licences.
    cp "$2/src/codecs/timidity/COPYING" "$dest/timidity-COPYING"
    cp "$2/src/codecs/timidity/README" "$dest/timidity-README"
  fi
}
notices_kept() { [ -f "$prefix/licenses/$1/debian-copyright" ]; }

# The synthesizer's files, compiled with the given C compiler and flags into <prefix>/lib/libtimidity.a,
# its header beside our stand-in for SDL.h in <prefix>/include/timidity.
shim="$root/tools/setup/timidity-shim"
timidity_files=(common instrum mix output playmidi readmidi resample tables timidity)
compile_timidity() {  # unpacked tree, prefix, archiver, compiler and flags...
  local tree=$1 dest=$2 ar=$3
  shift 3
  local src="$tree/src/codecs/timidity" objects="$tree/objects-$(basename "$dest")"
  rm -rf "$objects" && mkdir -p "$objects" "$dest/lib" "$dest/include/timidity"
  for file in "${timidity_files[@]}"; do
    "$@" -std=gnu11 -I "$shim" -c "$src/$file.c" -o "$objects/$file.o"
  done
  "$@" -std=gnu11 -I "$shim" -c "$shim/sdl_shim.c" -o "$objects/sdl_shim.o"
  rm -f "$dest/lib/libtimidity.a"
  "$ar" rcs "$dest/lib/libtimidity.a" "$objects"/*.o
  cp "$src/timidity.h" "$shim/SDL.h" "$dest/include/timidity/"
}
host_prefix="$deps/host" fuzz_prefix="$deps/host-fuzz"
clang_c=$(command -v clang || command -v clang-14 || true)
# The synthesizer's file reader and timing do arithmetic on what the file says (delta times, event
# times in samples) without bounds: with -fwrapv that wraps, as defined behaviour, into a wrong
# time rather than undefined behaviour. The fuzzer's build therefore leaves out the sanitizer's
# checks of signed overflow and shifts (which -fwrapv defines) and keeps the rest (memory, ASan).
build_libsdl2-mixer() {
  local tree=$1
  compile_timidity "$tree" "$prefix" $host-ar $host-gcc-posix -O2 -fwrapv
  compile_timidity "$tree" "$host_prefix" ar gcc -O2 -fwrapv -fPIC
  if [ -n "$clang_c" ]; then
    compile_timidity "$tree" "$fuzz_prefix" ar "$clang_c" -O1 -g -fwrapv -fsanitize=address,undefined,fuzzer-no-link \
      -fno-sanitize=shift,signed-integer-overflow -fno-sanitize-recover=undefined
  fi
}
# The stamp also names the stand-in's contents, how the library is compiled and whether the
# fuzzer's build was made: a change to any of them builds it again.
timidity_stamp() {
  echo "$({ cat "$shim"/*; declare -f compile_timidity build_libsdl2-mixer; } | sha256sum | cut -c1-16) ${clang_c:+fuzz}"
}
timidity_built() {
  [ -f "$prefix/lib/libtimidity.a" ] && [ -f "$host_prefix/lib/libtimidity.a" ] &&
    [ -f "$prefix/libsdl2-mixer.shim" ] && [ "$(cat "$prefix/libsdl2-mixer.shim")" = "$(timidity_stamp)" ]
}

# The patch set is data: Debian's binary package, whose source package lacks its Debian part in the
# archive. Kept: the configuration that gives every General MIDI program a patch (crude.cfg, from the
# package's examples: missing instruments borrow a near one) and the patches it names.
freepats_dir="$prefix/share/midi/freepats"
build_freepats() {
  local version=$1 dir="$work/freepats"
  rm -rf "$dir" && mkdir -p "$dir"
  (cd "$dir" && apt-get download "freepats=$version" >/dev/null 2>&1) || true
  local deb
  deb=$(ls "$dir"/freepats_*.deb 2>/dev/null | head -1)
  if [ -z "$deb" ]; then echo "soundboard: could not fetch freepats $version" >&2; exit 1; fi
  dpkg-deb -x "$deb" "$dir/unpacked"
  local from="$dir/unpacked/usr/share/midi/freepats" config="$dir/unpacked/usr/share/doc/freepats/examples/crude.cfg"
  rm -rf "$freepats_dir" && mkdir -p "$freepats_dir"
  cp "$config" "$freepats_dir/crude.cfg"
  grep -v '^[[:space:]]*#' "$config" | grep -o '[^[:space:]]*\.pat' | sort -u | while IFS= read -r patch; do
    mkdir -p "$freepats_dir/$(dirname "$patch")"
    cp "$from/$patch" "$freepats_dir/$patch"
  done
  local dest="$prefix/licenses/freepats" doc="$dir/unpacked/usr/share/doc/freepats"
  rm -rf "$dest" && mkdir -p "$dest"
  cp "$doc/copyright" "$dest/debian-copyright"
  gunzip -c "$doc/README.gz" > "$dest/README"
  # The GPL that the copyright file points to on a Debian system.
  cp /usr/share/common-licenses/GPL-2 "$dest/GPL-2"
  rm -rf "$dir"
}

need=()
# In build order: the Ogg container before the decoders that read it, opus before opusfile.
libraries=(libjpeg-turbo mpg123 libogg libvorbis flac opus opusfile libsdl2-mixer)
for name in "${libraries[@]}" freepats; do
  if [ ! -f "$prefix/$name.stamp" ] || ! notices_kept "$name"; then need+=("$name"); fi
done
if ! timidity_built || [ ! -f "$freepats_dir/crude.cfg" ]; then need+=(midi); fi
# Stamps exist: compare with the archive's version only when apt knows the sources already.
if [ ${#need[@]} -eq 0 ] && ! apt-cache showsrc libjpeg-turbo 2>/dev/null | grep -q '^Package:'; then
  exit 0
fi

ensure_deb_src
for name in "${libraries[@]}"; do
  version=$(source_version "$name")
  if [ "$name" = libsdl2-mixer ] && ! timidity_built; then rm -f "$prefix/$name.stamp"; fi
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
  if [ "$name" = libsdl2-mixer ]; then timidity_stamp > "$prefix/$name.shim"; fi
  rm -rf "$work/$name"
done

version=$(apt-cache show freepats | awk '/^Version:/ {print $2; exit}')
if ! stamp_ok freepats "$version" || ! notices_kept freepats || [ ! -f "$freepats_dir/crude.cfg" ]; then
  echo "soundboard: unpacking the freepats $version patch set"
  build_freepats "$version"
  echo "$version" > "$prefix/freepats.stamp"
  # A binary package, not a source package as the others (tools/package names it so).
  touch "$prefix/freepats.binary"
fi
