#!/usr/bin/env bash
# Builds the Debian package, checks its contents, unpacks it into a scratch
# root and lets the unpacked planimove-render draw a picture with its own
# installed help picture.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
(cd "$BUILD" && cpack -G DEB >/dev/null)
deb=$(ls -t "$BUILD"/planimove_*.deb | head -n 1)
echo "package: $deb"
dpkg-deb --info "$deb" | grep -E 'Package|Version|Depends'
contents=$(dpkg-deb -c "$deb")
for f in usr/bin/planimove usr/bin/rautenwerk usr/bin/planimove-render \
         usr/share/planimove/pictures/BildF1.gif usr/share/planimove/pictures/BildF8.gif \
         usr/share/planimove/pictures/Bild000.gif \
         usr/share/applications/planimove.desktop usr/share/applications/rautenwerk.desktop \
         usr/share/man/man1/planimove-render.1; do
  echo "$contents" | grep -q " \./$f\$" || { echo "missing in package: $f"; exit 1; }
done
# Every picture of the source tree: help pictures and all explanatory pages.
pictures=0
for gif in data/pictures/*.gif data/pictures/rautenwerk/*.gif; do
  [[ -e "$gif" ]] || continue
  f=usr/share/planimove/pictures/${gif#data/pictures/}
  echo "$contents" | grep -q " \./$f\$" || { echo "missing in package: $f"; exit 1; }
  pictures=$((pictures + 1))
done
echo "pictures in the package: $pictures"
root=$(mktemp -d)
dpkg -x "$deb" "$root"
out=$(mktemp -d)
# F1 shows the help picture, which the installed program must find by itself.
# Run from an empty folder, so only the installed picture folder can supply it.
# The start page Bild100.gif must be found the same way.
(cd "$out" && "$root/usr/bin/planimove-render" --keys "Rebuild" --png start.png \
   && "$root/usr/bin/planimove-render" --keys "F3 Rebuild" --png start-off.png \
   && "$root/usr/bin/planimove-render" --keys "F1" --png help.png --json state.json)
test -s "$out/help.png"
grep -q '"mn0"' "$out/state.json"
dark() { convert "$1" -colorspace Gray -threshold 50% -negate -format "%[fx:mean*w*h]" info:; }
help_dark=$(dark "$out/help.png"); plain_dark=$(dark "$out/start-off.png")
echo "dark pixels: with the help picture $help_dark, without $plain_dark"
awk -v a="$help_dark" -v b="$plain_dark" 'BEGIN { exit !(a > b + 5000) }' \
  || { echo "the installed renderer did not find its help picture"; exit 1; }
start_dark=$(dark "$out/start.png"); off_dark=$(dark "$out/start-off.png")
echo "dark pixels: with the start page $start_dark, with the texts off $off_dark"
awk -v a="$start_dark" -v b="$off_dark" 'BEGIN { exit !(a > b + 3000) }' \
  || { echo "the installed renderer did not find its start page"; exit 1; }
echo "package checked: contents complete, installed planimove-render shows the help picture and the start page"
