#!/bin/sh
# check_install_tree.sh CMAKE BUILD_DIR PATH...
#
# Installs the build into an empty folder and fails unless each PATH below
# it exists, programs are executable and manual pages are gzipped.
set -u
cmake=$1
build=$2
shift 2
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
if ! "$cmake" --install "$build" --prefix "$work/usr" >"$work/log" 2>&1; then
  cat "$work/log"
  exit 1
fi
status=0
for path in "$@"; do
  file="$work/usr/$path"
  if [ ! -f "$file" ]; then
    echo "missing: $path"
    status=1
    continue
  fi
  case $path in
    bin/*) [ -x "$file" ] || { echo "not executable: $path"; status=1; } ;;
    */man/man*) gzip -t "$file" 2>/dev/null || { echo "not gzipped: $path"; status=1; } ;;
  esac
done
[ $status -eq 0 ] && echo "all $# files installed"
exit $status
