#!/usr/bin/env bash
# The packages as a Debian user gets them. Builds the .deb files from the
# default build, runs lintian on them (no error, no warning without an
# override that says why), then installs them with apt into a minimal
# Debian 12 root made by debootstrap, so apt resolves every dependency from
# Debian's mirror and nothing of the build machine helps. There it runs the
# window self-check (vistrel-selfcheck, copied in beside the installed
# program, which it is not part of) under xvfb-run in English and Chinese
# (every label must have its glyphs), starts the installed vistrel and closes
# its window from outside, checks that a library registered on the system's
# library path wins over the simulator, removes the packages and checks
# nothing is left.
#
# The debootstrap root (a tarball, before any of our packages) and apt's
# downloads are kept in $BUILD/debian-root, so a rerun skips the download.
# Needs root (chroot, mounts) and network access to the Debian mirror.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build/default}
MIRROR=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
SUITE=bookworm
CACHE=$BUILD/debian-root
start=$SECONDS
elapsed() { echo "$((SECONDS - start)) s"; }

if [ "$(id -u)" != 0 ]; then
  echo "package: the install check needs root (debootstrap, chroot)"; exit 1
fi
for tool in cpack lintian debootstrap dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "package: $tool is missing (scripts/setup.sh test)"; exit 1; }
done

echo "== package: build the packages"
# The packages install under /usr (libraries in the multiarch folder); a
# build folder configured before that default was set is brought in line.
cmake -S . -B "$BUILD" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$BUILD" --target vistrel tyxcamera tyxapi32 tyxapi64 clsertyx package_documents \
  maker_tyxcamera maker_tyxapi32 vistrel-selfcheck -j "${JOBS:-2}" >/dev/null
rm -rf "$BUILD/packages"
(cd "$BUILD" && cpack -G DEB > packages.log 2>&1) || { cat "$BUILD/packages.log"; exit 1; }
mapfile -t debs < <(ls "$BUILD"/packages/*.deb)
mapfile -t ddebs < <(ls "$BUILD"/packages/*.ddeb 2>/dev/null || true)
((${#debs[@]} == 4)) || { echo "package: expected 4 packages, got ${#debs[@]}"; exit 1; }
printf '%-44s %10s %14s\n' package "file KiB" "installed KiB"
for d in "${debs[@]}" "${ddebs[@]}"; do
  printf '%-44s %10s %14s\n' "$(basename "$d")" "$(($(stat -c %s "$d") / 1024))" \
    "$(dpkg-deb -f "$d" Installed-Size)"
done
# Stripped: no installed ELF file keeps its debug sections.
for d in "${debs[@]}"; do
  tree=$(mktemp -d); dpkg-deb -x "$d" "$tree"
  while IFS= read -r f; do
    if [[ "$(file -b "$f")" == ELF*"not stripped"* ]]; then echo "package: $f is not stripped"; exit 1; fi
  done < <(find "$tree" -type f)
  rm -rf "$tree"
done
echo "package: all binaries stripped"
# The library's layout: versioned SONAME in the multiarch folder with the
# name Camera Link loaders look for; header and unversioned link only in the
# development package; ldconfig by trigger, not by maintainer scripts.
lib_deb=$BUILD/packages/libclsertyx1_*.deb
dev_deb=$BUILD/packages/libclsertyx-dev_*.deb
lib_files=$(dpkg-deb -c $lib_deb | awk '{print $6}')
dev_files=$(dpkg-deb -c $dev_deb | awk '{print $6}')
control=$(dpkg-deb -I $lib_deb)
tree=$(mktemp -d); dpkg-deb -x $lib_deb "$tree"
soname=$(readelf -d "$tree"/usr/lib/x86_64-linux-gnu/libclsertyx.so.1 | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')
rm -rf "$tree"
problems=()
[ "$soname" = libclsertyx.so.1 ] || problems+=("SONAME is '$soname'")
[[ "$lib_files" == *"./usr/lib/x86_64-linux-gnu/clsertyx.so"* ]] || problems+=("no clsertyx.so in libclsertyx1")
if grep -qE '\.h$|/libclsertyx\.so$' <<< "$lib_files"; then problems+=("development files in libclsertyx1"); fi
[[ "$dev_files" == *"./usr/include/clser/clsertyx.h"* && "$dev_files" == *"./usr/lib/x86_64-linux-gnu/libclsertyx.so"* ]] ||
  problems+=("header or link missing from libclsertyx-dev")
[[ "$control" == *" triggers "* && "$control" != *postinst* && "$control" != *postrm* ]] ||
  problems+=("libclsertyx1 does not run ldconfig by trigger alone")
if ((${#problems[@]})); then printf 'package: %s\n' "${problems[@]}"; exit 1; fi
echo "package: libclsertyx.so.1 in the multiarch folder, development files apart, ldconfig by trigger"

echo "== package: lintian"
lintian_out=$(lintian --display-info --pedantic "${debs[@]}" "${ddebs[@]}" 2>&1 | grep -v '^running with root privileges' || true)
[ -n "$lintian_out" ] && echo "$lintian_out"
if grep -q '^[EW]: ' <<< "$lintian_out"; then
  echo "package: lintian reports errors or warnings"; exit 1
fi
echo "package: lintian: no errors, no warnings ($(grep -c '^[IP]: ' <<< "$lintian_out" || true) informational notes above)"

echo "== package: Debian 12 root"
mkdir -p "$CACHE/archives/partial"
if [ ! -s "$CACHE/$SUITE-minbase.tar" ]; then
  fresh=$(mktemp -d "$BUILD/debootstrap.XXXXXX")
  debootstrap --variant=minbase "$SUITE" "$fresh/root" "$MIRROR" > "$CACHE/debootstrap.log" 2>&1 ||
    { tail -20 "$CACHE/debootstrap.log"; rm -rf "$fresh"; exit 1; }
  echo "deb $MIRROR $SUITE main" > "$fresh/root/etc/apt/sources.list"
  # Keep the downloads apt makes here for the next run's cache.
  rm -f "$fresh/root/var/cache/apt/archives/"*.deb
  tar -C "$fresh/root" -cf "$CACHE/$SUITE-minbase.tar.part" .
  mv "$CACHE/$SUITE-minbase.tar.part" "$CACHE/$SUITE-minbase.tar"
  rm -rf "$fresh"
  echo "package: made the root with debootstrap after $(elapsed)"
fi
work=$(mktemp -d "$BUILD/package-check.XXXXXX")
root=$work/root
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$root"
tar -C "$root" -xf "$CACHE/$SUITE-minbase.tar"
mount -t proc proc "$root/proc"; mounted+=("$root/proc")
mount -t tmpfs tmpfs "$root/dev/shm"; mounted+=("$root/dev/shm")
mount --bind "$CACHE/archives" "$root/var/cache/apt/archives"; mounted+=("$root/var/cache/apt/archives")
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Services must not start inside the root.
printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d"; chmod +x "$root/usr/sbin/policy-rc.d"
mkdir -p "$root/tmp/debs"
cp "${debs[@]}" "$root/tmp/debs/"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

echo "== package: install with apt"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "${debs[@]/#*\//\/tmp\/debs\/}" xvfb xauth xdotool > "$work/install.log" 2>&1 || { tail -30 "$work/install.log"; exit 1; }
echo "package: installed with $(grep -c '^Unpacking ' "$work/install.log") packages from the mirror and ours after $(elapsed)"
for p in vistrel vistrel-simulators libclsertyx1 libclsertyx-dev; do in_root dpkg -L "$p"; done |
  sort -u > "$work/files"
# (Outputs are taken whole before grep: grep -q leaving early would fail a
# pipeline under pipefail.)
depends=$(in_root dpkg-query -W -f='${Depends}' vistrel)
[[ "$depends" == *"fonts-wqy-microhei | fonts-noto-cjk"* ]] || { echo "package: vistrel does not depend on a CJK font"; exit 1; }
# The library package's trigger has run ldconfig.
cache=$(in_root ldconfig -p)
[[ "$cache" == *"libclsertyx.so.1 "* ]] || { echo "package: ldconfig does not know libclsertyx.so.1"; exit 1; }
for f in /usr/share/man/man1/vistrel.1.gz /usr/share/man/man7/vistrel-simulators.7.gz \
         /usr/bin/tyxctl /usr/share/man/man1/tyxctl.1.gz /usr/share/bash-completion/completions/tyxctl \
         /usr/share/metainfo/io.github.vistrel.vistrel.metainfo.xml /usr/share/icons/hicolor/scalable/apps/vistrel.svg \
         /usr/share/doc/vistrel/copyright /usr/lib/x86_64-linux-gnu/clsertyx.so /usr/include/clser/clsertyx.h; do
  [ -e "$root$f" ] || { echo "package: $f is not installed"; exit 1; }
done

echo "== package: tyxctl in the root"
# The tool finds the installed simulator as the program does, with no display.
probe=$(in_root env LANG=C.UTF-8 TYXCAM_SIM="clear;camera COM1=219290" tyxctl ports 2>&1) ||
  { echo "package: tyxctl ports failed: $probe"; exit 1; }
[[ "$probe" == "COM1: type 219290,"* ]] || { echo "package: tyxctl ports printed: $probe"; exit 1; }

echo "== package: self-check in the root"
sims=/usr/lib/x86_64-linux-gnu/vistrel
# Beside the installed program, so it finds the simulators as vistrel does;
# everything it links must have come with vistrel's dependencies.
cp "$BUILD/bin/vistrel-selfcheck" "$root/usr/bin/vistrel-selfcheck"
missing=$(in_root ldd /usr/bin/vistrel-selfcheck | grep 'not found' || true)
[ -z "$missing" ] || { echo "package: the self-check lacks libraries: $missing"; exit 1; }
status=0
for run in en_US.UTF-8:219290 en_US.UTF-8:120770 zh_CN.UTF-8:219290; do
  locale=${run%%:*}; camera=${run##*:}
  log=$work/smoke-${locale%%.*}-$camera.log
  if ! in_root env LC_ALL="$locale" TYXCAM_SIM="clear;camera COM1=$camera;camera COM4=219290;camera USB1=219660" timeout 120 \
      xvfb-run -a -s '-screen 0 1280x1024x24' vistrel-selfcheck "/tmp/shots-${locale%%.*}-$camera" > "$log" 2>&1; then
    status=1
  fi
  grep -q "camera library $sims/libtyxcamera.so (simulated); board library $sims/libtyxapi32.so (simulated)" "$log" ||
    { echo "package: the start line does not name the simulators"; status=1; }
  grep -q '^selfcheck: every text has its glyphs' "$log" || status=1
  grep -q '^selfcheck: passed' "$log" || status=1
  # The interface must really be in the language asked for: the pictures
  # are named after it.
  shots=$(ls "$root/tmp/shots-${locale%%.*}-$camera")
  [[ "$shots" == *"${locale%%_*}_"*"_tab0.png"* ]] || { echo "package: no ${locale%%_*} pictures"; status=1; }
  echo "package: $locale camera $camera: $(grep -E '^selfcheck: (passed|FAILED)' "$log" || echo 'no result')"
  [ $status = 0 ] || { cat "$log"; exit 1; }
done
# The glyph check must be able to fail here: with only the Latin font that
# fontconfig brings visible, the English mode page's Chinese labels are boxes.
cat > "$root/tmp/latin-only.conf" <<'EOF'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>/tmp/latin-only-cache</cachedir></fontconfig>
EOF
if in_root env LC_ALL=en_US.UTF-8 TYXCAM_SIM="clear;camera COM1=219290;camera COM4=219290;camera USB1=219660" FONTCONFIG_FILE=/tmp/latin-only.conf \
    timeout 120 xvfb-run -a -s '-screen 0 1280x1024x24' vistrel-selfcheck /tmp/shots-latin > "$work/latin.log" 2>&1 ||
   ! grep -q 'characters drawn as boxes' "$work/latin.log"; then
  cat "$work/latin.log"; echo "package: the glyph check does not notice a missing CJK font"; exit 1
fi
echo "package: without a CJK font the self-check fails: $(grep 'drawn as boxes' "$work/latin.log")"
rm "$root/usr/bin/vistrel-selfcheck"

echo "== package: the installed program, from outside"
cp scripts/outside_check.sh "$root/tmp/outside_check.sh"
# The Close button's centre in the English main window (see scripts/smoke.sh).
in_root env LC_ALL=en_US.UTF-8 TYXCAM_SIM="clear;camera COM1=219290" timeout 120 \
  xvfb-run -a -s '-screen 0 1280x1024x24' bash /tmp/outside_check.sh vistrel - 483,440 > "$work/outside.log" 2>&1 ||
  { cat "$work/outside.log"; echo "package: the installed vistrel does not show its window or close"; exit 1; }
grep '^outside: ' "$work/outside.log"

echo "== package: a library on the system path wins"
in_root vistrel --version > "$work/version-sim" 2>&1
grep -qx "camera library $sims/libtyxcamera.so (simulated)" "$work/version-sim" ||
  { cat "$work/version-sim"; echo "package: without a maker's library the simulator is not named"; exit 1; }
mkdir -p "$root/usr/local/lib"
cp "$BUILD/bin/maker/libtyxcamera.so" "$BUILD/bin/maker/libtyxapi32.so" "$root/usr/local/lib/"
in_root ldconfig
in_root vistrel --version > "$work/version-maker" 2>&1
if ! grep -qx "camera library /usr/local/lib/libtyxcamera.so" "$work/version-maker" ||
   ! grep -qx "board library /usr/local/lib/libtyxapi32.so" "$work/version-maker"; then
  cat "$work/version-maker"; echo "package: the library on the system path does not win"; exit 1
fi
cat "$work/version-maker"
rm "$root/usr/local/lib/libtyxcamera.so" "$root/usr/local/lib/libtyxapi32.so"
in_root ldconfig

echo "== package: remove"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vistrel vistrel-simulators libclsertyx1 libclsertyx-dev \
  > "$work/purge.log" 2>&1 || { cat "$work/purge.log"; exit 1; }
left=0
while IFS= read -r f; do
  # Folders the system shares (/usr, /usr/share/man, ...) stay, as they should.
  if [ -e "$root$f" ] && [ ! -d "$root$f" ]; then echo "package: left behind: $f"; left=1; fi
  if [ -d "$root$f" ] && [[ "$f" == */vistrel* || "$f" == */clsertyx* || "$f" == */clser ]]; then
    echo "package: left behind: $f/"; left=1
  fi
done < "$work/files"
cache=$(in_root ldconfig -p)
if [[ "$cache" == *clsertyx* ]]; then echo "package: ldconfig still lists clsertyx"; left=1; fi
[ $left = 0 ] || exit 1
echo "package: removed without a trace ($(wc -l < "$work/files") paths checked)"
echo "package: all checks passed in $(elapsed)"
