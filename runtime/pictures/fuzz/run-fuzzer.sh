#!/usr/bin/env bash
# run-fuzzer.sh FUZZER CORPUS_DIR SECONDS
# Runs the picture-reader fuzzer for SECONDS, seeded with the picture test fixtures and the
# contact badge; the corpus it grows is kept in CORPUS_DIR for the next run. Any crash, leak or
# sanitizer report fails.
set -euo pipefail
fuzzer=$1 corpus=$2 seconds=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$corpus"
cp -f "$here"/../tests/*.jpg "$here"/../tests/*.gif "$here"/../tests/*.pcx \
  "$here"/../../../assets/contact-badge.bmp "$corpus/"
artifacts="$(dirname "$corpus")/artifacts"
mkdir -p "$artifacts"
exec "$fuzzer" "$corpus" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=1024 \
  -artifact_prefix="$artifacts/" -print_final_stats=1
