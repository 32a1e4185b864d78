# Files of 256 MiB or more are refused before anything else: one line, exit
# status 1, nothing written or run. A sparse file costs no disk space.
. "$(dirname "$0")/lib.sh"
truncate -s 2G big.tarnel && truncate -s 2G big.kiv || exit 77

for program in tarnel tarnel_perl; do
  output=$(./$program big.tarnel)
  check "$program status" 1 $?
  check "$program output" "file big.tarnel too large (256 MiB or more) .. " "$output"
done
output=$(./kivinterp big.kiv)
check "kivinterp status" 1 $?
check "kivinterp output" "big.kiv file too large (256 MiB or more).. " "$output"
check_absent debug.html big.pl

finish
