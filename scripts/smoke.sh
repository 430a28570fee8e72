#!/usr/bin/env bash
# Real-window check, in two halves.
#
# From inside: vistrel-selfcheck (the program's own main window, linked from
# its objects) runs under Xvfb in English and Chinese against the simulated
# libraries with an area-scan, a line-scan and a USB camera, shows every tab,
# the control bar and the live image window with moving video, changes the
# port once with the video running (to the USB camera on USB1 or the colour
# camera on COM4) and shows the new camera's image window. It fails when a
# window is missing or blank, stays open for the wrong camera, or no font
# covers Chinese.
#
# From outside: the real vistrel starts under Xvfb in both languages; its
# main window must appear on the display, the screen must not be blank, and
# the window must close when asked to, ending the program.
#
# The pictures stay in artifacts/smoke/.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=${BIN:-build/default/bin/vistrel}
SELFCHECK=${SELFCHECK:-$(dirname "$BIN")/vistrel-selfcheck}
# The tests run on Qt's offscreen platform; this check needs the real window
# system of the virtual display.
unset QT_QPA_PLATFORM
OUT=${OUT:-artifacts/smoke}
rm -rf "$OUT"; mkdir -p "$OUT"
status=0
SIM_PORTS="camera COM4=219290;camera USB1=219660"

# not_blank PICTURE: a screen with windows on it has many colours.
not_blank() {
  local colours
  colours=$(convert "$1" -format %k info:)
  echo "smoke: whole screen $colours colours"
  [ "$colours" -ge 8 ] || { echo "smoke: the screen is blank"; return 1; }
}

for locale in en_US.UTF-8 zh_CN.UTF-8; do
  for camera in 219290 120770 219660 212630/4; do
    name="${locale%%.*}_${camera//\//v}"
    dir="$OUT/$name"
    mkdir -p "$dir"
    echo "== smoke: self-check $locale camera $camera"
    # The camera goes on COM1 so the start-up scan finds it at once; the
    # port change goes to COM4 or USB1.
    LC_ALL=$locale TYXCAM_SIM="clear;camera COM1=$camera;$SIM_PORTS" timeout 120 \
      xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
        "$0" "$1" --handshake & pid=$!
        for _ in $(seq 1 600); do [ -e "$1/ready" ] && break; sleep 0.1; done
        if [ -e "$1/ready" ]; then import -window root "$1/screen.png"; touch "$1/done"; fi
        wait $pid' "$SELFCHECK" "$dir" || status=1
    if [ -f "$dir/screen.png" ]; then
      not_blank "$dir/screen.png" || status=1
    else
      echo "smoke: no screenshot for $name"; status=1
    fi
  done
done

# The program itself, watched from outside (scripts/outside_check.sh). Without
# a window manager the window has no frame, so the Close button's centre is
# where the main window's layout puts it (dialog units: 8/5 pixel across,
# 13/8 down), per language.
for run in en_US.UTF-8:483,440 zh_CN.UTF-8:526,442; do
  locale=${run%%:*}; close_at=${run##*:}
  dir="$OUT/${locale%%.*}_program"
  mkdir -p "$dir"
  echo "== smoke: vistrel from outside, $locale"
  LC_ALL=$locale TYXCAM_SIM="clear;camera COM1=219290;$SIM_PORTS" timeout 120 \
    xvfb-run -a -s '-screen 0 1280x1024x24' bash scripts/outside_check.sh "$BIN" "$dir/screen.png" "$close_at" ||
    status=1
  if [ -f "$dir/screen.png" ]; then
    not_blank "$dir/screen.png" || status=1
  else
    echo "smoke: no screenshot of vistrel in $locale"; status=1
  fi
done

[ $status = 0 ] && echo "smoke: all windows drawn" || echo "smoke: FAILED"
exit $status
