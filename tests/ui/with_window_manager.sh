#!/bin/sh
# Runs a window test on a virtual X display of its own with a window manager,
# so that windows get a real frame and title bar:
#   with_window_manager.sh PROGRAM [ARGS]
# Exit status 77 (skipped) when Xvfb or openbox is not installed.
for tool in Xvfb openbox xprop; do
  command -v $tool >/dev/null 2>&1 || exit 77
done

work=$(mktemp -d)
xvfb=
wm=
trap 'kill $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
# Xvfb picks a free display and writes its number (-displayfd), so that tests
# started side by side, from this build or another, never share a display.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
tries=0
until [ -s "$work/display" ]; do
  tries=$((tries + 1))
  [ $tries -lt 300 ] && kill -0 $xvfb 2>/dev/null || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
DISPLAY=:$(cat "$work/display")
export DISPLAY

openbox --config-file /dev/null >"$work/openbox.log" 2>&1 &
wm=$!
# openbox announces itself on the root window once it manages the screen.
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  tries=$((tries + 1))
  [ $tries -lt 300 ] && kill -0 $wm 2>/dev/null || { cat "$work/openbox.log" >&2; echo "openbox did not start" >&2; exit 1; }
  sleep 0.1
done
sleep 2
QT_QPA_PLATFORM=xcb "$@"
