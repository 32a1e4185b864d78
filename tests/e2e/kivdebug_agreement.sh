#!/bin/sh
# Runs one end-to-end case on the program it was written for and on
# kivdebug without breakpoints, with the same input, and compares what the
# two write to standard output.
#
#   kivdebug_agreement.sh BIN_DIR CASE_FILE
#
# A .kiv case runs on kivinterp, whose output "kivdebug --run" must match
# byte for byte, the input fed on standard input and again through
# --input. A .tarnel case runs on tarnel: kivdebug writes the same but for
# tarnel's closing count line after a program that ran, and when the front
# end finds errors the two write the same and both exit 1.
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
(cd "$work/debug" && ./kivdebug --input input.txt --run "$name" </dev/null >../input.out 2>&1)
input_status=$?

failed=0
fail() {
  echo "$*"
  failed=1
}

if [ -s "$work/debug.err" ]; then
  fail "kivdebug wrote to standard error:"
  cat "$work/debug.err"
fi
cmp -s "$work/debug.out" "$work/input.out" && [ "$debug_status" = "$input_status" ] ||
  fail "kivdebug --input writes otherwise than kivdebug with standard input"

expected=$work/reference.out
if [ "$reference" = tarnel ] && [ "$debug_status" = 0 ]; then
  # tarnel's count line follows the program's output; kivdebug has none.
  last=$(tail -c 200 "$expected" | tail -n 1)
  case $last in
    "assembled with (0) errors" | " assembled with ("*") error(s) ")
      size=$(wc -c <"$expected")
      head -c $((size - ${#last} - 1)) "$expected" >"$work/expected.out"
      expected=$work/expected.out
      ;;
    *) fail "tarnel wrote no count line at the end" ;;
  esac
fi
if ! cmp -s "$expected" "$work/debug.out"; then
  fail "kivdebug's output differs from $reference's:"
  diff "$expected" "$work/debug.out" | head -20
fi
case $reference:$debug_status in
  kivinterp:0 | tarnel:0) ;;
  tarnel:1) [ "$reference_status" = 1 ] || fail "kivdebug refused the program, tarnel did not" ;;
  *) fail "kivdebug exited with status $debug_status" ;;
esac
exit $failed
