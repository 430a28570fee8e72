#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# As root it installs what is missing; otherwise it prints the apt-get line.
set -euo pipefail

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei locales clang clang-tidy dpkg-dev file)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  if [ "$(id -u)" = 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "setup: missing packages. Run as root:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
  fi
fi

# The Chinese interface follows the system locale; make sure both locales
# the tests and the smoke run use exist.
if [ "$(id -u)" = 0 ] && command -v locale-gen >/dev/null; then
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$' || ! locale -a 2>/dev/null | grep -qi '^en_US.utf8$'; then
    sed -i -e 's/^# *\(en_US.UTF-8 UTF-8\)/\1/' -e 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' >> /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
fi
