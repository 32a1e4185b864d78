#!/bin/sh
# check_file_type.sh MIME.xml FILE.desktop
#
# Builds a private MIME database from the file type alone and fails unless
# it maps *.tarnel to the type the desktop entry opens. Exits 77 (skipped)
# when update-mime-database is missing.
set -u
xml=$1
desktop=$2
command -v update-mime-database >/dev/null 2>&1 || {
  echo "update-mime-database is missing: skipped"
  exit 77
}
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
mkdir "$work/packages"
cp "$xml" "$work/packages/"
if ! update-mime-database "$work" >"$work/log" 2>&1; then
  cat "$work/log"
  exit 1
fi
type=$(sed -n 's/^[0-9]*:\([^:]*\):\*\.tarnel$/\1/p' "$work/globs2")
if [ -z "$type" ]; then
  echo "the database holds no type for *.tarnel"
  exit 1
fi
if ! grep -qx "MimeType=.*$type;.*" "$desktop"; then
  echo "$desktop does not open $type"
  exit 1
fi
echo "*.tarnel is $type, which $(basename "$desktop") opens"
