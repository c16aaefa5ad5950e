#!/bin/sh
# Runs a window test on a virtual X display with a window manager, so that
# windows get a real frame and title bar: with_window_manager.sh PROGRAM [ARGS]
# Exit status 77 (skipped) when Xvfb or openbox is not installed.
command -v xvfb-run >/dev/null 2>&1 && command -v openbox >/dev/null 2>&1 && command -v xprop >/dev/null 2>&1 || exit 77
[ -n "$WITH_WM_INSIDE" ] || exec env WITH_WM_INSIDE=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"

openbox --config-file /dev/null >/dev/null 2>&1 &
wm=$!
# openbox announces itself on the root window; give it a moment more to
# take over the screen.
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  tries=$((tries + 1))
  [ $tries -lt 100 ] || { kill $wm; echo "openbox did not start" >&2; exit 1; }
  sleep 0.1
done
sleep 2
QT_QPA_PLATFORM=xcb "$@"
status=$?
kill $wm 2>/dev/null
exit $status
