#!/usr/bin/env bash
# ./soundboard bench [runs]: the release build of the board, stripped as it ships, against the plain
# Win32 program of as many controls, started and measured alternately under Wine.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
: "${SB_BUILD:=$root/build}"
runs="${1:-5}"
tree="$SB_BUILD/release-tree" stage="$SB_BUILD/bench"
triple=x86_64-w64-mingw32

bash tools/setup/release_tree.sh bench_programs

# The shipped folder with the demo sounds, as a host has it; no settings of an earlier start.
rm -rf "$stage" && mkdir -p "$stage"
cp -r "$tree/dist" "$stage/board"
rm -f "$stage/board/diRaConfig.ini"
tools/demo/make_demo_sounds.sh forms/layout/windows.layout "$stage/board/data/music"
cp "$tree/tools/bench/plain_board.exe" "$tree/tools/bench/sb_bench.exe" "$stage/"
find "$stage" -iname '*.exe' -o -iname '*.dll' | while IFS= read -r module; do
  $triple-strip --strip-unneeded "$module"
done

run() {
  wine "$stage/sb_bench.exe" "$(winepath -w "$stage/board/soundboard.exe")" "$(winepath -w "$stage/plain_board.exe")" "$runs"
}
if [ -n "${SB_WINE_SESSION:-}" ]; then run; else source tools/wine/session.sh; wine_session_begin; run; wine_session_end; fi
