# Every input file is opened once and read once, so a pipe or a named FIFO
# with a writer gives the program as a regular file does.
. "$(dirname "$0")/lib.sh"
mkfifo source.fifo bytecode.fifo || exit 77

cat count.tarnel | ./tarnel /dev/stdin >tarnel.out
check "tarnel from a pipe" "321assembled with (0) errors" "$(cat tarnel.out)"

cat count.tarnel >source.fifo &
output=$(./tarnel_perl source.fifo)
check "tarnel_perl from a FIFO" 0 $?
check "tarnel_perl from a FIFO" "321" "$output"

cat count.kiv >bytecode.fifo &
output=$(./kivinterp bytecode.fifo)
check "kivinterp from a FIFO" 0 $?
check "kivinterp from a FIFO" "321" "$output"
wait

finish
