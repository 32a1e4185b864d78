// The statement lines of the code block.
#pragma once

#include <string>

#include "program_tables.h"
#include "source_position.h"

// label       = [blank] name ":" [anything]           (a colon outside quotes)
// instruction = [blanks] mnemonic [" " operand1 ["," operand2]] CR
//
// Fills tables.statements from the block text, one slot per line. Lines of
// three bytes or fewer and lines of blanks only are passed over. Nothing is
// checked here: the back ends judge the mnemonics. The last byte of a line,
// the CR in a CR LF file, is never part of an operand.
//
// collapseSpacing (tarnel only) first shrinks every run of blanks outside
// quotes to one and strips the blanks outside quotes from the operands of
// two-operand lines; without it (tarnel_perl) indentation and the blanks
// beside a comma stay in the texts.
//
// blockStart is the place of the block's first byte in the source; each
// slot records the places of its line's parts there, as written, before
// any blank was collapsed.
void parseStatements(const std::string& block, bool collapseSpacing, ProgramTables& tables,
                     SourcePosition blockStart = {1, 1});
