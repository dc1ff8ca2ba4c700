#!/usr/bin/env bash
# The verdict of `make bench` over its printed figures: "N of M goals met" and each missed one.
# A goal is any line ending its figure with "ratio R (goal <= G)" or "+R MB (goal <= +G)". A
# figure that could not be measured ("not measured: ...", a ratio of nothing, memory below the
# bare program's) is a goal missed.
#   GLIMRO_BENCH_STRICT=1    exit 1 when a goal is missed
#   GLIMRO_BENCH_MARKDOWN=1  also print the figures as a Markdown table
# Usage: bench-verdict.sh <file of the figures>
set -euo pipefail
awk -v markdown="${GLIMRO_BENCH_MARKDOWN:-0}" -v strict="${GLIMRO_BENCH_STRICT:-0}" '
function trim(text) { sub(/^[ \t]+/, "", text); sub(/[ \t:,+]+$/, "", text); return text }
/\(goal <= \+?[0-9.]+\)/ {
    line = $0
    match(line, /\(goal <= \+?[0-9.]+\)/)
    goal_text = substr(line, RSTART, RLENGTH)
    before = substr(line, 1, RSTART - 1)
    gsub(/[^0-9.]/, "", goal_text)
    if (before ~ /not measured/) {
        # A run or its reference that failed gives no figure: a goal not met.
        value = ""
        shown = "not measured"
        limit = "<= " goal_text
    } else if (match(before, /ratio [^ ]+ *$/)) {
        value = substr(before, RSTART + 6) + 0
        shown = sprintf("%.2f", value)
        limit = "<= " goal_text
    } else if (match(before, /[-+][0-9.]+ MB *$/)) {
        value = substr(before, RSTART) + 0
        shown = sprintf("%+.1f MB", value)
        limit = "<= +" goal_text " MB"
    } else {
        next
    }
    label = shown == "not measured" ? substr(before, 1, index(before, "not measured") - 1) : substr(before, 1, RSTART - 1)
    if (index(label, ":")) label = substr(label, 1, index(label, ":") - 1)
    label = trim(label)
    ++goals
    # A ratio of nothing, or a figure below its own bare reference (less memory than the
    # program that does nothing), is a measurement that failed.
    met = shown != "not measured" && value <= goal_text + 0 && !(limit ~ /MB/ && value < 0) && !(limit !~ /MB/ && value <= 0)
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
}' "$1"
