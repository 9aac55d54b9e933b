#!/bin/sh
# Installs what the browser edition needs on Debian 12 (emscripten, Chromium
# for the browser tests, the font tools that subset and compress the web font,
# gzip for the compressed copies, Python for the local server) and prepares
# the build folder's emscripten cache. As root it installs what is missing
# with apt-get; otherwise it prints the apt-get line.
# Usage: tools/setup-web.sh <web build folder> [--tests]
set -e
BUILD_WEB=${1:-build-web}
PACKAGES="emscripten nodejs woff2 fonttools fonts-liberation2 python3 cmake nlohmann-json3-dev gzip"
[ "$2" = "--tests" ] && PACKAGES="$PACKAGES chromium npm"
# Node.js from elsewhere than Debian (it brings its own npm) serves as well.
if command -v node >/dev/null && command -v npm >/dev/null; then
  PACKAGES=$(echo "$PACKAGES" | sed 's/ nodejs//; s/ npm//')
fi
sh "$(dirname "$0")/setup-debian.sh" $PACKAGES

# Debian ships emscripten's libraries prebuilt in a read-only cache. The build
# uses a cache folder of its own (it writes its lock file there) whose
# libraries are those of Debian's cache.
SYSTEM_CACHE=/usr/share/emscripten/cache
mkdir -p "$BUILD_WEB/em-cache"
if [ -d "$SYSTEM_CACHE/sysroot" ]; then
  ln -sfn "$SYSTEM_CACHE/sysroot" "$BUILD_WEB/em-cache/sysroot"
  [ -e "$SYSTEM_CACHE/sysroot_install.stamp" ] &&
    cp "$SYSTEM_CACHE/sysroot_install.stamp" "$BUILD_WEB/em-cache/"
fi
exit 0
