#!/bin/bash
# The SVG that planimove-render writes, drawn by a real SVG renderer
# (rsvg-convert), shows the same picture as its PNG, text included: for every
# picture of the comparison list, at the drawing-area sizes of a 1366x768 and
# a 1280x1024 screen, at most 0.5 % of the pixels differ by more than 48 in a
# colour channel, and every text names a font list ending in a generic family.
# Usage: svg_matches_png.sh <planimove-render> <picture folder> <output folder>
set -u
RENDERER=$1
PICTURE_FOLDER=$2
OUT=$3
source "$(dirname "$0")/../e2e/pictures.sh"
for tool in rsvg-convert convert; do
  command -v "$tool" >/dev/null 2>&1 ||
    { echo "missing $tool (packages librsvg2-bin, imagemagick)" >&2; exit 1; }
done
mkdir -p "$OUT"
failed=0
for edition in planimove rautenwerk; do
  pictures_of "$edition"
  for size in 1366x749 1280x1005; do
    for picture in "${PICTURES[@]}"; do
      name=${picture%%|*}
      events=${picture#*|}
      base="$OUT/$edition-$size-$name"
      if ! "$RENDERER" --edition "$edition" --pictures "$PICTURE_FOLDER" --keys "$events" \
        --size "$size" --png "$base.png" --svg "$base.svg" 2>"$base.log"; then
        echo "FAIL: renderer on $edition $name: $(cat "$base.log")" >&2
        failed=1
        continue
      fi
      if grep -o 'font-family="[^"]*"' "$base.svg" | grep -qvE 'sans-serif"$'; then
        echo "FAIL: $edition $name: a font list without a generic family:" \
          "$(grep -o 'font-family="[^"]*"' "$base.svg" | grep -vE 'sans-serif"$' | head -n 1)" >&2
        failed=1
      fi
      rsvg-convert "$base.svg" -o "$base-svg.png" || { failed=1; continue; }
      bad=$(differing_pixels "$base.png" "$base-svg.png")
      total=$((${size%x*} * ${size#*x}))
      if ((bad * 200 > total)); then
        echo "FAIL: $edition $size $name: $bad of $total pixels differ (kept in $OUT)" >&2
        failed=1
      else
        echo "$edition $size $name: $bad of $total pixels differ"
        rm -f "$base.png" "$base.svg" "$base-svg.png" "$base.log"
      fi
    done
  done
done
exit $failed
