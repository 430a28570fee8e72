#!/usr/bin/env bash
# Real-window smoke test: starts vistrel under Xvfb in English and Chinese
# against the simulated libraries with an area-scan, a line-scan and a USB
# camera, shows every tab, the control bar and the live image window with
# moving video, changes the port once with the video running (to the USB
# camera on USB1 or the colour camera on COM4) and shows the new camera's
# image window, keeps the pictures in artifacts/smoke/ and fails when a
# window is missing or blank, stays open for the wrong camera, or no font
# covers Chinese.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=${BIN:-build/default/bin/vistrel}
# The tests run on Qt's offscreen platform; this check needs the real window
# system of the virtual display.
unset QT_QPA_PLATFORM
OUT=${OUT:-artifacts/smoke}
rm -rf "$OUT"; mkdir -p "$OUT"
status=0
for locale in en_US.UTF-8 zh_CN.UTF-8; do
  for camera in 219290 120770 219660 212630/4; do
    name="${locale%%.*}_${camera//\//v}"
    dir="$OUT/$name"
    mkdir -p "$dir"
    echo "== smoke: $locale camera $camera"
    # The camera goes on COM1 so the start-up scan finds it at once; the
    # port change goes to COM4 or USB1.
    LC_ALL=$locale TYXCAM_SIM="clear;camera COM1=$camera;camera COM4=219290;camera USB1=219660" timeout 120 \
      xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
        "$0" --smoke-shots "$1" --handshake & pid=$!
        for _ in $(seq 1 600); do [ -e "$1/ready" ] && break; sleep 0.1; done
        if [ -e "$1/ready" ]; then import -window root "$1/screen.png"; touch "$1/done"; fi
        wait $pid' "$BIN" "$dir" || status=1
    if [ -f "$dir/screen.png" ]; then
      colours=$(convert "$dir/screen.png" -format %k info:)
      echo "smoke: whole screen $colours colours"
      [ "$colours" -ge 8 ] || { echo "smoke: the screen is blank"; status=1; }
    else
      echo "smoke: no screenshot for $name"; status=1
    fi
  done
done
[ $status = 0 ] && echo "smoke: all windows drawn" || echo "smoke: FAILED"
exit $status
