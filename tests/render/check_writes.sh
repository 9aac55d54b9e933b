#!/bin/bash
# planimove-render's files: a write that fails (a full disk) leaves the old
# file byte for byte, leaves nothing else behind and ends with status 1 and a
# message naming the file; file names are used byte for byte; standard output
# that cannot take the state is reported.
# Usage: check_writes.sh <planimove-render> <output folder>
set -u
RENDERER=$1
OUT=$2
rm -rf "$OUT" && mkdir -p "$OUT" || exit 1
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
KEYS="menu:mnu22 menu:mnu224 Space"
RUN_KEYS="menu:mnu22 menu:mnu224 1"

# The old file, a failed write onto it under a limit of 4096 bytes a file.
check_kept() {  # option name keys [limit runner]
  local option=$1 file=$OUT/$2 keys=$3
  head -c 3000 /dev/urandom >"$file"
  cp "$file" "$file.before"
  ( trap '' XFSZ; exec prlimit --fsize=4096 "$RENDERER" --keys "$keys" --size 600x400 \
      "$option" "$file" ) 2>"$OUT/log" && fail "$option on a full disk: status 0"
  cmp -s "$file" "$file.before" || fail "$option on a full disk changed $file"
  grep -qF "$file" "$OUT/log" || fail "$option: the message does not name $file: $(cat "$OUT/log")"
  [ "$(ls -A "$OUT" | wc -l)" = 3 ] || fail "$option left files behind: $(ls -A "$OUT")"
  rm -f "$file" "$file.before" "$OUT/log"
}
command -v prlimit >/dev/null || { echo "missing prlimit (package util-linux)" >&2; exit 1; }
check_kept --png old.png "$KEYS"
check_kept --svg old.svg "$KEYS"
check_kept --json old.json "$KEYS"
check_kept --gif old.gif "$RUN_KEYS"

# Names that are not UTF-8 are kept as they are.
odd=$'x\xff'
"$RENDERER" --keys "$RUN_KEYS" --size 200x150 --png "$OUT/$odd.png" --svg "$OUT/$odd.svg" \
  --json "$OUT/$odd.json" --gif "$OUT/$odd.gif" 2>"$OUT/log" || fail "odd names: $(cat "$OUT/log")"
for ext in png svg json gif; do
  [ -s "$OUT/$odd.$ext" ] || fail "the file named x\\xff.$ext was not written: $(ls "$OUT")"
done
[ "$(ls -A "$OUT" | wc -l)" = 5 ] || fail "odd names: other files written: $(ls -A "$OUT")"
rm -f "$OUT"/*

# Standard output that is full or closed.
"$RENDERER" --json - >/dev/full 2>"$OUT/log" && fail "--json - onto a full output: status 0"
grep -q "standard output" "$OUT/log" || fail "--json - onto a full output: no message"
"$RENDERER" --json - >&- 2>"$OUT/log" && fail "--json - onto a closed output: status 0"
grep -q "standard output" "$OUT/log" || fail "--json - onto a closed output: no message"

# A real full file system where one can be mounted (a private tmpfs of 64 KiB,
# in a user namespace): the same promise for the PNG.
if unshare -rm true 2>/dev/null; then
  unshare -rm bash -c '
    set -u
    mount -t tmpfs -o size=64k tmpfs "$2" || exit 0
    head -c 3000 /dev/urandom >"$2/old.png"; cp "$2/old.png" /dev/shm/planimove-old.$$
    head -c 200000 /dev/zero >"$2/filler" 2>/dev/null
    "$1" --keys "menu:mnu22 menu:mnu224 Space" --size 1366x749 --png "$2/old.png" 2>/dev/null &&
      { echo "FAIL: --png on a full tmpfs: status 0" >&2; exit 1; }
    cmp -s "$2/old.png" /dev/shm/planimove-old.$$ || { echo "FAIL: full tmpfs changed old.png" >&2; exit 1; }
    [ "$(ls -A "$2")" = "$(printf "filler\nold.png")" ] || { echo "FAIL: full tmpfs: $(ls -A "$2")" >&2; exit 1; }
    rm -f /dev/shm/planimove-old.$$
    echo "full tmpfs: the old picture is kept"
  ' bash "$RENDERER" "$OUT" || failed=1
else
  echo "skipped: no user namespace to mount a small tmpfs in"
fi
exit $failed
