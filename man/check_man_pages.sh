#!/bin/sh
# check_man_pages.sh PAGE...
#
# Fails unless every roff page shows through man without a warning and
# lexgrog finds its NAME line, naming the page itself ("PAGE - ...").
# Exits 77 (skipped) when man or lexgrog is missing.
set -u
for tool in man lexgrog; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is missing: skipped"; exit 77; }
done
status=0
for page in "$@"; do
  name=$(basename "$page")
  name=${name%.*}
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$page: man warns:"
    echo "$warnings"
    status=1
  fi
  whatis=$(lexgrog "$page" 2>&1)
  case $whatis in
    "$page: \"$name - "*) ;;
    *)
      echo "$page: lexgrog reads no proper NAME line: $whatis"
      status=1
      ;;
  esac
done
[ $status -eq 0 ] && echo "$# pages show cleanly"
exit $status
