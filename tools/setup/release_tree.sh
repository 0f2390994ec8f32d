#!/usr/bin/env bash
# Builds targets of the release tree ($SB_BUILD/release-tree: optimised, the mpg123 DLLs beside the
# program), configuring it first when needed. The window resource comes from the host tree.
#   tools/setup/release_tree.sh <target>...
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
: "${SB_BUILD:=$root/build}"
host_tree="$SB_BUILD/host" tree="$SB_BUILD/release-tree"
if [ ! -f "$host_tree/build.ninja" ]; then cmake -S . -B "$host_tree" -G Ninja >/dev/null; fi
cmake --build "$host_tree" --target window_resource
if [ ! -f "$tree/build.ninja" ]; then
  cmake -S . -B "$tree" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DSB_HOST_TOOLS_DIR="$host_tree" -DSB_MPG123_DLL=ON >/dev/null
fi
cmake --build "$tree" --target "$@"
