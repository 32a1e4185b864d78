// The opcode numbers of the bytecode, in one list: the name used in the
// engine's enum, the number, and what the record does.
//
// frontend/mnemonics.h holds the parallel table from mnemonic text to these
// numbers, which the assembler writes; keep the two in step.
#pragma once

#define KIV_OPCODES(X)                                              \
  X(Label, -1) /* label record: passed over, marks a jump target */ \
  X(Halt, 0)   /* ends the run */                                   \
  X(Mov, 1)    /* destination = source text, unchanged */           \
  X(Inc, 2)    /* destination = integer value + 1 */                \
  X(Dec, 3)    /* destination = integer value - 1 */                \
  X(Add, 4)    /* destination += source */                          \
  X(Sub, 5)    /* destination -= source */                          \
  X(Mul, 6)    /* destination *= source */                          \
  X(Div, 7)    /* destination /= source; 0 divisor gives 1 */       \
  X(And, 8)    /* destination &= source, integer text */            \
  X(Or, 9)     /* destination |= source, integer text */            \
  X(Xor, 10)   /* destination ^= source, integer text */            \
  X(Not, 11)   /* destination = 1 when its value is 0, else 0 */    \
  X(Print, 12) /* writes the source with escapes expanded */        \
  X(Input, 13) /* destination = next word of standard input */      \
  X(Cmp, 14)   /* sets the six flags from variable and source */    \
  X(Jmp, 15)   /* jumps always */                                   \
  X(Jne, 16)   /* jumps when notEqual */                            \
  X(Je, 17)    /* jumps when equal */                               \
  X(Jge, 18)   /* jumps when greaterOrEqual */                      \
  X(Jg, 19)    /* jumps when greater */                             \
  X(Jl, 20)    /* jumps when less */                                \
  X(Jle, 21)   /* jumps when lessOrEqual */                         \
  X(Push, 22)  /* pushes the source text */                         \
  X(Pop, 23)   /* destination = popped text */

enum class Opcode : int {
#define KIV_OPCODE_ENUM(name, number) name = number,
  KIV_OPCODES(KIV_OPCODE_ENUM)
#undef KIV_OPCODE_ENUM
};

constexpr int kFirstJumpOpcode = 15;
constexpr int kLastJumpOpcode = 21;

constexpr bool isJumpOpcode(int opcode) {
  return opcode >= kFirstJumpOpcode && opcode <= kLastJumpOpcode;
}
