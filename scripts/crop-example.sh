#!/usr/bin/env bash
# Writes the README's example of "Fill (keep the subject)": a generated portrait photo of a
# figure, made the wallpaper of a 1920 x 1080 screen by plain Fill (the centre, left) and
# with its subject kept (right). Usage: crop-example.sh <out.png>
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
out=$(realpath -m "${1:-$root/docs/fill-subject.png}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/convert -size 1200x1600 gradient:lightskyblue-olivedrab \
    -fill '#e0ac8c' -draw 'ellipse 600,330 150,190 0,360' \
    -fill '#b22222' -draw 'roundrectangle 380,560 820,1560 80,80' "JPEG:$work/photo.jpg"
GLIMRO_CROP_EXAMPLE="Z:${work//\//\\}\\subject.jpg|Z:${work//\//\\}\\photo.jpg|1920|1080" \
    bash "$here/wine-run.sh" "$root/build/glimro_bench.exe"
/usr/bin/convert "$work/photo.jpg" -gravity center -crop 1200x675+0+0 +repage -resize 480x270 "$work/centre.png"
/usr/bin/convert "$work/subject.jpg" -resize 480x270 "$work/kept.png"
mkdir -p "$(dirname "$out")"
/usr/bin/convert "$work/centre.png" -size 12x270 xc:white "$work/kept.png" +append "$out"
echo "Wrote $out"
