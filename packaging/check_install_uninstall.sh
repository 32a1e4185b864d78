#!/bin/sh
# check_install_uninstall.sh BUILD_DIR
#
# Installs the build with release_install.sh under prefixes that hold files
# of their own, or do not exist yet, and uninstalls it again: every tree
# must then be as it was, byte for byte, and a file the user put into an
# installed folder must stay with its folders.
set -u
build=$(cd "$1" && pwd) || exit 1
script=$(cd "$(dirname "$0")" && pwd)/release_install.sh
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Every path below $1 with its kind and, for a file, its checksum.
snapshot() {
  (cd "$1" && find . -mindepth 1 | LC_ALL=C sort | while IFS= read -r path; do
    if [ -L "$path" ]; then
      echo "link $path"
    elif [ -d "$path" ]; then
      echo "folder $path"
    else
      echo "file $path $(cksum <"$path")"
    fi
  done)
}

run() {
  sh "$script" "$@" >"$work/log" 2>&1 || { cat "$work/log"; fail "release_install.sh $*"; }
}

# A home folder that already holds a program and a manual page of its own.
home=$work/home
mkdir -p "$home/.local/bin" "$home/.local/share/man/man1"
echo 'echo mine' >"$home/.local/bin/mytool"
echo 'page' >"$home/.local/share/man/man1/mytool.1"
before=$(snapshot "$home")
run install "$build" "$home/.local"
[ -x "$home/.local/bin/tarnel" ] || fail "tarnel was not installed"
[ -f "$home/.local/share/tarnel/installed" ] || fail "no record of the install"
run install "$build" "$home/.local"
run uninstall "$home/.local"
after=$(snapshot "$home")
if [ "$after" != "$before" ]; then
  fail "the home folder differs after uninstall:"
  echo "$before" >"$work/before"
  echo "$after" | diff "$work/before" -
fi

# A prefix whose folders the install makes, down from one that exists;
# a file the user adds to an installed folder keeps that folder.
run install "$build" "$work/opt/tarnel"
echo 'echo mine' >"$work/opt/tarnel/bin/mytool"
run uninstall "$work/opt/tarnel"
[ "$(snapshot "$work/opt")" = "$(printf '%s\n' 'folder ./tarnel' 'folder ./tarnel/bin' \
  "file ./tarnel/bin/mytool $(echo 'echo mine' | cksum)")" ] ||
  fail "after uninstall with a file of the user's: $(snapshot "$work/opt")"
rm -rf "$work/opt"
run install "$build" "$work/opt/tarnel"
run uninstall "$work/opt/tarnel"
[ -e "$work/opt" ] && fail "the folders made for a new prefix are left: $(snapshot "$work/opt")"

# Nothing recorded: nothing removed, and a failure that says so.
if sh "$script" uninstall "$home/.local" >"$work/log" 2>&1; then
  fail "uninstall without a record succeeded"
fi
grep -q "nothing to uninstall" "$work/log" || fail "uninstall without a record said: $(cat "$work/log")"

if [ $failures -eq 0 ]; then
  echo "installed and uninstalled without a trace"
  exit 0
fi
exit 1
