// The text of the Perl script that tarnel_perl writes for one program: a
// fixed prologue, one scalar per declared variable, then one fixed fragment
// per label and statement, line by line. Every line ends in CR LF, written
// as it stands; the caller writes the text to the file byte for byte.
#pragma once

#include <functional>
#include <string>

#include "program_tables.h"

// Receives one error message found while writing, already filled in, such
// as "invalid instruction [ret\r]". Writing goes on after each one.
using ScriptErrorSink = std::function<void(const std::string& message)>;

// The whole script for tables. Statements that cannot be written (an
// unknown mnemonic, a print or an arithmetic statement whose operand names
// no variable) go to reportTo and leave no text behind.
std::string perlScriptText(const ProgramTables& tables, const ScriptErrorSink& reportTo);
