#!/usr/bin/env bash
# The Windows build of clsertyx, checked under Wine: cross-builds
# clsertyx.dll, the simulated tyxapi64.dll and the Windows C client with
# mingw-w64, checks what the DLLs export (the board operations by ordinal
# only), runs the client headless against a folder holding both DLLs and
# against one holding clsertyx.dll alone, and shows the Win32 "Select a
# serial device" dialog once under Xvfb, answering it and keeping a
# screenshot in artifacts/windows/.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS

bash scripts/setup.sh windows

BUILD=build/windows
OUT=artifacts/windows
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
echo "== windows: cross-build"
cmake -S clser/windows -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/clser/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$BUILD" -j "${JOBS:-2}"

echo "== windows: exports"
OBJDUMP=x86_64-w64-mingw32-objdump
names=$("$OBJDUMP" -p "$BUILD/serial/clsertyx.dll" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^[[:space:]]+\[/ {print $NF}' | sort | tr '\n' ' ')
want="clFlushPort clGetErrorText clGetManufacturerInfo clGetNumBytesAvail clGetNumSerialPorts clGetSerialPortIdentifier clGetSupportedBaudRates clSerialClose clSerialInit clSerialRead clSerialWrite clSetBaudRate clSetParity "
[ "$names" = "$want" ] || { echo "windows: clsertyx.dll exports '$names'"; exit 1; }
board=$("$OBJDUMP" -p "$BUILD/serial/tyxapi64.dll")
for ordinal in 1 3 4 9 66 122 123 124; do
  grep -Eq "\+base\[ *$ordinal\] " <<<"$board" || { echo "windows: tyxapi64.dll lacks ordinal $ordinal"; exit 1; }
done
if sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$board" | grep -c 'tyx64' >/dev/null; then
  echo "windows: tyxapi64.dll exports a board operation by name"; exit 1
fi
echo "windows: clsertyx.dll exports the 13 calls by name; tyxapi64.dll the 8 operations by ordinal only"

export WINEPREFIX="$PWD/$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  TYXAPI64_SIM_IMMEDIATE=1
mkdir -p "$WINEPREFIX"
winpath() { echo "Z:$(cd "$1" && pwd -P)" | tr / '\\'; }

echo "== windows: client under Wine, headless"
t=$SECONDS
env -u DISPLAY -u WAYLAND_DISPLAY timeout 300 "$WINE" "$BUILD/bin/client.exe" "$(winpath "$BUILD/serial")"
rm -rf "$BUILD/alone"; mkdir -p "$BUILD/alone"; cp "$BUILD/serial/clsertyx.dll" "$BUILD/alone/"
env -u DISPLAY -u WAYLAND_DISPLAY timeout 300 "$WINE" "$BUILD/bin/client.exe" "$(winpath "$BUILD/alone")" --no-board \
  2> "$BUILD/alone.err"
grep -q "board library not found" "$BUILD/alone.err" || { cat "$BUILD/alone.err"; exit 1; }
echo "windows: headless client runs took $((SECONDS - t)) s"
# Xvfb has no window manager to draw captions; Wine draws the dialog's own
# caption and frame when it does not leave them to one.
env -u DISPLAY -u WAYLAND_DISPLAY "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
  >/dev/null
# The Wine session of the headless runs has no display; the dialog needs a
# new one that starts on the virtual display.
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w 2>/dev/null || true

echo "== windows: the Win32 dialog under Xvfb"
rm -rf "$OUT"; mkdir -p "$OUT"
t=$SECONDS
timeout 300 xvfb-run -a -s '-screen 0 800x600x24' bash -c '
  "$0" "$1" "$2" --show-dialog > "$3/client.out" 2> "$3/client.err" & pid=$!
  window=$(timeout 120 xdotool search --sync --name "^Select a serial device$" | head -1)
  if [ -n "$window" ]; then
    sleep 1  # let Wine paint the window before it is typed into and shot
    xdotool windowfocus --sync "$window" && xdotool type --delay 50 1 && xdotool key Tab &&
      xdotool type --delay 50 19200 && sleep 1
    import -window root "$3/dialog.png"
    xdotool key Escape
  fi
  wait $pid' "$WINE" "$BUILD/bin/client.exe" "$(winpath "$BUILD/serial")" "$OUT" || {
  echo "windows: the dialog run failed"; cat "$OUT"/client.* || true; exit 1; }
"$WINESERVER" -k 2>/dev/null || true
# The Windows C runtime ends lines with CR LF.
tr -d '\r' < "$OUT/client.out" > "$OUT/client.txt"
cat "$OUT/client.txt"
[ -f "$OUT/dialog.png" ] || { echo "windows: no screenshot of the dialog"; exit 1; }
colours=$(convert "$OUT/dialog.png" -format %k info:)
[ "$colours" -ge 4 ] || { echo "windows: the screenshot is blank"; exit 1; }
grep -q "^ID?=TYXSIM TYX-CL6301 Camera Link CH1$" "$OUT/client.txt" &&
  grep -q "^SER?=19200,8,1,0$" "$OUT/client.txt" ||
  { echo "windows: the texts typed into the dialog did not reach the board"; exit 1; }
echo "windows: dialog shown, answered and applied in $((SECONDS - t)) s; screenshot $OUT/dialog.png"
echo "== windows done in $((SECONDS - start)) s"
