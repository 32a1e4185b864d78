# When the program a translator starts fails (perl on a script it cannot
# run, or kivinterp), the translator exits 1 after its usual closing lines.
. "$(dirname "$0")/lib.sh"
long=$(awk 'BEGIN { for (i = 0; i < 300; i++) printf "v" }')
printf 'kiv long {\nvar {\nvar& %s\n}\nbegin {\ninc %s\n}\n}\n' "$long" "$long" >long.tarnel

output=$(./tarnel_perl long.tarnel 2>errors)
check "tarnel_perl when perl fails" 1 $?
check "tarnel_perl when perl fails" "" "$output"
grep -q "Identifier too long" errors || fail "perl did not say why: $(cat errors)"

# kivinterp fails when it cannot write its report, here because a folder
# stands in its place.
mkdir debug.html
output=$(./tarnel count.tarnel 2>errors)
check "tarnel when kivinterp fails" 1 $?
check "tarnel when kivinterp fails" "321assembled with (0) errors" "$output"
check "kivinterp says why" "kivinterp: cannot write debug.html: Is a directory" "$(cat errors)"

finish
