#!/bin/bash
# check_bash_completion.sh COMPLETION_FILE
#
# Loads the completion file into bash and completes command lines of each
# console program in a folder of sample files, comparing the candidates.
set -u
source "$1" || exit 1
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir lessons
touch first.tarnel second.tarnel run.kiv notes.txt 'my prog.tarnel' lessons/loop.tarnel

failures=0
# expect 'CANDIDATES' WORD...: completing the last WORD of the command line
# gives exactly the candidates (sorted, a comma between them).
expect() {
  local wanted=$1
  shift
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  local function
  function=$(complete -p "$1" 2>/dev/null | sed -n 's/.*-F \([^ ]*\) .*/\1/p')
  if [ -z "$function" ]; then
    echo "FAIL: no completion for $1"
    failures=$((failures + 1))
    return
  fi
  "$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd,)
  if [ "$got" != "$wanted" ]; then
    echo "FAIL: $* -> [$got], wanted [$wanted]"
    failures=$((failures + 1))
  fi
}

sources='first.tarnel,lessons,my prog.tarnel,second.tarnel'
for program in tarnel tarnel_perl; do
  expect "$sources" $program ''
  expect 'first.tarnel' $program f
  expect '--help,--version' $program -
  expect '--version' $program --v
  expect '' $program first.tarnel ''
done
expect 'lessons,run.kiv' kivinterp ''
expect 'lessons/loop.tarnel' tarnel lessons/
expect '' kivinterp lessons/
expect "$sources" tarnel_check ''
expect "$sources" tarnel_check first.tarnel ''
expect '--help,--version' tarnel_check -
expect '' tarnel_check first.tarnel -
expect "first.tarnel,lessons,my prog.tarnel,run.kiv,second.tarnel" kivdebug ''
expect '--help,--input,--max-steps,--run,--trace,--version' kivdebug --
expect '--input,--max-steps,--run,--trace' kivdebug --run --
expect "first.tarnel,lessons,my prog.tarnel,notes.txt,run.kiv,second.tarnel" kivdebug --input ''
expect 'notes.txt' kivdebug --input n
expect 'notes.txt' kivdebug --input = n
expect '' kivdebug --max-steps ''
expect 'run.kiv' kivdebug --trace r

if [ $failures -eq 0 ]; then
  echo "every completion as expected"
  exit 0
fi
exit 1
