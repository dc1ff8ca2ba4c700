#!/usr/bin/env bash
# make bench's verdict: a figure that failed to be measured is a goal missed, and the strict
# run fails on it; sound figures pass.
set -uo pipefail
verdict="$(dirname "${BASH_SOURCE[0]}")/../../scripts/bench-verdict.sh"
figures=$(mktemp)
trap 'rm -f "$figures"' EXIT
failed=0
expect() { # expect <what> <exit code wanted> <line of the verdict wanted>
    local out code
    out=$(GLIMRO_BENCH_STRICT=1 bash "$verdict" "$figures")
    code=$?
    if [ "$code" != "$2" ] || ! grep -qxF "$3" <<<"$out"; then
        echo "FAILED: $1: exit $code, wanted $2 and \"$3\" in:"
        echo "$out"
        failed=1
    fi
}

cat >"$figures" <<'TEXT'
staging against a full decode: ratio 0.55 (goal <= 0.60) (median of 7 rounds)
idle hidden +0.2 MB (goal <= +2.0)
TEXT
expect "sound figures" 0 "2 of 2 goals met"

for broken in "idle shown +-5.4 MB (goal <= +2.0)" \
    "idle shown not measured: read 0.0 MB against 2.6 MB (goal <= +2.0)" \
    "due pass among 1000 x 100: 13.6 ms ratio nan (goal <= 1.20) (median of 5)" \
    "due pass among 1000 x 100: 0.0 ms ratio 0.00 (goal <= 1.20) (median of 5)"; do
    printf 'idle hidden +0.2 MB (goal <= +2.0)\n%s\n' "$broken" >"$figures"
    expect "$broken" 1 "1 of 2 goals met"
done
exit $failed
