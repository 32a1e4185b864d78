# A file that never ends is read only up to the size limit, so the programs
# end within seconds with the "too large" line instead of growing memory
# without end.
. "$(dirname "$0")/lib.sh"
[ -r /dev/zero ] || exit 77

for program in tarnel tarnel_perl; do
  output=$(timeout 60 ./$program /dev/zero)
  check "$program status" 1 $?
  check "$program output" "file /dev/zero too large (256 MiB or more) .. " "$output"
done
output=$(timeout 60 ./kivinterp /dev/zero)
check "kivinterp status" 1 $?
check "kivinterp output" "/dev/zero file too large (256 MiB or more).. " "$output"
check_absent debug.html

finish
