#!/usr/bin/env bash
# Writes the README's example of the caption on the desktop: a generated landscape staged for a
# 1280 x 720 monitor whose taskbar takes its bottom 40 pixels, with a feed picture's title,
# credit and album in the work area's bottom-right corner. Usage: caption-example.sh <out.png>
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
out=$(realpath -m "${1:-$root/docs/caption.png}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/convert -size 1920x1080 gradient:'#f6c98b'-'#4a78a8' \
    -fill '#fff1c9' -draw 'circle 1380,560 1380,640' \
    -fill '#2d4a63' -draw 'rectangle 0,700 1920,1080' -fill '#eedcb4' -draw 'polygon 0,1080 0,960 900,900 1920,890 1920,1080' \
    -fill '#1f2f3d' -draw 'polygon 0,700 300,520 560,640 820,470 1150,700' "JPEG:$work/photo.jpg"
GLIMRO_CAPTION_EXAMPLE="Z:${work//\//\\}\\staged.jpg|Z:${work//\//\\}\\photo.jpg|Evening over the harbour|Photo: A. Fenwald (CC BY 4.0)|Holidays" \
    bash "$here/wine-run.sh" "$root/build/glimro_bench.exe"
mkdir -p "$(dirname "$out")"
/usr/bin/convert "$work/staged.jpg" -crop 1280x680+0+0 +repage "$out"
echo "Wrote $out"
