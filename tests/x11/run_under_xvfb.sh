#!/bin/sh
# Runs a test program on a private X server (Xvfb, 1024x768) with a window manager that
# frames its windows (openbox), so that titles, frames and placement are the real ones.
set -u
for tool in Xvfb openbox xprop; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool chybí (balíčky xvfb, openbox, x11-utils)" >&2; exit 1; }
done
work=$(mktemp -d)
cleanup() {
    [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
# -displayfd picks a free display number and writes it once the server accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
i=0
while [ ! -s "$work/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; exit 1; }
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY
HOME="$work" openbox --sm-disable >"$work/wm.log" 2>&1 &
wm=$!
# The window manager is up once it announces itself on the root window.
i=0
while ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && [ $i -lt 100 ]; do
    sleep 0.1; i=$((i + 1))
done
QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work" "$@"
