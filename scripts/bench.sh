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

awk -v markdown="${GLIMRO_BENCH_MARKDOWN:-0}" -v strict="${GLIMRO_BENCH_STRICT:-0}" '
function trim(text) { sub(/^[ \t]+/, "", text); sub(/[ \t:,]+$/, "", text); return text }
/\(goal <= \+?[0-9.]+\)/ {
    line = $0
    match(line, /\(goal <= \+?[0-9.]+\)/)
    goal_text = substr(line, RSTART, RLENGTH)
    before = substr(line, 1, RSTART - 1)
    gsub(/[^0-9.]/, "", goal_text)
    if (match(before, /ratio [0-9.]+ *$/)) {
        value = substr(before, RSTART + 6) + 0
        shown = sprintf("%.2f", value)
        limit = "<= " goal_text
    } else if (match(before, /\+-?[0-9.]+ MB *$/)) {
        value = substr(before, RSTART + 1) + 0
        shown = sprintf("+%.1f MB", value)
        limit = "<= +" goal_text " MB"
    } else {
        next
    }
    label = substr(before, 1, RSTART - 1)
    if (index(label, ":")) label = substr(label, 1, index(label, ":") - 1)
    label = trim(label)
    ++goals
    met = value <= goal_text + 0
    if (met) ++passed; else missed[++misses] = label ": " shown " (goal " limit ")"
    rows[goals] = "| " label " | " shown " | " limit " | " (met ? "yes" : "**no**") " |"
}
END {
    if (markdown == "1") {
        print ""
        print "| Figure | Measured | Goal | Met |"
        print "|---|---|---|---|"
        for (i = 1; i <= goals; ++i) print rows[i]
        print ""
    }
    printf "%d of %d goals met\n", passed, goals
    for (i = 1; i <= misses; ++i) print "missed: " missed[i]
    if (goals == 0 || (strict == "1" && misses > 0)) exit 1
}' "$output"
