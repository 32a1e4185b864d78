// The assembler's back end: writes the bytecode file beside the assembler
// and runs the interpreter on it.
#pragma once

#include <string>

#include "platform.h"
#include "program_tables.h"

// Writes text to path exactly, creating or truncating the file; false when
// the file cannot be created or written whole.
bool writeTextFile(const std::string& path, const std::string& text);

// Writes programDirectory + objectName + ".kiv" from tables and starts
// programDirectory + "kivinterp" (a bare name found through PATH when the
// directory is empty) with that path as its one argument, waiting for it.
// A file that cannot be written is reported as "cannot write PATH" and
// nothing is started; a program that cannot be started as "cannot start
// PROGRAM: REASON". The interpreter's own exit status is not looked at.
void emitBytecode(const std::string& programDirectory, const std::string& objectName,
                  const ProgramTables& tables, ProgramStarter& starter);
