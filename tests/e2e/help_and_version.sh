#!/bin/sh
# help_and_version.sh BIN_DIR VERSION
#
# Every program of BIN_DIR answers a lone --help or --version on standard
# output with exit status 0, before anything else: no file is written, no
# key is waited for, and the editor opens no window (it runs here with no
# display at all, where making its window would fail). A text that cannot
# be written gives status 1 and the program's write error.
set -u
bin=$(cd "$1" && pwd) || exit 1
version=$2
run=$(mktemp -d) || exit 1
trap 'rm -rf "$run"' EXIT
cd "$run" || exit 1

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

checked=0
for program in tarnel kivinterp tarnel_perl tarnel_check kivdebug tarnel_ide; do
  [ -x "$bin/$program" ] || continue
  checked=$((checked + 1))
  for question in --help --version; do
    what="$program $question"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
      "$bin/$program" $question </dev/null >out 2>err
    status=$?
    [ $status -eq 0 ] || fail "$what: exit status $status"
    [ -s err ] && fail "$what: wrote on standard error: $(cat err)"
    first=$(head -n 1 out)
    case $question in
      --help)
        case $first in
          "usage: $program "*) ;;
          *) fail "$what: first line [$first]" ;;
        esac
        grep -q -- '--version  *show the version' out || fail "$what: --version is not listed"
        grep -q "man $program; the language: man 7 tarnel" out ||
          fail "$what: the manual pages are not named"
        ;;
      --version)
        [ "$first" = "$program $version" ] || fail "$what: first line [$first]"
        grep -q '^License: MIT' out || fail "$what: no license line"
        ;;
    esac
    left=$(ls -A | grep -v -x -e out -e err)
    [ -z "$left" ] && continue
    fail "$what left files behind: $left"
    rm -rf $left
  done
  if [ -w /dev/full ]; then
    env -u DISPLAY -u WAYLAND_DISPLAY "$bin/$program" --version >/dev/full 2>err </dev/null
    status=$?
    [ $status -eq 1 ] || fail "$program --version to a full device: exit status $status"
    [ "$(cat err)" = "$program: write error: No space left on device" ] ||
      fail "$program --version to a full device: [$(cat err)]"
  fi
done
[ $checked -ge 5 ] || fail "only $checked programs found in $bin"

if [ $failures -eq 0 ]; then
  echo "all $checked programs answer --help and --version"
  exit 0
fi
exit 1
