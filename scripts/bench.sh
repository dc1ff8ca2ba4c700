#!/usr/bin/env bash
# `make bench`: every figure against the bare platform work it cannot avoid, then the
# verdict: "N of M goals met" and the missed ones. A goal is any line ending its figure with
# "ratio R (goal <= G)" or "+R MB (goal <= +G)".
#   GLIMRO_BENCH_STRICT=1    exit 1 when a goal is missed
#   GLIMRO_BENCH_MARKDOWN=1  also print the figures as a Markdown table
# Usage: bench.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(realpath "${1:-$here/../build}")
output=$(mktemp)
trap 'rm -f "$output"' EXIT

{
    "$here/wine-run.sh" "$build/glimro_bench.exe"
    bash "$here/memory-bench.sh" "$build"
    bash "$here/startup-bench.sh" "$build"
} 2>&1 | tr -d '\r' | tee "$output"

bash "$here/bench-verdict.sh" "$output"
