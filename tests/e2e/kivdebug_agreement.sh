#!/bin/sh
# Runs one end-to-end case on the program it was written for and on
# kivdebug without breakpoints, with the same input, and compares what the
# two write.
#
#   kivdebug_agreement.sh BIN_DIR CASE_FILE
#
# A .kiv case runs on kivinterp, whose output "kivdebug --run" must match
# byte for byte on standard output, the input fed on standard input and
# again through --input. A .tarnel case runs on tarnel, which writes its
# error lines, the program's output and its closing count line on standard
# output; kivdebug writes the same error lines (without the carriage return
# a line end can leave in them) on standard error, the program's output on
# standard output, and no count line after a program that ran. Both exit
# with the same status. Besides those lines kivdebug's standard error may
# hold only its note that the input ended.
set -u
bin=$1
case=$2
stem=${case%.*}
name=$(basename "$case")
input=/dev/null
[ -f "$stem.in" ] && input=$stem.in

work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
for dir in reference debug; do
  mkdir "$work/$dir"
  cp "$case" "$work/$dir/$name"
  for program in kivinterp tarnel kivdebug; do ln -s "$bin/$program" "$work/$dir/$program"; done
done

case $name in
  *.kiv) reference=kivinterp ;;
  *) reference=tarnel ;;
esac
(cd "$work/reference" && "./$reference" "$name" <"$input" >../reference.out 2>/dev/null)
reference_status=$?
(cd "$work/debug" && ./kivdebug --run "$name" <"$input" >../debug.out 2>../debug.err)
debug_status=$?
cp "$input" "$work/debug/input.txt"
(cd "$work/debug" && ./kivdebug --input input.txt --run "$name" </dev/null >../input.out 2>../input.err)
input_status=$?

failed=0
fail() {
  echo "$*"
  failed=1
}

grep -v -e '^error(' -e '^ assembled with (' -e '^input ended at ' "$work/debug.err" >"$work/other.err"
if [ -s "$work/other.err" ]; then
  fail "kivdebug wrote other lines to standard error:"
  cat "$work/other.err"
fi
cmp -s "$work/debug.out" "$work/input.out" && cmp -s "$work/debug.err" "$work/input.err" &&
  [ "$debug_status" = "$input_status" ] ||
  fail "kivdebug --input writes otherwise than kivdebug with standard input"

expected=$work/reference.out
got=$work/debug.out
if [ "$reference" = tarnel ]; then
  # tarnel's error lines without their carriage returns, then the program's
  # output; its count line follows a program that ran, where kivdebug has
  # none.
  sed '/^error(/s/\r//g' "$work/reference.out" >"$work/expected.out"
  expected=$work/expected.out
  if ! tail -n 1 "$work/debug.err" | grep -q '^ assembled with ('; then
    last=$(tail -c 200 "$expected" | tail -n 1)
    case $last in
      "assembled with (0) errors" | " assembled with ("*") error(s) ")
        size=$(wc -c <"$expected")
        head -c $((size - ${#last} - 1)) "$expected" >"$work/cut.out"
        expected=$work/cut.out
        ;;
      *) fail "tarnel wrote no count line at the end" ;;
    esac
  fi
  grep -v '^input ended at ' "$work/debug.err" >"$work/got.out"
  cat "$work/debug.out" >>"$work/got.out"
  got=$work/got.out
fi
if ! cmp -s "$expected" "$got"; then
  fail "kivdebug's output differs from $reference's:"
  diff "$expected" "$got" | head -20
fi
case $reference in
  kivinterp) [ "$debug_status" = 0 ] || fail "kivdebug exited with status $debug_status" ;;
  tarnel)
    [ "$debug_status" = "$reference_status" ] ||
      fail "kivdebug exited with status $debug_status, tarnel with $reference_status"
    ;;
esac
exit $failed
