// The text of a bytecode file, built from the front end's tables.
//
// The whole file is one line with no line break:
//   "var{" (name marker ":" value ",")... "con0&:0}"
//   "code{" (label "@" | opcode "!" operand1 ":" operand2 ",")... "stop@,0!0:0}"
// Every entry is followed by a comma and each section ends with a fixed
// closing entry, so neither section is ever a list without a comma.
#pragma once

#include <string>

#include "program_tables.h"

// The bytecode entry of one instruction slot, without its comma; reports
// "invalid instruction [mnemonic]" and gives the empty text for a mnemonic
// that the table does not know. A one-operand instruction carries ":0"
// whatever the line gave as its second operand.
std::string instructionEntry(const StatementSlot& slot);

// The label entry of a label slot: its line with the first colon made "@";
// everything else, a leading blank or text after the colon, stays.
std::string labelEntry(const StatementSlot& slot);

// The whole file text. Unknown mnemonics are reported and left out, comma
// and all; slots not in use write nothing.
std::string bytecodeText(const ProgramTables& tables);
