#!/usr/bin/env bash
# Installs the Debian packages a task needs:
#   bash scripts/setup.sh run   building and running the program (the default)
#   bash scripts/setup.sh test  that, plus the tests, the sanitizer and tidy
#                               runs, the real-window check and the package check
#   bash scripts/setup.sh windows  the cross-build of clsertyx for Windows and Wine
# As root it installs what is missing; otherwise it prints the apt-get line.
set -euo pipefail
task=${1:-run}

RUN_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev fonts-wqy-microhei)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang clang-tidy
  xvfb xauth x11-utils xdotool imagemagick locales dpkg-dev file
  debootstrap lintian bash-completion)

# The Windows build of clsertyx and its Wine run (scripts/windows.sh).
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64 xvfb xauth xdotool imagemagick)

case $task in
  run) PACKAGES=("${RUN_PACKAGES[@]}") ;;
  test) PACKAGES=("${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  windows) PACKAGES=("${WINDOWS_PACKAGES[@]}") ;;
  *) echo "usage: $0 [run|test|windows]"; exit 2 ;;
esac

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
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}"
    exit 1
  fi
fi

# The tests and the real-window check run in both interface languages, which
# follow the locale: make sure both locales exist.
if [ "$task" = test ] && [ "$(id -u)" = 0 ] && command -v locale-gen >/dev/null; then
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$' || ! locale -a 2>/dev/null | grep -qi '^en_US.utf8$'; then
    sed -i -e 's/^# *\(en_US.UTF-8 UTF-8\)/\1/' -e 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' >> /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
fi
