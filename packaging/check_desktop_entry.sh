#!/bin/sh
# check_desktop_entry.sh FILE.desktop
#
# Fails unless desktop-file-validate accepts the entry without an error,
# a warning or a hint. Exits 77 (skipped) when the tool is missing.
set -u
command -v desktop-file-validate >/dev/null 2>&1 || {
  echo "desktop-file-validate is missing: skipped"
  exit 77
}
complaints=$(desktop-file-validate "$1" 2>&1)
status=$?
if [ $status -ne 0 ] || [ -n "$complaints" ]; then
  echo "$complaints"
  exit 1
fi
echo "$1 is valid"
