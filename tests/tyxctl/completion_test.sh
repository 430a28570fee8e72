#!/usr/bin/env bash
# completion_test.sh - the installed bash completion of tyxctl, run by
# bash-completion itself against the built tool: what a user gets on Tab.
#   completion_test.sh TYXCTL COMPLETION_FILE
set -uo pipefail
tool=$1
completion=$2

# bash-completion expects an interactive-like shell; it only needs its
# functions here.
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion || { echo "bash-completion is not installed"; exit 1; }
# shellcheck disable=SC1090
source "$completion"

# The completion calls the tool by name, as an installed one is found.
bindir=$(mktemp -d)
trap 'rm -rf "$bindir"' EXIT
ln -s "$(readlink -f "$tool")" "$bindir/tyxctl"
PATH="$bindir:$PATH"

failures=0

# complete LINE: the words bash would offer with the cursor at the end of LINE.
complete_line() {
  COMP_LINE=$1
  COMP_POINT=${#COMP_LINE}
  read -r -a COMP_WORDS <<< "$COMP_LINE"
  [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _tyxctl tyxctl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
  printf '%s\n' "${COMPREPLY[@]}" | sort
}

# expect LINE WORD... : every WORD is offered.
expect() {
  local line=$1
  shift
  local offered
  offered=$(complete_line "$line")
  for word in "$@"; do
    if ! grep -qxF -- "$word" <<< "$offered"; then
      echo "FAIL: '$line' does not offer '$word'; offered: $(tr '\n' ' ' <<< "$offered")"
      failures=$((failures + 1))
    fi
  done
}

# expect_only LINE WORD... : exactly these words are offered.
expect_only() {
  local line=$1
  shift
  local offered wanted
  offered=$(complete_line "$line")
  wanted=$(printf '%s\n' "$@" | sort)
  if [[ "$offered" != "$wanted" ]]; then
    echo "FAIL: '$line' offers: $(tr '\n' ' ' <<< "$offered"); wanted: $*"
    failures=$((failures + 1))
  fi
}

expect "tyxctl " ports info get set memorize recall defaults save load net grab help
expect_only "tyxctl me" memorize
expect "tyxctl info -p " COM1 COM4 CamLink1 USB/232-2 USB1 NetPort4
expect_only "tyxctl net set-ip -p " NetPort1 NetPort2 NetPort3 NetPort4
expect_only "tyxctl net " scan set-ip
expect_only "tyxctl --lang " en zh
expect "tyxctl grab --" --count --output --port --json --lang --help
expect_only "tyxctl memorize --" --json --lang --help --port
# The value names come from the tool's own help, whatever the locale.
expect "tyxctl get -p COM1 " gain black run-mode exposure-us time1 image-aspect
expect_only "tyxctl get -p COM1 exposure-u" exposure-us
expect_only "tyxctl set -p COM1 gai" gain= gain-level=
LANG=zh_CN.UTF-8 expect_only "tyxctl set --lang zh -p COM1 begin-l" begin-line=

if ((failures)); then
  echo "completion: $failures failure(s)"
  exit 1
fi
echo "completion: every case offered what it should"
