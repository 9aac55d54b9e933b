#!/bin/bash
# Start-up time (process start to the window shown with its first picture) and
# peak memory of planimove or rautenwerk, in a private Xvfb on display :77.
#   tools/measure-startup.sh build/planimove
set -e
prog=$1
Xvfb :77 -screen 0 1280x1024x24 >/dev/null 2>&1 & xvfb=$!
sleep 1
export DISPLAY=:77
start=$(date +%s%N)
/usr/bin/time -v "$prog" 2>/tmp/planimove_time.txt & pid=$!
until xdotool search --onlyvisible --name '^Form1$' >/dev/null 2>&1; do sleep 0.005; done
end=$(date +%s%N)
echo "start-up to the shown window: $(( (end - start) / 1000000 )) ms"
xdotool key Escape
wait $pid || true
grep -E 'Maximum resident' /tmp/planimove_time.txt
kill $xvfb
