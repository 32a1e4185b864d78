// The assembler's back end: writes the bytecode file beside the assembler
// and runs the interpreter on it.
#pragma once

#include <string>

#include "platform.h"
#include "program_tables.h"

// Writes programDirectory + objectName + ".kiv" from tables and starts
// programDirectory + "kivinterp" (a bare name found through PATH when the
// directory is empty) with that path as its one argument, waiting for it.
// A file that cannot be written is reported as "cannot write PATH" and
// nothing is started; a program that cannot be started as "cannot start
// PROGRAM: REASON". The file is written whole or not at all: an earlier
// file of that name stays as it was when the new one cannot be completed.
// True when the interpreter ran and ended with status 0.
bool emitBytecode(const std::string& programDirectory, const std::string& objectName,
                  const ProgramTables& tables, ProgramStarter& starter);
