#!/bin/sh
# check_instruction_coverage.sh MNEMONICS_HEADER MAN_SOURCE_DIR
#
# Fails unless tarnel(7) describes every mnemonic of the language under
# INSTRUCTIONS and gives its Perl translation, and the opcode table of
# kivinterp(1) pairs every mnemonic with the opcode the assembler writes.
set -u
header=$1
pages=$2
status=0

# "mnemonic opcode" per line, from X("mov", 1, 2, 1) entries.
table=$(sed -n 's/.*X("\([a-z]*\)", *[0-9]*, *[0-9]*, *\([0-9]*\)).*/\1 \2/p' "$header")
[ -n "$table" ] || { echo "no mnemonics found in $header"; exit 1; }

instructions=$(sed -n '/^# INSTRUCTIONS/,/^# /p' "$pages/tarnel.7.scd")
translation=$(sed -n '/^# THE PERL TRANSLATION/,/^# /p' "$pages/tarnel.7.scd")
# The opcode table's cells in order: opcode, mnemonic, opcode, mnemonic...
cells=$(sed -n '/^\[\[ \*opcode\*/,/^$/p' "$pages/kivinterp.1.scd" |
  sed -n 's/^[|:] *\([^ ].*\)$/\1/p' | tr '\n' ' ')

echo "$table" | while read -r mnemonic opcode; do
  if ! echo "$instructions" | grep -q "\*$mnemonic\* _"; then
    echo "tarnel(7) INSTRUCTIONS does not describe $mnemonic"
    exit 1
  fi
  if ! echo "$translation" | grep -q "\(^\|[ *]\)$mnemonic[ *]"; then
    echo "tarnel(7) THE PERL TRANSLATION does not give $mnemonic"
    exit 1
  fi
  if ! echo " $cells" | grep -q " $opcode $mnemonic "; then
    echo "kivinterp(1) does not pair opcode $opcode with $mnemonic"
    exit 1
  fi
done || status=1
[ $status -eq 0 ] && echo "every instruction is covered"
exit $status
