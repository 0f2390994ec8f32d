#!/usr/bin/env bash
# run-fuzzer.sh FUZZER CORPUS_DIR SECONDS SEED_FILE...
# Runs one decoder fuzzer for SECONDS, seeded with the given test fixtures; the corpus it grows is
# kept in CORPUS_DIR for the next run. Any crash, leak or sanitizer report fails.
set -euo pipefail
fuzzer=$1 corpus=$2 seconds=$3
shift 3
mkdir -p "$corpus"
cp -f "$@" "$corpus/"
artifacts="$corpus.artifacts"
mkdir -p "$artifacts"
# Full stacks through the system's libraries (built without frame pointers), so the suppression finds its frame.
export ASAN_OPTIONS="fast_unwind_on_malloc=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
exec "$fuzzer" "$corpus" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=1024 \
  -artifact_prefix="$artifacts/" -print_final_stats=1
