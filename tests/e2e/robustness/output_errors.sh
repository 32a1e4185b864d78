# Output that cannot be written is not lost in silence: at the end the
# program says so on standard error and exits 1. A reader that goes away
# (a broken pipe) ends the program quietly, as usual.
. "$(dirname "$0")/lib.sh"
./tarnel count.tarnel >/dev/null || fail "the first assembly failed"

# tarnel_perl itself prints nothing after a translation (the script's output
# is perl's), so it is given a file that is not there to have a line to say.
for program in tarnel tarnel_perl kivinterp; do
  case $program in
    kivinterp) file=count.kiv ;;
    tarnel) file=count.tarnel ;;
    tarnel_perl) file=missing.tarnel ;;
  esac
  if [ -w /dev/full ]; then
    ./$program $file >/dev/full 2>errors
    check "$program to /dev/full" 1 $?
    check "$program to /dev/full" "$program: write error: No space left on device" \
      "$(grep "^$program:" errors)"
  fi
  ./$program $file >&- 2>errors
  check "$program with standard output closed" 1 $?
  check "$program with standard output closed" "$program: write error: Bad file descriptor" \
    "$(cat errors)"
done

# A program that prints for ever into a reader that stops after a few bytes.
printf 'var{con0&:0}code{top@,12!"many lines\\n":0,15!top:0,stop@,0!0:0}' >forever.kiv
first=$(timeout 60 ./kivinterp forever.kiv 2>errors | head -n 1)
check "kivinterp into a closed pipe" "many lines" "$first"
check "kivinterp into a closed pipe says nothing" "" "$(cat errors)"

finish
