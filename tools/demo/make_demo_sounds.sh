#!/usr/bin/env bash
# Speaks every sound button's caption into "<caption>.mp3", so a fresh board has something to play.
# The board builds the file name from the caption, so the captions come from the window layout.
#   tools/demo/make_demo_sounds.sh LAYOUT OUTPUT_DIR
set -euo pipefail
layout=$1 out=$2
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
made=0
while IFS= read -r caption; do
  target="$out/$caption.mp3"
  [ -s "$target" ] && continue
  espeak-ng -v cmn -s 150 -w "$work/speech.wav" "$caption"
  lame --quiet -b 64 "$work/speech.wav" "$target"
  made=$((made + 1))
done < <(grep -E '^unit Button [^ ]+ "按钮_音效[0-9]+"' "$layout" | sed -E 's/.* caption="([^"]*)".*/\1/' | sort -u)
echo "soundboard: $made demo sounds made in $out"
