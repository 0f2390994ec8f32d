#!/usr/bin/env bash
# run-fuzzer.sh FUZZER SEED CORPUS_DIR SECONDS
# Runs the window-resource fuzzer for SECONDS, seeded with the real resource; the corpus it
# grows is kept in CORPUS_DIR for the next run. Any crash, leak or sanitizer report fails.
#   e.g. forms/fuzz/run-fuzzer.sh build/host/forms/fuzz/window_resource_fuzzer \
#        build/host/window-resource.bin build/host/forms/fuzz/corpus 3600
set -euo pipefail
fuzzer=$1 seed=$2 corpus=$3 seconds=$4
mkdir -p "$corpus"
cp -f "$seed" "$corpus/window-resource.bin"
artifacts="$(dirname "$corpus")/artifacts"
mkdir -p "$artifacts"
exec "$fuzzer" "$corpus" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=1024 \
  -artifact_prefix="$artifacts/" -print_final_stats=1
