#!/bin/sh
# Installs the Debian 12 packages needed to build, run and test Planimove
# (or, given as arguments, those packages instead). As root it installs what
# is missing with apt-get; otherwise it prints the one apt-get line to run and
# stops.
set -e
PACKAGES="build-essential cmake pkg-config qt6-base-dev qt6-svg-dev libgl-dev \
nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation2 \
libgif-dev libx11-dev qt6-qpa-plugins xvfb xauth xdotool xclip imagemagick librsvg2-bin clang-14 libclang-rt-14-dev"
[ $# -gt 0 ] && PACKAGES="$*"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" = 0 ]; then
  echo "Installing:$missing"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
else
  echo "Missing Debian packages. Run:" >&2
  echo "  sudo apt-get install$missing" >&2
  exit 1
fi
