#!/usr/bin/env bash
# Installs the default build into a scratch prefix and runs the program from
# there, then builds the .deb, lists it and runs the program from the
# unpacked package: both must find the simulated libraries beside themselves.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=build/default
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== install into a prefix"
cmake --install "$BUILD" --prefix "$work/prefix" >/dev/null
for f in bin/vistrel lib/vistrel/libtyxcamera.so lib/vistrel/libtyxapi32.so lib/vistrel/libtyxapi64.so \
         lib/libclsertyx.so lib/clsertyx.so share/applications/vistrel.desktop \
         share/icons/hicolor/64x64/apps/vistrel.png; do
  [ -e "$work/prefix/$f" ] || { echo "package: missing $f"; exit 1; }
done
QT_QPA_PLATFORM=offscreen LC_ALL=en_US.UTF-8 TYXCAM_SIM="clear;camera COM1=219290" \
  "$work/prefix/bin/vistrel" --smoke-shots "$work/shots-prefix" | tail -1

echo "== debian package"
(cd "$BUILD" && cpack -G DEB >/dev/null)
deb=$(ls -t "$BUILD"/vistrel-*.deb | head -1)
dpkg -c "$deb" | awk '{print $6}' | grep -E 'bin/vistrel$|libtyxcamera.so$|clsertyx.so$|vistrel.desktop$'
dpkg-deb -x "$deb" "$work/deb"
QT_QPA_PLATFORM=offscreen LC_ALL=zh_CN.UTF-8 TYXCAM_SIM="clear;camera COM1=120770" \
  "$work/deb/usr/bin/vistrel" --smoke-shots "$work/shots-deb" | tail -1
echo "package: $(basename "$deb") installs and runs"
