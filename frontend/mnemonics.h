// The 23 mnemonics of the source language, in one table that the front end,
// both back ends and the tests share.
//
// Each row: the mnemonic text, its MnemonicCode (what lookupMnemonic gives
// and both back ends switch on), the number of operands the back ends use,
// and the bytecode opcode the assembler writes for it. The opcode numbers
// are those the interpreter executes (interp/opcodes.h lists them in opcode
// order; keep the two in step). The checker's table of first-operand roles
// (checker/statement_checks.cpp) runs parallel to this one as well.
#pragma once

#include <string>

#define TARNEL_MNEMONICS(X) \
  X("mov", 1, 2, 1)         \
  X("print", 2, 1, 12)      \
  X("input", 3, 1, 13)      \
  X("push", 4, 1, 22)       \
  X("pop", 5, 1, 23)        \
  X("inc", 6, 1, 2)         \
  X("dec", 7, 1, 3)         \
  X("add", 8, 2, 4)         \
  X("sub", 9, 2, 5)         \
  X("mul", 10, 2, 6)        \
  X("div", 11, 2, 7)        \
  X("and", 12, 2, 8)        \
  X("or", 13, 2, 9)         \
  X("xor", 14, 2, 10)       \
  X("not", 15, 1, 11)       \
  X("cmp", 16, 2, 14)       \
  X("jmp", 17, 1, 15)       \
  X("jne", 18, 1, 16)       \
  X("je", 19, 1, 17)        \
  X("jge", 20, 1, 18)       \
  X("jg", 21, 1, 19)        \
  X("jl", 22, 1, 20)        \
  X("jle", 23, 1, 21)

struct Mnemonic {
  const char* text;
  int code;
  int operandCount;
  int opcode;
};

// The MnemonicCode of text by exact, case-sensitive comparison; -1 for any
// other text (a trailing blank or CR matches nothing).
int lookupMnemonic(const std::string& text);

// The table row of a MnemonicCode, or nullptr for a code outside 1 to 23.
const Mnemonic* mnemonicByCode(int code);
