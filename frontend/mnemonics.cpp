// Lookups in the mnemonic table.
#include "mnemonics.h"

namespace {

#define TARNEL_MNEMONIC_ROW(text, code, operands, opcode) {text, code, operands, opcode},
const Mnemonic kMnemonics[] = {TARNEL_MNEMONICS(TARNEL_MNEMONIC_ROW)};
#undef TARNEL_MNEMONIC_ROW

}  // namespace

int lookupMnemonic(const std::string& text) {
  for (const Mnemonic& mnemonic : kMnemonics) {
    if (text == mnemonic.text) return mnemonic.code;
  }
  return -1;
}

const Mnemonic* mnemonicByCode(int code) {
  for (const Mnemonic& mnemonic : kMnemonics) {
    if (mnemonic.code == code) return &mnemonic;
  }
  return nullptr;
}
